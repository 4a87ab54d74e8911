// Both dialogs used by keyboard alone (keys handed to the window with the focus through the
// dialog's own message loop), and the pickers held modal to the dialog that opened them.
#include "DialogFixture.h"
#include "dialogs/Adorn.h"
#include "dialogs/Pretend.h"
#include "engine/DisguiseTargets.h"
#include "engine/FolderSettings.h"
#include "skin/BmpButton.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/PageControl.h"
#include "toolkit/controls/RadioButton.h"
#include "toolkit/core/Application.h"
#include "toolkit/core/CommandLine.h"

namespace {

// The window of this thread with the keyboard focus. A dialog that came up while another
// program's window was in front (the tests' own desktop keeper, another test program) has
// none until it is brought forward: the one enabled window of the thread is the modal dialog.
BOOL CALLBACK EnabledWindow(HWND window, LPARAM found) noexcept
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND FocusedWindow()
{
    for (int waited = 0; waited < 2000; waited += 10) {
        if (HWND focus = GetFocus())
            return focus;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), EnabledWindow, reinterpret_cast<LPARAM>(&dialog));
        if (dialog)
            SetForegroundWindow(dialog);
        Application.ProcessMessages();
        Sleep(10);
    }
    return nullptr;
}

// A key typed into the window with the focus, with modifiers held, handled at once.
DriverStep Key(WPARAM key, std::initializer_list<int> held = {})
{
    std::vector<int> modifiers(held);
    return [key, modifiers] {
        BYTE before[256], now[256];
        GetKeyboardState(before);
        GetKeyboardState(now);
        for (int m : modifiers)
            now[m] = 0x80;
        SetKeyboardState(now);
        const HWND focus = FocusedWindow();
        EXPECT_NE(focus, nullptr) << "no window has the keyboard focus";
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
        PostMessageA(focus, WM_KEYDOWN, key, 1 | scan);
        PostMessageA(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001) | scan);
        Application.ProcessMessages();
        SetKeyboardState(before);
        return true;
    };
}

// Text typed into the window with the focus.
DriverStep Type(const std::string& text)
{
    return [text] {
        for (char c : text)
            PostMessageA(FocusedWindow(), WM_CHAR, static_cast<unsigned char>(c), 1);
        Application.ProcessMessages();
        return true;
    };
}

// The name of the control of the form that has the focus.
std::string FocusName(TForm& form)
{
    for (HWND w = GetFocus(); w; w = GetParent(w))
        if (TWinControl* c = TWinControl::FromHandle(w); c && GetParentForm(*c) == &form)
            return c->Name();
    return "(none)";
}

// Notes where the focus is.
DriverStep Note(TForm& form, std::vector<std::string>& seen)
{
    return [&form, &seen] {
        seen.push_back(FocusName(form));
        return true;
    };
}

class DialogKeyboard : public DialogTest {
protected:
    // As a start from Explorer: the dialogs show their own "Apply to folder" box.
    std::unique_ptr<TCommandLineScope> VerbStart(const char* verb)
    {
        return std::make_unique<TCommandLineScope>(
            TCommandLine(std::string("Quorrel.exe ") + verb + " \"" + folder + "\"", "Quorrel.exe", NoLeadBytes));
    }
};

TEST_F(DialogKeyboard, PretendTargetsAreOneStopWhoseArrowsChooseAndEnterWritesTheChoice)
{
    LoadFolder("[.ShellClassInfo]\r\nCLSID=" + std::string(DisguiseTargets[1].Clsid) + "\r\n");
    const auto verb = VerbStart("Pretend");
    auto form = MakeForm<TFormPretend>();
    std::vector<std::string> seen;
    std::vector<DriverStep> steps{Note(*form, seen), Key(VK_RIGHT), Note(*form, seen)};
    for (int i = 0; i < 5; ++i) {
        steps.push_back(Key(VK_TAB));
        steps.push_back(Note(*form, seen));
    }
    steps.push_back(Key(VK_TAB, {VK_SHIFT}));
    steps.push_back(Note(*form, seen));
    steps.push_back(Key(VK_TAB));
    steps.push_back(Key(VK_RETURN)); // on a target: the dialog's OK
    EXPECT_EQ(RunModal(*form, steps), mrOk);
    // The checked target takes the focus first; an arrow moves focus and choice together; Tab
    // goes through the targets once, the box, OK, Cancel and the title bar's close button.
    EXPECT_EQ(seen, (std::vector<std::string>{"RadioButton2", "RadioButton3", "AlppeSubDirectory", "BmpButton1",
                                              "BmpButton2", "BmpButton10", "RadioButton3", "BmpButton10"}));
    EXPECT_EQ(Setting(ShellClassInfo, "CLSID"), DisguiseTargets[2].Clsid);
}

