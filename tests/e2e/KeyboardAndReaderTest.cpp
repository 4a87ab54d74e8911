// Quorrel.exe used by keyboard alone, typed through the system's input queue as a hand would,
// and read the way a screen reader reads it: every button's name and role through the
// accessibility interface. Long work stopped in the middle of a large tree.
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"
#include "e2e/VerbDialogs.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdio>
#include <initializer_list>
#include <map>

namespace {

void Send(std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    inputs.clear();
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Keys pressed together, the last one among the first held (Ctrl+Tab: {VK_CONTROL, VK_TAB}).
void Chord(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, false));
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        inputs.push_back(KeyInput(*it, true));
    Send(inputs);
    Pause(60);
}

void Press(WORD key)
{
    Chord({key});
}

void TypeText(const std::string& text)
{
    std::vector<INPUT> inputs;
    for (char c : text)
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<unsigned char>(c);
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    Send(inputs);
    Pause(60);
}

// The window with the keyboard focus in the thread of a window of the program.
HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

// What the focused control is called: its text, or the class of a tree or tab strip.
std::string Focused(HWND window)
{
    const HWND focus = FocusOf(window);
    if (!focus)
        return "(none)";
    const std::string cls = ClassOf(focus);
    return cls == WC_TREEVIEWA || cls == WC_TABCONTROLA ? cls : WindowText(focus);
}

// Presses the keys, then waits for the focus to reach the control named. Keys typed while
// another window is in front go to that window: the failure names it.
testing::AssertionResult FocusMovesTo(HWND window, std::initializer_list<WORD> keys, const std::string& expected)
{
    const HWND front = GetForegroundWindow();
    if (!front)
        return testing::AssertionFailure() << "no window is in front to take the keys";
    if (front != GetAncestor(window, GA_ROOT))
        return testing::AssertionFailure() << "the keys would go to \"" << WindowText(front) << "\" ("
                                           << ClassOf(front) << "), which is in front";
    Chord(keys);
    if (WaitFor([&] { return Focused(window) == expected; }, 3000))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the focus is on " << Focused(window) << ", not " << expected;
}

// Tab until the control named has the focus; false when a round of the window did not reach it.
bool TabTo(HWND window, const std::string& name)
{
    for (int i = 0; i < 15; ++i) {
        if (Focused(window) == name)
            return true;
        Press(VK_TAB);
        WaitFor([&] { return Focused(window) == name; }, 300);
    }
    return Focused(window) == name;
}

// What a screen reader is told of a window: name and role.
struct Read {
    std::string name;
    LONG role = -1;
};

Read ReaderOf(HWND window)
{
    Read read;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return read;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(self, &name)) && name) {
        for (const wchar_t* p = name; *p; ++p)
            read.name += static_cast<char>(*p);
        SysFreeString(name);
    }
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4)
        read.role = role.lVal;
    object->Release();
    return read;
}

// The program's skinned buttons in a window, by what a screen reader hears: name to role.
std::map<std::string, LONG> ButtonsRead(HWND window)
{
    std::map<std::string, LONG> buttons;
    for (HWND child : ChildrenOfClass(window, "QuorrelControl")) {
        const Read read = ReaderOf(child);
        if (read.role == ROLE_SYSTEM_PUSHBUTTON || read.role == ROLE_SYSTEM_CHECKBUTTON)
            buttons[read.name] = read.role;
    }
    return buttons;
}

// Each of the names is read out as a button of the window.
void ExpectReadAsButtons(HWND window, std::initializer_list<const char*> names)
{
    const std::map<std::string, LONG> buttons = ButtonsRead(window);
    for (const char* name : names)
        EXPECT_EQ(buttons.count(name), 1u) << name << " is not read out as a button";
}

