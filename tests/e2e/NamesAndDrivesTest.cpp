// Quorrel.exe on folders named in any script, beside look-alike siblings that must stay as they
// are, started as Explorer starts it (a UTF-16 command line); on mapped drive letters; and on
// paths that name no folder exactly.
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"
#include "engine/EngineGuards.h"
#include "support/Screenshots.h"
#include "support/ShellNotifications.h"
#include "toolkit/core/PathText.h"
#include "toolkit/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

const std::string kPhotos = "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE";         // Фото
const std::string kCafe = "Caf\xC3\xA9";                                 // Café
const std::string kOmega = "\xCE\xA9mega";                               // Ωmega
const std::string kTest = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";        // テスト
const std::string kEmoji = "\xF0\x9F\x93\x81 Ordner";                    // an emoji and a word
constexpr const char* kControlPanel = "{21EC2020-3AEA-1069-A2DD-08002B30309D}";
constexpr POINT kOk{261 + 54, 293 + 19};
constexpr POINT kCancel{370 + 54, 293 + 19};

// Each folder with a settings file of its own, whose bytes the tests compare afterwards.
struct NamedFolders {
    TempDir temp;
    std::map<std::string, std::string> bytes;
    explicit NamedFolders(std::initializer_list<std::string> names)
    {
        for (const std::string& name : names) {
            temp.MakeDir(name);
            bytes[name] = "[.ShellClassInfo]\r\nInfoTip=" + name + "\r\n";
            temp.WriteFile(name + "\\" + kSettings, bytes[name]);
        }
    }
    std::string Path(const std::string& name) const { return temp.Path() + name + "\\"; }
    // Every folder but those named keeps its file byte for byte.
    void ExpectUntouchedBut(std::initializer_list<std::string> changed) const
    {
        for (const auto& [name, content] : bytes) {
            if (std::find(changed.begin(), changed.end(), name) == changed.end()) {
                EXPECT_EQ(ReadFileBytes(Path(name) + kSettings), content) << name;
            }
        }
    }
};

// The error box of a refused path, answered, then the main window as in a window start, closed.
void ExpectRefusedThenMainWindow(ProgramRun& run, const std::string& path)
{
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << path;
    EXPECT_EQ(MessageBoxText(box), "Error setting path: \"" + path + "\"");
    PressDialogButton(box, IDOK);
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr) << path;
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

// The visible Select and Clear buttons of the dialog's current page, top first.
std::vector<HWND> PageButtons(HWND dialog)
{
    std::vector<HWND> found;
    for (HWND child : ChildrenOfClass(dialog, ClassOf(ChildAt(dialog, kOk)))) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (IsWindowVisible(child) && r.right - r.left == 108 && r.bottom - r.top == 38 && r.top < 280)
            found.push_back(child);
    }
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top < rb.top;
    });
    return found;
}

// The next page of the dialog's tabs, as the arrow key chooses it.
void NextPage(HWND dialog)
{
    const std::vector<HWND> tabs = ChildrenOfClass(dialog, WC_TABCONTROLA);
    ASSERT_EQ(tabs.size(), 1u);
    const LRESULT before = SendMessageA(tabs[0], TCM_GETCURSEL, 0, 0);
    PostMessageA(tabs[0], WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageA(tabs[0], WM_KEYUP, VK_RIGHT, 0xC0000000);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(tabs[0], TCM_GETCURSEL, 0, 0) == before + 1; }, 3000));
}

// A free drive letter for a mapping of the test's own.
char FreeDriveLetter()
{
    const DWORD used = GetLogicalDrives();
    for (char letter = 'P'; letter <= 'Y'; ++letter)
        if (!(used & (1u << (letter - 'A'))))
            return letter;
    return 0;
}

} // namespace

