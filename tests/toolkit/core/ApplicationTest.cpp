#include "toolkit/core/Application.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/MessageBox.h"
#include "toolkit/core/Timer.h"

#include "support/ModalCloser.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Collects what would have gone into error boxes, for as long as it lives.
class ErrorCollector {
public:
    ErrorCollector()
    {
        Application.OnException = [this](TObject* sender, const std::string& message) {
            messages.push_back(message);
            senders.push_back(sender);
        };
    }
    ~ErrorCollector() { Application.OnException = nullptr; }
    std::vector<std::string> messages;
    std::vector<TObject*> senders;
};

TEST(ApplicationTitle, KeepsFileNameUpToFirstFullStopWithLaterLettersLowered)
{
    EXPECT_EQ(TitleFromExeName("MYTOOL.EXE"), "Mytool");
    EXPECT_EQ(TitleFromExeName("C:\\Program Files\\Quorrel\\QUORREL.EXE"), "Quorrel");
    EXPECT_EQ(TitleFromExeName("c:\\x.y\\quorrel.exe"), "quorrel"); // first character kept as it is
    EXPECT_EQ(TitleFromExeName("D:\\tools\\My.Tool.v2.exe"), "My");
    EXPECT_EQ(TitleFromExeName("Z:/unix/style/TOOL"), "Tool");
    EXPECT_EQ(TitleFromExeName("C:\\dir\\.hidden.exe"), "");
    EXPECT_EQ(TitleFromExeName("A"), "A");
}

TEST(ApplicationTitle, IsTheRunningExecutablesTitle)
{
    EXPECT_EQ(Application.Title(), "toolkit_tests");
}

TEST(ErrorBox, AppendsFullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ErrorBoxText("Unable to write to C:\\x"), "Unable to write to C:\\x.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Error setting path: \"C:\\nowhere\""), "Error setting path: \"C:\\nowhere\"");
    EXPECT_EQ(ErrorBoxText("(.png)"), "(.png)");       // ')' is 41
    EXPECT_EQ(ErrorBoxText("100 / 5"), "100 / 5.");    // '5' is 53
    EXPECT_EQ(ErrorBoxText("slash/"), "slash/.");      // '/' is 47, just above
    EXPECT_EQ(ErrorBoxText("dash-"), "dash-");         // '-' is 45
    EXPECT_EQ(ErrorBoxText(""), "");
    EXPECT_EQ(ErrorBoxText("caf\xE9"), "caf\xE9.");    // codes above 127 count as above 46
}

TEST(ErrorBox, MessageOfEveryKindOfError)
{
    EXPECT_EQ(MessageOf(std::make_exception_ptr(EConvertError("'x' is not a valid integer value"))),
              "'x' is not a valid integer value");
    EXPECT_EQ(MessageOf(std::make_exception_ptr(std::runtime_error("plain"))), "plain");
    EXPECT_FALSE(MessageOf(std::make_exception_ptr(42)).empty());
}

// The command ids of the buttons a message box shows.
std::vector<int> ButtonsOf(HWND box)
{
    std::vector<int> buttons;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (HWND button = GetDlgItem(box, id); button && IsWindowVisible(button))
            buttons.push_back(id);
    return buttons;
}

// The icon a message box shows: that of its icon control, whatever its id.
HICON IconOf(HWND box)
{
    HICON icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child && !icon; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return icon;
}

