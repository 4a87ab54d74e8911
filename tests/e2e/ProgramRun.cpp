#include "e2e/ProgramRun.h"

#include "sidecars/SidecarTestSupport.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <commctrl.h>

#include <cstdlib>
#include <stdexcept>

namespace {

constexpr const char* kShippedFiles[] = {"Quorrel.exe", "Res.dll", "Form.dll", "icon.dll", "Help.chm"};

std::string VerbKeyPath(const char* verb)
{
    return std::string("Directory\\Shell\\Quorrel ") + verb;
}

} // namespace

std::string BuiltFile(const std::string& name)
{
    return BinPath(name);
}

std::string TestLibrary(const std::string& name)
{
    return TestLibraryPath(name);
}

ProgramCopy::ProgramCopy(std::initializer_list<const char*> leaveOut)
{
    for (const char* file : kShippedFiles) {
        bool skip = false;
        for (const char* left : leaveOut)
            skip = skip || std::string(left) == file;
        if (skip)
            continue;
        const std::string source = BuiltFile(file);
        if (!CopyFileA(source.c_str(), (Folder() + file).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + source);
    }
}

void ProgramCopy::Plant(const std::string& source, const std::string& targetName) const
{
    if (!CopyFileA(source.c_str(), (Folder() + targetName).c_str(), FALSE))
        throw std::runtime_error("cannot plant " + source + " as " + targetName);
}

ProgramRun::ProgramRun(const ProgramCopy& program, const std::string& arguments, const std::string& workingDirectory)
    : ProgramRun(program.Exe(), arguments, workingDirectory.empty() ? program.Folder() : workingDirectory)
{
}

ProgramRun::ProgramRun(const std::string& exe, const std::string& arguments, const std::string& workingDirectory)
    : adorn_(HKEY_CLASSES_ROOT, VerbKeyPath("Adorn")), pretend_(HKEY_CLASSES_ROOT, VerbKeyPath("Pretend")),
      default_(HKEY_CLASSES_ROOT, VerbKeyPath("Default"))
{
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    // As Explorer starts it: a UTF-16 command line, whatever names it holds.
    std::wstring wideLine = AnsiToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(AnsiToWide(exe).c_str(), wideLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        AnsiToWide(workingDirectory).c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    WaitForInputIdle(info.hProcess, 5000);
}

ProgramRun::~ProgramRun()
{
    if (process_ && Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
}

bool ProgramRun::Running() const
{
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

DWORD ProgramRun::WaitForExit(DWORD milliseconds)
{
    if (!process_)
        return STILL_ACTIVE;
    WaitForSingleObject(process_.get(), milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

namespace {
struct ProcessWindows {
    DWORD id;
    bool hiddenToo;
    std::vector<HWND> found;
};

BOOL CALLBACK AddProcessWindow(HWND window, LPARAM param) noexcept
{
    auto& s = *reinterpret_cast<ProcessWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    try {
        if (owner == s.id && (s.hiddenToo || IsWindowVisible(window)))
            s.found.push_back(window);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

struct ClassSearch {
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK AddChildOfClass(HWND window, LPARAM param) noexcept
{
    auto& s = *reinterpret_cast<ClassSearch*>(param);
    try {
        if (ClassOf(window) == s.className)
            s.found.push_back(window);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}
} // namespace

std::vector<HWND> ProgramRun::Windows() const
{
    ProcessWindows search{id_, false, {}};
    EnumWindows(&AddProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ProgramRun::AllWindows() const
{
    ProcessWindows search{id_, true, {}};
    EnumWindows(&AddProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramRun::WaitForWindow(const std::function<bool(HWND)>& match, DWORD milliseconds) const
{
    const DWORD start = GetTickCount();
    do {
        for (HWND window : Windows())
            if (match(window))
                return window;
        Pause(5);
    } while (GetTickCount() - start < milliseconds && Running());
    return nullptr;
}

bool ProgramRun::WaitUntilGone(HWND window, DWORD milliseconds) const
{
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= milliseconds)
            return false;
        Pause(5);
    }
    return true;
}

HWND ProgramRun::WaitForMessageBox(DWORD milliseconds) const
{
    return WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && !MessageBoxText(w).empty(); }, milliseconds);
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    // WM_GETTEXT works across processes; GetWindowText does not ask another process's window.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

SIZE WindowSize(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Pause(10);
    }
    return true;
}

namespace {
int startedDpi = kDesignDpi;
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
} // namespace

DisplayDpi::DisplayDpi(int dpi) : desktop_(HKEY_CURRENT_USER, kDesktopKey), previous_(startedDpi)
{
    const DWORD value = static_cast<DWORD>(dpi);
    const LSTATUS status = RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &value, sizeof value);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set LogPixels: error " + std::to_string(status));
    startedDpi = dpi;
}

DisplayDpi::~DisplayDpi()
{
    startedDpi = previous_;
}

int StartedDpi()
{
    return startedDpi;
}

POINT AtStartedDpi(POINT p)
{
    return {ScaledToDpi(p.x, startedDpi), ScaledToDpi(p.y, startedDpi)};
}

int AtStartedDpi(int length)
{
    return ScaledToDpi(length, startedDpi);
}

bool IsMainWindow(HWND window)
{
    const SIZE size = WindowSize(window);
    return size.cx == AtStartedDpi(496) && size.cy == AtStartedDpi(377) && ClassOf(window) != "#32770";
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::function<bool(HWND)> Titled(const std::string& caption)
{
    return [caption](HWND w) { return WindowText(w) == caption; };
}

HWND ButtonCaptioned(HWND parent, const std::string& caption)
{
    for (HWND button : ChildrenOfClass(parent, "Button"))
        if (WindowText(button) == caption)
            return button;
    return nullptr;
}

bool Checked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int TabCount(HWND dialog)
{
    const std::vector<HWND> tabs = ChildrenOfClass(dialog, WC_TABCONTROLA);
    return tabs.size() == 1 ? int(SendMessageA(tabs[0], TCM_GETITEMCOUNT, 0, 0)) : -1;
}

std::string SettingOf(const std::string& folder, const char* section, const char* key)
{
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, (folder + kSettings).c_str());
    return value;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className)
{
    ClassSearch search{className, {}};
    EnumChildWindows(parent, &AddChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    for (HWND label : ChildrenOfClass(box, "Static")) {
        const std::string part = WindowText(label);
        if (part.empty())
            continue;
        if (!text.empty())
            text += "\n";
        text += part;
    }
    return text;
}

void PressDialogButton(HWND dialog, int command)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

HWND ChildAt(HWND parent, POINT client)
{
    HWND found = parent;
    for (;;) {
        HWND next = ChildWindowFromPointEx(found, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!next || next == found)
            return found;
        MapWindowPoints(found, next, &client, 1);
        found = next;
    }
}

void ClickAt(HWND window, POINT client)
{
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void RealClickAt(HWND window, POINT client)
{
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    Pause(50);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

SIZE SaveScreenPicture(HWND window, const std::string& file)
{
    constexpr int kMargin = 12;
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left + 2 * kMargin, h = r.bottom - r.top + 2 * kMargin;
    TBitmap shot(w, h);
    ScopedWindowDC screen(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, w, h, screen.get(), r.left - kMargin, r.top - kMargin, SRCCOPY);
    shot.SaveToFile(file);
    return {r.right - r.left, r.bottom - r.top};
}

void Pause(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}