class Keyboard : public testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(Keyboard, PretendFromExplorerByKeysAloneAndReadOutButtonByButton)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    ProgramRun run(program, "Pretend " + Quoted(disguised.folder));
    HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    ExpectAWindowOfItsOwn(run, dialog);
    EXPECT_EQ(ReaderOf(dialog).name, "Pretend Folder");
    ExpectReadAsButtons(dialog, {"OK", "Cancel", "Close"});

    // The checked target has the focus; Tab goes once round the dialog.
    ASSERT_TRUE(WaitFor([&] { return Focused(dialog) == "Recycle Bin"; }, 3000)) << Focused(dialog);
    for (const char* next : {"Apply to folder", "OK", "Cancel", "Close", "Recycle Bin"})
        EXPECT_TRUE(FocusMovesTo(dialog, {VK_TAB}, next));
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_SHIFT, VK_TAB}, "Close"));
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_TAB}, "Recycle Bin"));
    // An arrow chooses the next target; Enter is OK.
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_RIGHT}, "Control Panel"));
    EXPECT_TRUE(WaitFor([&] { return Checked(ButtonCaptioned(dialog, "Control Panel")); }, 3000));
    Press(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(SettingOf(disguised.folder, ".ShellClassInfo", "CLSID"), kControlPanel);
}

TEST_F(Keyboard, AdornFromExplorerTurnsItsPagesAndEscWritesNothing)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    ProgramRun run(program, "Adorn " + Quoted(disguised.folder));
    HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000));
    ExpectReadAsButtons(dialog, {"OK", "Cancel", "Close", "Select", "Clear"});

    ASSERT_TRUE(WaitFor([&] { return Focused(dialog) == WC_TABCONTROLA; }, 3000)) << Focused(dialog);
    const HWND tabs = FocusOf(dialog);
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_TAB}, "Select"));
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_TAB}, "Clear"));
    // Ctrl+Tab to the Tip page: the focus leaves the page that went.
    EXPECT_TRUE(FocusMovesTo(dialog, {VK_CONTROL, VK_TAB}, WC_TABCONTROLA));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    Press(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return ClassOf(FocusOf(dialog)) == "Edit"; }, 3000));
    const HWND tip = FocusOf(dialog);
    Chord({VK_CONTROL, VK_END});
    TypeText(" typed");
    Press(VK_RETURN); // a new line in the tip, not OK
    EXPECT_TRUE(WaitFor([&] { return WindowText(tip) == "kept typed\r\n"; }, 3000)) << WindowText(tip);
    EXPECT_TRUE(run.Running());
    Press(VK_ESCAPE);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(ReadFileBytes(disguised.folder + kSettings), disguised.bytes);
}

TEST_F(Keyboard, TheMainWindowsTabOrderAccessKeysAndAboutBox)
{
    const ProgramCopy program;
    const DisguisedFolder disguised;
    MainWindowOn window(program, "", disguised.folder);
    const HWND main = window.main;
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 3000));
    EXPECT_EQ(ReaderOf(main).name, "Quorrel folder stylist");
    const std::map<std::string, LONG> buttons = ButtonsRead(main);
    EXPECT_EQ(buttons, (std::map<std::string, LONG>{{"About", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Adorn", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Close", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Default", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"E-mail", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Help", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Home page", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Minimize", ROLE_SYSTEM_PUSHBUTTON},
                                                    {"Pretend", ROLE_SYSTEM_PUSHBUTTON}}));

    ASSERT_TRUE(WaitFor([&] { return Focused(main) == WC_TREEVIEWA; }, 3000)) << Focused(main);
    for (const char* next : {"Apply to folder", "&Adorn", "&Pretend", "&Default", "Home page", "E-mail", "Help",
                             "About", "Minimize", "Close"})
        EXPECT_TRUE(FocusMovesTo(main, {VK_TAB}, next));
    EXPECT_TRUE(FocusMovesTo(main, {VK_TAB}, WC_TREEVIEWA));

    // Alt+P: the Pretend dialog for the selected folder, owned by the main window; Esc ends it.
    Chord({VK_MENU, 'P'});
    HWND dialog = window.run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000));
    Press(VK_ESCAPE);
    ASSERT_TRUE(window.run.WaitUntilGone(dialog));
    EXPECT_EQ(ReadFileBytes(disguised.folder + kSettings), disguised.bytes);

    // The About button by keyboard; Esc closes the box, and so does Alt+F4.
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 3000));
    for (const std::initializer_list<WORD> close : {std::initializer_list<WORD>{VK_ESCAPE}, {VK_MENU, VK_F4}}) {
        ASSERT_TRUE(TabTo(main, "About"));
        Press(VK_SPACE);
        HWND about = window.run.WaitForWindow(Titled("About Quorrel"));
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 3000));
        Chord(close);
        ASSERT_TRUE(window.run.WaitUntilGone(about));
        EXPECT_TRUE(IsWindowVisible(main)) << "only the box closed";
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 3000));
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.run.WaitForExit(), 0u);
}

