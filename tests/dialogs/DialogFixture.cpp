#include "DialogFixture.h"

#include "engine/FolderSettings.h"
#include "engine/SettingsFiles.h"

#include <algorithm>

std::string DialogTest::LoadFolder(const std::string& settings, const std::string& name)
{
    folder = dir.MakeDir(name);
    if (!settings.empty()) {
        // Text beyond ASCII is kept in UTF-16, as the program and Windows write it; a file
        // without a byte-order mark is read in the system's legacy code page.
        const bool ascii = std::all_of(settings.begin(), settings.end(), [](char c) { return c >= 0; });
        dir.WriteFile(name + "\\DeskTop.Ini", ascii ? settings : Utf16File(settings));
    }
    TheFolderCtrl->LoadSettings(folder);
    return folder;
}

std::string DialogTest::Setting(const std::string& section, const std::string& key) const
{
    char value[1024] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                             (folder + SettingsFileName).c_str());
    return value;
}

TModalResult RunModal(TForm& form, std::vector<DriverStep> steps)
{
    ModalScript script(form, std::move(steps));
    const TModalResult result = form.ShowModal();
    EXPECT_TRUE(script.Finished());
    return result;
}

DriverStep Click(TForm& form, TControl& control)
{
    return [&form, &control] {
        ClickCentre(form, control);
        return true;
    };
}
