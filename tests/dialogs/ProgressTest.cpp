#include "DialogFixture.h"
#include "dialogs/Pretend.h"
#include "dialogs/Progress.h"
#include "engine/FolderSettings.h"
#include "skin/BmpButton.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/Button.h"
#include "toolkit/controls/RadioButton.h"
#include "engine/BaseFile.h"
#include "engine/DisguiseTargets.h"

#include <set>
#include <stdexcept>

namespace {

// A clock that moves on by a fixed step each time it is read: the work seems to take as long
// as its number of reports says, however fast this machine is.
class SteppingClock {
public:
    explicit SteppingClock(std::uint64_t step) : step_(step) {}
    TMillisecondClock Clock()
    {
        return [this] { return now_ += step_; };
    }

private:
    std::uint64_t step_, now_ = 0;
};

// The default clock of the scopes the dialogs make, for one test.
class DefaultClockScope {
public:
    explicit DefaultClockScope(TMillisecondClock clock) { TProgressScope::SetDefaultClock(std::move(clock)); }
    ~DefaultClockScope() { TProgressScope::SetDefaultClock({}); }
};

// What a timer saw while the work ran: a timer that runs at all shows that messages were
// handled during the work.
struct Sample {
    bool windowShown;
    std::string count;
    std::string folder;
    bool dialogEnabled;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM result) noexcept
{
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && Application.Title() == text) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The visible window of this thread captioned with the application title.
HWND ProgressWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTitled, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Subfolders A0 .. A<n-1> of the folder, each with `deep` folders inside.
void MakeTree(TempDir& dir, int wide, int deep)
{
    for (int a = 0; a < wide; ++a) {
        dir.MakeDir("Folder\\A" + std::to_string(a));
        for (int b = 0; b < deep; ++b)
            dir.MakeDir("Folder\\A" + std::to_string(a) + "\\B" + std::to_string(b));
    }
}

class ProgressWindowTest : public DialogTest {
protected:
    // The folder with `wide` subfolders of `deep` folders each, applied to with its subfolders.
    void LoadTree(int wide, int deep)
    {
        LoadFolder("[.ShellClassInfo]\r\nInfotip=old\r\n");
        MakeTree(dir, wide, deep);
        TheFolderCtrl->SetApplyToSubfolders(true);
    }
    // A window standing for the main window.
    static std::unique_ptr<TForm> OtherWindow()
    {
        auto other = MakeForm<TForm>();
        other->SetBounds(20, 20, 200, 100);
        other->Show();
        return other;
    }
};

TEST_F(ProgressWindowTest, LongApplyShowsItsProgressOverTheDisabledDialog)
{
    LoadTree(40, 49); // 40 + 40 x 49 = 2,000 subfolders
    SteppingClock clock(20);
    DefaultClockScope useIt(clock.Clock());

    auto form = MakeForm<TFormPretend>();
    std::vector<Sample> samples;
    bool shot = false;
    TTimer sampler;
    sampler.SetInterval(10);
    sampler.SetOnTimer([&](TObject*) {
        const HWND window = ProgressWindow();
        if (!form->Visible())
            return;
        auto* progress = dynamic_cast<TFormProgress*>(Application.FormOfWindow(window));
        samples.push_back({window != nullptr, progress ? progress->CountText() : "",
                           progress ? progress->FolderText() : "", IsWindowEnabled(form->Handle()) != FALSE});
        if (progress && !shot && progress->Done() > progress->Total() / 2) {
            shot = true;
            auto picture = CaptureWindow(form->Handle(), 10);
            SaveScreenshot(*picture, "progress");
        }
    });
    EXPECT_EQ(RunModal(*form, {[&] {
                                   SendMessageA(form->RadioButton(3).Handle(), BM_CLICK, 0, 0);
                                   return true;
                               },
                               Click(*form, form->BmpButton(1))}),
              mrOk);
    sampler.SetEnabled(false);

    std::set<std::string> counts;
    int shownSamples = 0;
    for (const Sample& s : samples) {
        if (!s.windowShown)
            continue;
        ++shownSamples;
        counts.insert(s.count);
        EXPECT_FALSE(s.dialogEnabled) << "the dialog takes no input while the work runs";
        EXPECT_NE(s.count.find(" of 2,000 folders"), std::string::npos) << s.count;
        EXPECT_EQ(s.folder.rfind(folder, 0), 0u) << s.folder;
    }
    EXPECT_GT(shownSamples, 0) << "the window showed and messages were handled meanwhile";
    EXPECT_GE(counts.size(), 2u) << "its count moved on";
    EXPECT_TRUE(shot);
    EXPECT_EQ(ProgressWindow(), nullptr) << "gone with the work";
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(FileExists(folder + "A39\\B48\\" + SettingsFileName));
}

TEST_F(ProgressWindowTest, ShortWorkShowsNoWindowAndDisablesNothing)
{
    LoadTree(3, 0);
    // Each of the four reports (the list, then three folders) comes 100 ms after the one
    // before: the work is over before half a second.
    SteppingClock clock(100);
    const auto other = OtherWindow();
    bool everShown = false, otherEverDisabled = false;
    TheFolderCtrl->OnProgress = [&](std::size_t, std::size_t, const std::string&) {
        everShown = everShown || ProgressWindow() != nullptr;
        otherEverDisabled = otherEverDisabled || !IsWindowEnabled(other->Handle());
    };
    {
        TProgressScope progress(*TheFolderCtrl, clock.Clock());
        TheFolderCtrl->ApplySettings("");
        EXPECT_EQ(progress.Window(), nullptr);
    }
    EXPECT_FALSE(everShown);
    EXPECT_FALSE(otherEverDisabled);
    EXPECT_TRUE(FileExists(folder + "A2\\" + SettingsFileName));
}

TEST_F(ProgressWindowTest, FailedWorkTakesTheWindowAwayAndGivesTheWindowsBack)
{
    LoadTree(100, 0);
    SteppingClock clock(100);
    const auto other = OtherWindow();
    bool shownWhenItFailed = false;
    // A listener that stops the walk part of the way, as a failing step would.
    TProgressEvent stopper = [&](std::size_t done, std::size_t, const std::string&) {
        if (done == 60) {
            shownWhenItFailed = ProgressWindow() != nullptr && !IsWindowEnabled(other->Handle());
            throw std::runtime_error("stopped");
        }
    };
    TheFolderCtrl->OnProgress = stopper;
    {
        TProgressScope progress(*TheFolderCtrl, clock.Clock());
        EXPECT_THROW(TheFolderCtrl->ApplySettings(""), std::runtime_error);
    }
    EXPECT_TRUE(shownWhenItFailed);
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    ASSERT_TRUE(TheFolderCtrl->OnProgress) << "the listener from before is back";
    EXPECT_THROW(TheFolderCtrl->OnProgress(60, 100, folder), std::runtime_error);
}

TEST_F(ProgressWindowTest, AQuitAskedForDuringTheWorkReachesTheLoopAfterIt)
{
    LoadTree(300, 0);
    SteppingClock clock(100);
    bool posted = false;
    TheFolderCtrl->OnProgress = [&](std::size_t, std::size_t, const std::string&) {
        if (!posted && ProgressWindow()) {
            posted = true;
            PostQuitMessage(3);
        }
    };
    {
        TProgressScope progress(*TheFolderCtrl, clock.Clock());
        TheFolderCtrl->ApplySettings("");
    }
    ASSERT_TRUE(posted);
    EXPECT_TRUE(FileExists(folder + "A299\\" + SettingsFileName)) << "the work went on to its end";
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// How many folders below the chosen one were changed, checking that none is half changed: a
// folder has the whole settings file (the same in each) with its attributes, or neither.
std::size_t ChangedSubfolders(const std::string& root, const std::string& clsid)
{
    std::size_t changed = 0;
    std::string first;
    for (const std::string& sub : TBaseFile().GetAllSubfolders(root)) {
        const std::string file = sub + SettingsFileName;
        const DWORD fileAttributes = GetFileAttributesA(file.c_str());
        const DWORD folderAttributes = GetFileAttributesA(sub.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE;
        if (fileAttributes == INVALID_FILE_ATTRIBUTES) {
            EXPECT_EQ(folderAttributes, DWORD(FILE_ATTRIBUTE_DIRECTORY)) << sub;
            continue;
        }
        ++changed;
        const std::string bytes = ReadFileBytes(file);
        if (first.empty())
            first = bytes;
        EXPECT_EQ(bytes, first) << sub;
        EXPECT_NE(bytes.find("CLSID=" + clsid), std::string::npos) << sub;
        EXPECT_EQ(fileAttributes & ~FILE_ATTRIBUTE_ARCHIVE, DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) << sub;
        EXPECT_EQ(folderAttributes, DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) << sub;
    }
    return changed;
}

// Posts a left click at the middle of a window, as the mouse would.
void PostClickOn(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

TEST_F(ProgressWindowTest, CancelStopsAfterTheFolderInHandAndSaysWhatWasChanged)
{
    LoadTree(40, 49); // 2,000 subfolders
    SteppingClock clock(20);
    DefaultClockScope useIt(clock.Clock());
    auto form = MakeForm<TFormPretend>();
    bool pressed = false;
    std::string buttonText;
    bool focusOnCancel = false;
    TTimer sampler;
    sampler.SetInterval(10);
    sampler.SetOnTimer([&](TObject*) {
        auto* progress = dynamic_cast<TFormProgress*>(Application.FormOfWindow(ProgressWindow()));
        if (pressed || !progress || progress->Done() < 300)
            return;
        pressed = true;
        const HWND cancel = progress->CancelButton().Handle();
        char text[32] = {};
        GetWindowTextA(cancel, text, sizeof text);
        buttonText = text;
        focusOnCancel = GetFocus() == cancel;
        // Input for any other window is dropped meanwhile: Esc to the dialog does not cancel it.
        PostMessageA(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostClickOn(cancel);
    });
    std::string message;
    HWND messageOwner = nullptr;
    EXPECT_EQ(RunModal(*form, {[&] {
                                   SendMessageA(form->RadioButton(3).Handle(), BM_CLICK, 0, 0);
                                   return true;
                               },
                               Click(*form, form->BmpButton(1)),
                               AnswerBox(Application.Title(), "Stopped:", IDOK, &message,
                                         [&](HWND box) { messageOwner = GetWindow(box, GW_OWNER); })}),
              mrOk);
    EXPECT_EQ(messageOwner, form->Handle()) << "the message belongs to the dialog the work came from";
    sampler.SetEnabled(false);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(buttonText, "Cancel");
    EXPECT_TRUE(focusOnCancel) << "Enter, Space or Esc stop it straight away";
    const std::size_t changed = ChangedSubfolders(folder, DisguiseTargets[2].Clsid);
    EXPECT_GE(changed, 300u);
    EXPECT_LT(changed, 2000u);
    EXPECT_EQ(message, "Stopped: " + std::to_string(changed + 1) + " of 2001 folders were changed. " +
                           std::to_string(2000 - changed) + " were left as they were.");
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(ProgressWindowTest, EscOrClosingTheProgressWindowStopsARestoreToo)
{
    LoadTree(300, 0);
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "Esc");
        TheFolderCtrl->OnProgress = nullptr;
        TheFolderCtrl->ApplySettings("");
        SteppingClock clock(100);
        DefaultClockScope useIt(clock.Clock());
        bool asked = false;
        TheFolderCtrl->OnProgress = [&](std::size_t done, std::size_t, const std::string&) {
            const HWND window = ProgressWindow();
            if (asked || !window || done < 100)
                return;
            asked = true;
            if (close)
                PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        };
        std::string message;
        ModalCloser answer(ExpectedWindow{Application.Title(), "", IDOK, [&](HWND box) { message = BoxText(box); }});
        RunWithProgress(*TheFolderCtrl, [] { TheFolderCtrl->RestoreDefault(); });
        ASSERT_TRUE(asked);
        std::size_t left = 0;
        for (int a = 0; a < 300; ++a)
            left += FileExists(folder + "A" + std::to_string(a) + "\\" + SettingsFileName);
        EXPECT_GT(left, 0u);
        EXPECT_LT(left, 200u);
        EXPECT_EQ(message, "Stopped: " + std::to_string(301 - left) + " of 301 folders were changed. " +
                               std::to_string(left) + " were left as they were.");
        EXPECT_TRUE(answer.Found());
    }
}

TEST(ProgressWindowText, LongFoldersAreShortenedInTheMiddleKeepingTheirName)
{
    TFormProgress form(nullptr);
    form.SetProgress(1, 3, "C:\\Short\\");
    EXPECT_EQ(form.FolderText(), "C:\\Short");
    EXPECT_EQ(form.CountText(), "1 of 3 folders");
    std::string deep = "C:\\";
    for (int i = 0; i < 30; ++i)
        deep += "Level " + std::to_string(i) + "\\";
    form.SetProgress(2, 3, deep + "The folder's own name\\");
    const std::string shown = form.FolderText();
    EXPECT_LT(shown.size(), deep.size());
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 22), "\\The folder's own name") << shown;
    EXPECT_EQ(shown.rfind("C:\\", 0), 0u) << shown;
}

} // namespace