TEST_F(Keyboard, AKeyEndsTheSplash)
{
    const ProgramCopy program;
    ProgramRun run(program, "");
    HWND splash = run.WaitForWindow([](HWND w) { return !IsMainWindow(w) && ClassOf(w) == "QuorrelControl"; });
    ASSERT_NE(splash, nullptr);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == splash; }, 3000));
    const DWORD pressed = GetTickCount();
    Press(VK_SPACE);
    ASSERT_TRUE(run.WaitUntilGone(splash, 3000));
    EXPECT_LT(GetTickCount() - pressed, 1500u) << "gone without waiting for its two seconds";
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Quorrel folder stylist");
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(Keyboard, EscStopsDefaultInTheMiddleOfALargeTreeWithEveryFolderWhole)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string root = temp.MakeDir("Large");
    const std::string bytes = "[.ShellClassInfo]\r\nInfoTip=x\r\n";
    std::vector<std::string> folders;
    for (int a = 0; a < 60; ++a)
        for (int b = 0; b < 60; ++b) {
            const std::string relative = "Large\\" + std::to_string(a) + "\\" + std::to_string(b);
            folders.push_back(temp.MakeDir(relative));
            temp.WriteFile(relative + "\\" + kSettings, bytes);
        }
    MainWindowOn window(program, "", root);
    SendMessageA(window.box, BM_CLICK, 0, 0);
    ClickAt(ChildAt(window.main, kDefaultButton), {54, 19});
    HWND progress = window.run.WaitForWindow(
        [&](HWND w) { return w != window.main && ClassOf(w) != "#32770" && WindowText(w) == "Quorrel"; }, 20000);
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == progress; }, 3000));
    EXPECT_EQ(Focused(progress), "Cancel");
    // The platform's own button; this system's reader object names it, but gives every window
    // of a platform class the role of a client area (Windows says push button).
    EXPECT_EQ(ReaderOf(FocusOf(progress)).name, "Cancel");
    EXPECT_FALSE(IsWindowEnabled(window.main)) << "no other window takes input meanwhile";
    // In the middle: once a few hundred files are gone.
    const auto removed = [&] {
        std::size_t gone = 0;
        for (const std::string& folder : folders)
            gone += !FileExists(folder + kSettings);
        return gone;
    };
    ASSERT_TRUE(WaitFor([&] { return removed() >= 300; }, 60000));
    Press(VK_ESCAPE);
    HWND box = window.run.WaitForMessageBox(30000);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowVisible(progress));
    const std::string message = MessageBoxText(box);

    // Every folder has its file as it was, or none: none is half done.
    std::size_t left = 0;
    for (const std::string& folder : folders) {
        const std::string file = folder + kSettings;
        if (!FileExists(file))
            continue;
        ++left;
        EXPECT_EQ(ReadFileBytes(file), bytes) << folder;
    }
    EXPECT_GT(left, 0u) << "stopped before the end";
    EXPECT_LT(left, folders.size()) << "stopped after the start";
    // The chosen folder, its 60 folders (which held no file) and the 3,600 below: those left
    // are the files left and some of the 60.
    unsigned changed = 0, total = 0, untouched = 0;
    ASSERT_EQ(std::sscanf(message.c_str(), "Stopped: %u of %u folders were changed. %u were left as they were.",
                          &changed, &total, &untouched),
              3)
        << message;
    EXPECT_EQ(total, 3661u);
    EXPECT_EQ(changed + untouched, total);
    EXPECT_GE(untouched, left);
    EXPECT_LE(untouched, left + 60);
    PressDialogButton(box, IDOK);
    // The program goes on.
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(window.main) != FALSE; }, 5000));
    PostMessageA(window.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(window.run.WaitForExit(), 0u);
}

} // namespace