TEST_F(DialogKeyboard, EscCancelsAndEnterOnAButtonPressesThatButton)
{
    LoadFolder("[.ShellClassInfo]\r\nCLSID=" + std::string(DisguiseTargets[1].Clsid) + "\r\n");
    const std::string before = ReadFileBytes(folder + SettingsFileName);
    // A window start's dialog, without "Apply to folder" (whatever the test program was given).
    const TCommandLineScope windowStart(TCommandLine("Quorrel.exe", "Quorrel.exe", NoLeadBytes));
    {
        auto form = MakeForm<TFormPretend>();
        EXPECT_EQ(RunModal(*form, {Key(VK_DOWN), Key(VK_ESCAPE)}), mrCancel);
    }
    {
        auto form = MakeForm<TFormPretend>();
        // Tab to OK, then to Cancel: Enter is that button's.
        EXPECT_EQ(RunModal(*form, {Key(VK_UP), Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN)}), mrCancel);
    }
    EXPECT_EQ(ReadFileBytes(folder + SettingsFileName), before) << "nothing written";
}

TEST_F(DialogKeyboard, AdornPagesTurnWithCtrlTabAndEnterInTheTipIsALineBreak)
{
    LoadFolder("");
    const auto verb = VerbStart("Adorn");
    auto form = MakeForm<TFormAdorn>();
    form->ShowSettings(TheFolderCtrl->Current);
    std::vector<std::string> seen;
    std::vector<int> pages;
    const auto page = [&] {
        pages.push_back(form->PageControl1().ActivePageIndex());
        return true;
    };
    bool openAfterEnter = false;
    EXPECT_EQ(RunModal(*form, {Note(*form, seen), Key(VK_TAB, {VK_CONTROL}), page, Key(VK_TAB), Note(*form, seen),
                               Type("First"), Key(VK_RETURN),
                               [&] {
                                   openAfterEnter = form->ModalResult() == mrNone;
                                   return true;
                               },
                               Type("second"), Key(VK_TAB, {VK_CONTROL, VK_SHIFT}), page, Note(*form, seen), Key(VK_TAB),
                               Note(*form, seen), Key(VK_TAB), Note(*form, seen), Key(VK_TAB), Note(*form, seen),
                               Key(VK_TAB, {VK_CONTROL, VK_SHIFT}), page, Key(VK_TAB, {VK_CONTROL}), page,
                               Key(VK_RETURN)}),
              mrOk);
    EXPECT_EQ(pages, (std::vector<int>{1, 0, 3, 0}));
    EXPECT_EQ(seen, (std::vector<std::string>{"PageControl1", "FolderTip", "PageControl1", "BmpButton7", "BmpButton8",
                                              "AlppeSubDirectory"}));
    EXPECT_TRUE(openAfterEnter) << "Enter in the tip is a line, not OK";
    EXPECT_EQ(Setting(ShellClassInfo, "Infotip"), "First second");
}

TEST_F(DialogKeyboard, EveryButtonIsNamedForTheScreenReader)
{
    LoadFolder("");
    auto adorn = MakeForm<TFormAdorn>();
    auto pretend = MakeForm<TFormPretend>();
    const std::pair<int, const char*> shared[] = {{1, "OK"}, {2, "Cancel"}, {9, "Minimize"}, {10, "Close"}};
    for (TFolderDialog* form : {static_cast<TFolderDialog*>(adorn.get()), static_cast<TFolderDialog*>(pretend.get())})
        for (const auto& [number, name] : shared) {
            char text[32] = {};
            GetWindowTextA(form->BmpButton(number).Handle(), text, sizeof text);
            EXPECT_STREQ(text, name);
        }
    for (int number : {5, 7, 11})
        EXPECT_EQ(adorn->BmpButton(number).Caption(), "Select");
    for (int number : {6, 8, 12})
        EXPECT_EQ(adorn->BmpButton(number).Caption(), "Clear");
}

