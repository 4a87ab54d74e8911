#pragma once
// A fresh controller for every dialog test, a temporary folder to customise, and the dialog
// run modally under a script.
#include "DialogDriver.h"
#include "engine/FolderCtrl.h"
#include "support/TempDir.h"
#include "toolkit/controls/Form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class DialogTest : public testing::Test {
protected:
    DialogTest() { TheFolderCtrl = std::make_unique<TFolderCtrl>(false); }
    ~DialogTest() override { TheFolderCtrl.reset(); }

    // A folder with this settings file (none when empty), loaded into the controller as the
    // main window does before it opens a dialog. Returns its path (with backslash).
    std::string LoadFolder(const std::string& settings, const std::string& name = "Folder");
    // A key of the folder's settings file as the shell reads it ("<none>" when missing).
    std::string Setting(const std::string& section, const std::string& key) const;

    TempDir dir;
    std::string folder;
};

// Shows the form modally while the steps run; every step must have run by the time it closes.
TModalResult RunModal(TForm& form, std::vector<DriverStep> steps);
// A step that clicks the control at its centre.
DriverStep Click(TForm& form, TControl& control);

inline const char* const ShellClassInfo = ".ShellClassInfo";