TEST(MessageBoxKinds, EachKindShowsTheInformationIconAndItsButtonsUnderTheApplicationTitle)
{
    TestOwnerWindow owner;
    const struct {
        int kind;
        std::vector<int> buttons;
        int answer;
    } kinds[] = {
        {1, {IDOK}, IDOK},
        {2, {IDYES, IDNO}, IDNO},
        {3, {IDCANCEL, IDYES, IDNO}, IDCANCEL},
    };
    for (const auto& k : kinds) {
        const std::string text = "'Res.dll' is not found. Kind " + std::to_string(k.kind) + ".";
        std::vector<int> shown;
        HICON icon = nullptr;
        ExpectedWindow box = MessageBoxWindow(Application.Title(), text, k.answer);
        box.prepare = [&](HWND window) {
            shown = ButtonsOf(window);
            icon = IconOf(window);
        };
        ModalCloser closer(std::move(box));
        EXPECT_EQ(ShowMessageBox(text, k.kind), k.answer) << k.kind;
        EXPECT_TRUE(closer.Found()) << k.kind;
        EXPECT_EQ(shown, k.buttons) << k.kind;
        EXPECT_EQ(icon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION))) << k.kind;
    }
    // An unknown kind is refused before any box comes up (the test's guard fails on a box).
    EXPECT_THROW(ShowMessageBox("never shown", 0), Exception);
    EXPECT_THROW(ShowMessageBox("never shown", 4), Exception);
}

TEST(ErrorHandling, WithoutAHookTheErrorBoxShowsTheMessageWithItsFullStop)
{
    TestOwnerWindow owner;
    ModalCloser closer(MessageBoxWindow(Application.Title(), "Unable to write to C:\\x\\DeskTop.Ini.", IDOK));
    Application.HandleException(std::make_exception_ptr(EWriteError("Unable to write to C:\\x\\DeskTop.Ini")));
    EXPECT_TRUE(closer.Found());
}

TEST(ErrorHandling, HandlerHookReceivesTheMessageInsteadOfTheBox)
{
    ErrorCollector errors;
    Application.HandleException(std::make_exception_ptr(EWriteError("Unable to write to X")));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Unable to write to X");
    EXPECT_EQ(errors.senders[0], &Application);
}

// A form with one check box whose click handler fails.
class FailingForm : public TForm {
public:
    FailingForm()
    {
        BuildLayout(*this, {Place<TCheckBox>("Box", 8, 8, 120, 17, {}, [](TCheckBox& c) { c.SetCaption("Box"); })});
        Component<TCheckBox>("Box").OnClick = [](TObject*) { throw EConvertError("'q' is not a valid integer value"); };
    }
};

TEST(ErrorHandling, ErrorInAnEventHandlerReachesTheApplicationAndTheWindowGoesOn)
{
    ErrorCollector errors;
    auto form = MakeForm<FailingForm>();
    auto& box = form->Component<TCheckBox>("Box");
    // A click of the platform's own button comes through its window procedure and ours.
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "'q' is not a valid integer value");
    // The notification failed inside the form's window procedure, which reports itself.
    EXPECT_EQ(errors.senders[0], form.get());
    // The window still answers after the error.
    EXPECT_TRUE(box.Checked());
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(errors.messages.size(), 2u);
    EXPECT_FALSE(box.Checked());
}

class CreateFailsForm : public TForm {
public:
    CreateFailsForm()
    {
        OnCreate = [this](TObject*) {
            reached = true;
            throw Exception("creation failed");
        };
    }
    bool reached = false;
};

TEST(ErrorHandling, ErrorInOnCreateIsReportedAndTheFormIsStillMade)
{
    ErrorCollector errors;
    auto form = MakeForm<CreateFailsForm>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->reached);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "creation failed");
}

TEST(ErrorHandling, ErrorInATimerHandlerReachesTheApplication)
{
    ErrorCollector errors;
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw std::runtime_error("tick failed");
    });
    const DWORD start = GetTickCount();
    while (ticks < 2 && GetTickCount() - start < 3000)
        Application.HandleMessage();
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 2);
    ASSERT_GE(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], "tick failed");
}

TEST(Timer, RunsOnlyWhileEnabledWithAHandler)
{
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(5);
    timer.SetEnabled(false);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    const auto pump = [](DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms)
            Application.ProcessMessages(), Sleep(1);
    };
    pump(60);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    pump(200);
    EXPECT_GT(ticks, 0);
    timer.SetEnabled(false);
    const int stopped = ticks;
    pump(60);
    EXPECT_EQ(ticks, stopped);
}

} // namespace
