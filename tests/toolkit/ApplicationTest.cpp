#include "toolkit/Application.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Exception.h"
#include "toolkit/Form.h"
#include "toolkit/FormLayout.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Timer.h"

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
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(Application.Title(), TitleFromExeName(path));
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

TEST(MessageBoxKinds, MapToInformationIconAndButtonSets)
{
    EXPECT_EQ(MessageBoxFlags(1), 64u);
    EXPECT_EQ(MessageBoxFlags(2), 68u);
    EXPECT_EQ(MessageBoxFlags(3), 67u);
    EXPECT_THROW(MessageBoxFlags(0), Exception);
    EXPECT_THROW(MessageBoxFlags(4), Exception);
}

// What the last answered message box showed.
std::string boxCaption, boxText;
void ReadBox(HWND box)
{
    char text[256] = {};
    GetWindowTextA(box, text, sizeof text);
    boxCaption = text;
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the platform's message text control
    boxText = text;
}

TEST(MessageBoxKinds, ShowsTheTextUnderTheApplicationTitleAndReturnsTheButton)
{
    TestOwnerWindow owner;
    {
        ModalCloser closer(IDNO, &ReadBox);
        EXPECT_EQ(ShowMessageBox("'Res.dll' is not found. Please reinstall this program.", 2), IDNO);
        EXPECT_TRUE(closer.Found());
    }
    EXPECT_EQ(boxCaption, Application.Title());
    EXPECT_EQ(boxText, "'Res.dll' is not found. Please reinstall this program.");
    ModalCloser closer(IDCANCEL);
    EXPECT_EQ(ShowMessageBox("Three buttons", 3), IDCANCEL);
}

TEST(ErrorHandling, WithoutAHookTheErrorBoxShowsTheMessageWithItsFullStop)
{
    TestOwnerWindow owner;
    ModalCloser closer(IDOK, &ReadBox);
    Application.HandleException(std::make_exception_ptr(EWriteError("Unable to write to C:\\x\\DeskTop.Ini")));
    EXPECT_TRUE(closer.Found());
    EXPECT_EQ(boxCaption, Application.Title());
    EXPECT_EQ(boxText, "Unable to write to C:\\x\\DeskTop.Ini.");
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
