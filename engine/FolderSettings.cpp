#include "engine/FolderSettings.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"

#include <windows.h>
#include <shlobj.h>

namespace {

std::string ReadKey(const std::string& file, const char* section, const char* key, const char* fallback)
{
    char buffer[2048];
    const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer, file.c_str());
    return std::string(buffer, length);
}

void WriteKey(const std::string& file, const char* section, const char* key, const std::string& value)
{
    if (!WritePrivateProfileStringA(section, key, FlattenLineBreaks(value).c_str(), file.c_str()))
        throw EWriteError(FormatText("Unable to write to %s", file));
}

} // namespace

std::string FlattenLineBreaks(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r') {
            if (i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            out.push_back(' ');
        } else if (c == '\n') {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

TDTItem ReadFolderSettings(const std::string& path)
{
    const std::string file = path + SettingsFileName;
    TDTItem item;
    item.Path = path;
    item.CLSID = ReadKey(file, ShellClassInfoSection, "CLSID", "");
    item.IconFile = ReadKey(file, ShellClassInfoSection, "IconFile", "");
    item.IconIndex = ReadKey(file, ShellClassInfoSection, "IconIndex", "0");
    // No icon of its own: the folder shows the shell's folder icon, whatever index was stored.
    if (item.IconFile.empty()) {
        item.IconFile = DefaultIconFile;
        item.IconIndex = DefaultIconIndex;
    }
    if (item.IconIndex.empty())
        item.IconIndex = "0";
    item.Infotip = ReadKey(file, ShellClassInfoSection, "Infotip", "");
    item.IconArea_Image = ReadKey(file, IconAreaSection, "IconArea_Image", "");
    item.IconArea_Text = ReadKey(file, IconAreaSection, "IconArea_Text", "");
    if (item.IconArea_Text.empty())
        item.IconArea_Text = BlackCaptionColour;
    return item;
}

void WriteFolderSettings(const TDTItem& item)
{
    const std::string file = item.Path + SettingsFileName;
    WriteKey(file, ShellClassInfoSection, "CLSID", item.CLSID);
    WriteKey(file, ShellClassInfoSection, "IconFile", item.IconFile);
    WriteKey(file, ShellClassInfoSection, "IconIndex", item.IconIndex);
    WriteKey(file, ShellClassInfoSection, "Infotip", item.Infotip);
    WriteKey(file, IconAreaSection, "IconArea_Image", item.IconArea_Image);
    WriteKey(file, IconAreaSection, "IconArea_Text", item.IconArea_Text);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    AddSystemAttribute(item.Path);
}

void AddSystemAttribute(const std::string& folder)
{
    // The shell reads a folder's settings file only when the folder carries the system
    // attribute. It is added to what the folder has: a hidden folder stays hidden, a read-only
    // one read-only, and a restore (which leaves attributes alone) has nothing to give back.
    constexpr DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_SYSTEM))
        SetFileAttributesA(folder.c_str(), (attributes & settable) | FILE_ATTRIBUTE_SYSTEM);
}

void RemoveFolderSettings(const std::string& path)
{
    const std::string file = path + SettingsFileName;
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // The platform refuses to delete a read-only file; the user asked for it to go.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(file.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    DeleteFileA(file.c_str());
}

void NotifyShell()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