// A picker of the Adorn dialog, seen from inside: its owner, whether the dialog was disabled,
// and whether asking for a second one opened another.
struct PickerSeen {
    HWND owner = nullptr;
    bool dialogEnabled = true;
    int boxesAfterSecondAsk = 0;
};

BOOL CALLBACK CountBox(HWND window, LPARAM state) noexcept
{
    auto& [caption, count] = *reinterpret_cast<std::pair<std::string, int>*>(state);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && caption == text)
        ++count;
    return TRUE;
}

int VisibleWindowsTitled(const std::string& caption)
{
    std::pair<std::string, int> state{caption, 0};
    EnumThreadWindows(GetCurrentThreadId(), &CountBox, reinterpret_cast<LPARAM>(&state));
    return state.second;
}

using PickerModality = DialogTest;

TEST_F(PickerModality, EachPickerBelongsToTheDialogWhichIsDisabledUntilItEndsHoweverItEnds)
{
    LoadFolder("");
    const std::string notAPicture = dir.WriteFile("broken.bmp", "no picture at all");
    auto form = MakeForm<TFormAdorn>();
    form->ShowSettings(TheFolderCtrl->Current);
    PickerSeen colour, file, error;
    const auto look = [&form](PickerSeen& seen, const char* caption, std::function<void()> askAgain) {
        return [&form, &seen, caption, askAgain](HWND box) {
            seen.owner = GetWindow(box, GW_OWNER);
            seen.dialogEnabled = IsWindowEnabled(form->Handle()) != FALSE;
            if (askAgain)
                askAgain();
            seen.boxesAfterSecondAsk = VisibleWindowsTitled(caption);
        };
    };
    bool enabledBetween = false;
    const auto enabledNow = [&] {
        enabledBetween = IsWindowEnabled(form->Handle()) != FALSE;
        return true;
    };
    EXPECT_EQ(
        RunModal(*form,
                 {[&] {
                      form->PageControl1().SetActivePageIndex(2);
                      return true;
                  },
                  Click(*form, form->BmpButton(11)),
                  AnswerBox("Color", "", IDCANCEL, nullptr,
                            look(colour, "Color", [] { FolderController().SelectTextColor(nullptr); })),
                  enabledNow,
                  [&] {
                      form->PageControl1().SetActivePageIndex(3);
                      return true;
                  },
                  Click(*form, form->BmpButton(5)),
                  AnswerBox("Open", "", IDOK, nullptr,
                            [&](HWND dialog) {
                                look(file, "Open", [&] { FolderController().SelectBackground(form->Image2()); })(dialog);
                                SetDlgItemTextA(dialog, 0x47c, notAPicture.c_str());
                                SetDlgItemTextA(dialog, 0x480, notAPicture.c_str());
                            }),
                  // The picture cannot be read: the error box is the dialog's too.
                  AnswerBox(Application.Title(), "", IDOK, nullptr, look(error, Application.Title().c_str(), {})),
                  Click(*form, form->BmpButton(2))}),
        mrCancel);
    for (const PickerSeen* seen : {&colour, &file, &error}) {
        EXPECT_EQ(seen->owner, form->Handle());
        EXPECT_FALSE(seen->dialogEnabled);
    }
    EXPECT_EQ(colour.boxesAfterSecondAsk, 1) << "no second colour picker";
    EXPECT_EQ(file.boxesAfterSecondAsk, 1) << "no second file picker";
    EXPECT_TRUE(enabledBetween) << "back after a cancel";
    EXPECT_TRUE(IsWindowEnabled(form->Handle())) << "back after an error";
    EXPECT_FALSE(TheFolderCtrl->Picking());
    EXPECT_EQ(TheFolderCtrl->Current.IconArea_Image, "");
}

} // namespace
