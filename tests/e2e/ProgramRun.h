#pragma once
// Quorrel.exe run as a separate process, the way a user or Explorer starts it, and its windows
// found and driven from the test: by process, size and caption, with posted messages.
#include "support/RegistryKeyRestorer.h"
#include "support/TempDir.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// The program and its sidecar files copied from the build into a folder of the test's own, so
// a test may remove or plant files without touching build/bin.
class ProgramCopy {
public:
    // Copies Quorrel.exe and every sidecar file except those named in `leaveOut`.
    explicit ProgramCopy(std::initializer_list<const char*> leaveOut = {});
    const std::string& Folder() const { return folder_.Path(); }
    std::string Exe() const { return Folder() + "Quorrel.exe"; }
    // Puts a file of the build or the tests' own libraries in place under another name.
    void Plant(const std::string& source, const std::string& targetName) const;
    const TempDir& Temp() const { return folder_; }

private:
    TempDir folder_;
};

// The built files and the libraries made for the sidecar tests.
std::string BuiltFile(const std::string& name);
std::string TestLibrary(const std::string& name);

// A running Quorrel.exe. The Explorer entries that every start rewrites are put back as they
// were when the run is over, and a process still running then (a failed test) is killed.
class ProgramRun {
public:
    // `arguments` follow the quoted program path on the command line; `workingDirectory`
    // empty: the program's own folder. Raises std::runtime_error when it cannot start.
    ProgramRun(const ProgramCopy& program, const std::string& arguments, const std::string& workingDirectory = {});
    ProgramRun(const std::string& exe, const std::string& arguments, const std::string& workingDirectory);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Process() const { return process_.get(); }
    // Waits for the end; the exit code, or STILL_ACTIVE after the time ran out.
    DWORD WaitForExit(DWORD milliseconds = 20000);
    bool Running() const;

    // The visible top-level windows of the process.
    std::vector<HWND> Windows() const;
    // Its top-level windows, hidden ones too.
    std::vector<HWND> AllWindows() const;
    // The first visible window of the process that satisfies `match`, waited for up to the
    // time given; null when none came.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD milliseconds = 15000) const;
    // Waits until the window is gone or hidden; false when it stayed.
    bool WaitUntilGone(HWND window, DWORD milliseconds = 15000) const;
    // The process's message box (a standard dialog window with a text), or null.
    HWND WaitForMessageBox(DWORD milliseconds = 15000) const;

private:
    RegistryKeyRestorer adorn_, pretend_, default_;
    ScopedKernelHandle process_;
    DWORD id_ = 0;
};

// The display's DPI for the programs a test starts while it lives (LogPixels of the tests' own
// Wine prefix, which a program reads when it starts), put back as it was however the test
// ends. The test program itself keeps the DPI it started with.
class DisplayDpi {
public:
    explicit DisplayDpi(int dpi);
    ~DisplayDpi();
    DisplayDpi(const DisplayDpi&) = delete;
    DisplayDpi& operator=(const DisplayDpi&) = delete;

private:
    RegistryKeyRestorer desktop_;
    int previous_;
};
// The DPI the programs started now see: 96, or that of the DisplayDpi in force.
int StartedDpi();
// A point or length of the 96-DPI layout at StartedDpi(), rounded as the program rounds it.
POINT AtStartedDpi(POINT p);
int AtStartedDpi(int length);

// Window facts read across processes.
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
SIZE WindowSize(HWND window);
// The texts of a message box's static controls, joined by line breaks.
std::string MessageBoxText(HWND box);
// Presses a button of a standard dialog (IDOK, IDCANCEL) by its command.
void PressDialogButton(HWND dialog, int command);
// The child window at a point of the client area (the visible one deepest down).
HWND ChildAt(HWND parent, POINT client);
// A left click at a point of a window's client area, as posted mouse messages.
void ClickAt(HWND window, POINT client);
// The same through the system's input queue: the pointer moves there and the button goes down
// and up, as a user's hand would do it.
void RealClickAt(HWND window, POINT client);
// The child windows of a window (any depth) whose class name is `className`.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);
// Saves the window and a margin of the desktop around it, as the screen shows it, as a bitmap
// file; answers the window's size.
SIZE SaveScreenPicture(HWND window, const std::string& file);
// Pumps this test's own messages (none are needed) while waiting a little.
void Pause(DWORD milliseconds);
// Waits until `done` answers true; false when the time ran out first.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 15000);

// The folders' settings file, and the main window's Default button by its place on the skin.
constexpr const char* kSettings = "DeskTop.Ini";
constexpr POINT kDefaultButton{368 + 54, 272 + 19};
// Quorrel's main window: the skin's size at StartedDpi(), and no standard dialog.
bool IsMainWindow(HWND window);
// A path in double quotes, as Explorer's entries pass it.
std::string Quoted(const std::string& path);
// A window whose text is the caption.
std::function<bool(HWND)> Titled(const std::string& caption);
// The check box or radio button of a window with that caption, or null.
HWND ButtonCaptioned(HWND parent, const std::string& caption);
bool Checked(HWND button);
// The number of tabs the dialog's page control shows, -1 when it has none or several.
int TabCount(HWND dialog);
// A key of the folder's settings file as the shell reads it, "<none>" when missing.
std::string SettingOf(const std::string& folder, const char* section, const char* key);