TEST(AnyName, DefaultOnAFolderOfAnyScriptRestoresItAndNoLookAlike)
{
    const ProgramCopy program;
    const NamedFolders folders{kPhotos, kCafe, kOmega, "Omega", kEmoji};
    for (const std::string& name : {kPhotos, kOmega, kEmoji}) {
        ProgramRun run(program, "Default " + Quoted(folders.Path(name)));
        EXPECT_EQ(run.WaitForExit(), 0u) << name;
        EXPECT_FALSE(FileExists(folders.Path(name) + kSettings)) << name;
    }
    folders.ExpectUntouchedBut({kPhotos, kOmega, kEmoji});
}

TEST(AnyName, PretendOnAFolderOfAnyScriptWritesItsOwnFileOnly)
{
    const ProgramCopy program;
    const NamedFolders folders{kTest, kPhotos, kCafe};
    ProgramRun run(program, "Pretend " + Quoted(folders.Path(kPhotos)));
    HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    SendMessageA(ButtonCaptioned(dialog, "Control Panel"), BM_CLICK, 0, 0);
    ClickAt(ChildAt(dialog, kOk), {54, 19});
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_EQ(SettingOf(folders.Path(kPhotos), ".ShellClassInfo", "CLSID"), kControlPanel);
    folders.ExpectUntouchedBut({kPhotos});
}

// The tip typed, the colour chosen and the picture picked (its path in any script too) reach
// the folder's own file; the pickers work with no main window to own them.
TEST(AnyName, AdornOnAFolderOfAnyScriptWritesTipColourAndPictureThere)
{
    const ProgramCopy program;
    const NamedFolders folders{kOmega, "Omega", kCafe};
    const std::string picture = folders.temp.Path() + kPhotos + " " + kTest + ".bmp";
    TBitmap(4, 3).SaveToFile(picture);
    const std::string tip = kPhotos + " " + kOmega + " " + kTest + " " + kEmoji;

    ProgramRun run(program, "Adorn " + Quoted(folders.Path(kOmega)));
    HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TabCount(dialog), 4);
    NextPage(dialog); // Tip
    const std::vector<HWND> edits = ChildrenOfClass(dialog, "Edit");
    ASSERT_EQ(edits.size(), 1u);
    SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AnsiToWide(tip).c_str()));

    NextPage(dialog); // Text color
    std::vector<HWND> buttons = PageButtons(dialog);
    ASSERT_EQ(buttons.size(), 2u);
    ClickAt(buttons[0], {54, 19});
    HWND colour = run.WaitForWindow(Titled("Color"));
    ASSERT_NE(colour, nullptr);
    SetDlgItemInt(colour, 706, 0, FALSE);
    SetDlgItemInt(colour, 707, 0, FALSE);
    SetDlgItemInt(colour, 708, 255, FALSE);
    PressDialogButton(colour, IDOK);
    ASSERT_TRUE(run.WaitUntilGone(colour));

    NextPage(dialog); // Background
    buttons = PageButtons(dialog);
    ASSERT_EQ(buttons.size(), 2u);
    ClickAt(buttons[0], {54, 19});
    HWND open = run.WaitForWindow(Titled("Open"));
    ASSERT_NE(open, nullptr);
    const std::wstring widePicture = AnsiToWide(picture);
    SetDlgItemTextW(open, 0x47c, widePicture.c_str());
    SetDlgItemTextW(open, 0x480, widePicture.c_str());
    PressDialogButton(open, IDOK);
    ASSERT_TRUE(run.WaitUntilGone(open));

    ClickAt(ChildAt(dialog, kOk), {54, 19});
    EXPECT_EQ(run.WaitForExit(), 0u);
    const std::string area = "{BE098140-A513-11D0-A3A4-00C04FD706EC}";
    EXPECT_EQ(SettingOf(folders.Path(kOmega), ".ShellClassInfo", "InfoTip"), tip);
    EXPECT_EQ(SettingOf(folders.Path(kOmega), area.c_str(), "IconArea_Text"), "0x00FF0000");
    EXPECT_EQ(SettingOf(folders.Path(kOmega), area.c_str(), "IconArea_Image"), picture);
    folders.ExpectUntouchedBut({kOmega});
}

// "?" is what a name the code page cannot carry turns into, and "*" matches too: such a path
// is refused before anything looks for it, and the folders it would match keep their files.
TEST(AnyName, APathWithAWildcardIsRefusedAndMatchesNothing)
{
    const ProgramCopy program;
    const NamedFolders folders{kCafe, "Cafe", kOmega, "Omega"};
    for (const char* pattern : {"Caf?", "?mega", "*"}) {
        const std::string path = folders.temp.Path() + pattern;
        ProgramRun run(program, "Default " + Quoted(path));
        ExpectRefusedThenMainWindow(run, path);
    }
    folders.ExpectUntouchedBut({});
}

TEST(AnyName, TheMainWindowsTreeSelectsSuchAFolderAndDefaultRestoresOnlyIt)
{
    const ProgramCopy program;
    const NamedFolders folders{kPhotos + "\\" + kOmega, kPhotos + "\\Omega", kCafe};
    ProgramRun run(program, "");
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    const std::vector<HWND> trees = ChildrenOfClass(main, WC_TREEVIEWA);
    ASSERT_EQ(trees.size(), 1u);
    RemoteTree tree(trees[0], run.Process());
    HTREEITEM node = tree.FindPath(folders.Path(kPhotos + "\\" + kOmega));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(tree.Text(node), kOmega);
    tree.Select(node);
    if (const std::string shots = ScreenshotFolder(); !shots.empty()) {
        Pause(400);
        SaveScreenPicture(main, shots + "main-window-any-script.bmp");
    }
    ClickAt(ChildAt(main, kDefaultButton), {54, 19});
    EXPECT_TRUE(WaitFor([&] { return !FileExists(folders.Path(kPhotos + "\\" + kOmega) + kSettings); }));
    // The parent was read again and the selection kept.
    EXPECT_TRUE(WaitFor([&] { return tree.Selected() && tree.Text(tree.Selected()) == kOmega; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
    folders.ExpectUntouchedBut({kPhotos + "\\" + kOmega});
}

// A drive letter mapped to a folder of the test's own (as a substituted drive), and the drive
// that reaches every folder through its Unix path, whose label and serial Wine cannot read: the
// verbs work on their folders and their roots alike. A verb start asks neither the volume nor
// the shell's parser about the path, only whether the folder is there.
TEST(Drives, VerbStartsWorkOnMappedDrivesAndTheirRoots)
{
    const ProgramCopy program;
    const NamedFolders folders{"Styled", kPhotos, "Plain"};
    const char letter = FreeDriveLetter();
    ASSERT_NE(letter, 0) << "no free drive letter";
    const DriveMapping mapping(letter, folders.temp.Path());
    ASSERT_TRUE(mapping.Made());
    const std::string mapped = std::string(1, letter) + ":\\";
    std::string unixPath = UnixPathOf(folders.temp.Path());
    std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
    const std::string throughZ = "Z:" + unixPath;
    ASSERT_TRUE(FileExists(throughZ + "Plain\\" + kSettings)) << throughZ;

    for (const std::string& folder : {mapped + "Styled", mapped + kPhotos, throughZ + "Plain"}) {
        ProgramRun run(program, "Default " + Quoted(folder));
        EXPECT_EQ(run.WaitForExit(), 0u) << folder;
        EXPECT_FALSE(FileExists(folder + "\\" + kSettings)) << folder;
    }
    for (const std::string& root : {mapped, std::string("Z:\\")}) {
        ProgramRun run(program, "Adorn " + Quoted(root));
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr) << root;
        EXPECT_EQ(TabCount(dialog), 1) << "a drive root takes only an icon";
        ClickAt(ChildAt(dialog, kCancel), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
}
