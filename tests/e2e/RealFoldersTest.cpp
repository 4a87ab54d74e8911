// Quorrel.exe on folders as users have them: names in any script beside look-alike siblings,
// Windows' own UTF-16 settings files and an older tool's legacy one, a tree deeper than the old
// path limit, folders that cannot be changed, and a full disk. What is checked is what the user
// gets: the files, the boxes and the exit code.
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"
#include "engine/SettingsFiles.h"
#include "SmallVolume.h"
#include "support/Screenshots.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <map>

namespace {

constexpr const char* kControlPanel = "{21EC2020-3AEA-1069-A2DD-08002B30309D}";
constexpr POINT kOk{261 + 54, 293 + 19};
constexpr POINT kCancel{370 + 54, 293 + 19};
constexpr POINT kPretendButton{368 + 54, 232 + 19};

// A window's whole text, however long (a box naming several deep folders runs past a kilobyte).
std::string FullText(HWND window)
{
    std::wstring text(16384, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &length);
    text.resize(length);
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), int(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::string BoxText(HWND box)
{
    std::string text;
    for (HWND label : ChildrenOfClass(box, "Static"))
        if (const std::string part = FullText(label); !part.empty())
            text += (text.empty() ? "" : "\n") + part;
    return text;
}

// The box as the user sees it, saved beside the other tests' screenshots.
void SaveScreenshot(HWND window, const std::string& name)
{
    const std::string folder = ScreenshotFolder();
    RECT r{};
    if (folder.empty() || !GetWindowRect(window, &r))
        return;
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    const ScopedWindowDC screen(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
    shot.SaveToFile(folder + name + ".bmp");
}

// A verb start that asks nothing: it ends with exit code 0 and shows no window meanwhile.
void ExpectQuietEnd(ProgramRun& run)
{
    while (run.Running()) {
        for (HWND w : run.Windows()) {
            ADD_FAILURE() << "a window showed: \"" << WindowText(w) << "\" " << BoxText(w);
            return;
        }
        Pause(5);
    }
    EXPECT_EQ(run.WaitForExit(), 0u);
}

// The Pretend dialog of a run, its target set to the Control Panel and confirmed.
void PretendControlPanel(ProgramRun& run, bool applyToFolder = false)
{
    HWND dialog = run.WaitForWindow(Titled("Pretend Folder"));
    ASSERT_NE(dialog, nullptr);
    SendMessageA(ButtonCaptioned(dialog, "Control Panel"), BM_CLICK, 0, 0);
    if (applyToFolder)
        SendMessageA(ButtonCaptioned(dialog, "Apply to folder"), BM_CLICK, 0, 0);
    ClickAt(ChildAt(dialog, kOk), {54, 19});
}

// The program's error box, its text, pressed away; then the program goes on or ends.
std::string ErrorBoxOf(ProgramRun& run, const std::string& screenshot = {})
{
    HWND box = run.WaitForMessageBox(60000);
    if (!box)
        return "<no box>";
    const std::string text = BoxText(box);
    if (!screenshot.empty())
        SaveScreenshot(box, screenshot);
    PressDialogButton(box, IDOK);
    return text;
}

// Ends a run that may have gone on to its main window.
void CloseMainWindowIfAny(ProgramRun& run)
{
    if (HWND main = run.WaitForWindow(IsMainWindow, 3000))
        PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

std::string OurFile(const std::string& tip)
{
    return "[.ShellClassInfo]\r\nInfotip=" + tip + "\r\n";
}

} // namespace

TEST(RealFolders, NamesInAnyScriptReachTheirFolderAndLeaveLookAlikesAlone)
{
    const ProgramCopy program;
    const TempDir temp;
    // Each pair: the folder worked on, and the sibling its name would turn into through a code
    // page that lacks it ("?" patterns or best-fit look-alikes).
    const std::pair<const char*, const char*> pairs[] = {
        {"Фото", "Café"}, {"Ωmega", "Omega"}, {"写真", "xx"}, {"🙂 smile", "__ smile"}};
    std::map<std::string, std::string> bytes;
    for (const auto& [name, sibling] : pairs)
        for (const char* folder : {name, sibling}) {
            temp.MakeDir(folder);
            bytes[folder] = OurFile(folder);
            temp.WriteFile(std::string(folder) + "\\" + kSettings, bytes[folder]);
        }
    for (const auto& [name, sibling] : pairs) {
        SCOPED_TRACE(name);
        {
            ProgramRun run(program, "Pretend " + Quoted(temp.Path() + name));
            PretendControlPanel(run);
            EXPECT_EQ(run.WaitForExit(), 0u);
        }
        EXPECT_EQ(ValueInFile(temp.Path() + name + "\\" + kSettings, ".ShellClassInfo", "CLSID"), kControlPanel);
        {
            ProgramRun run(program, "Default " + Quoted(temp.Path() + name));
            ExpectQuietEnd(run);
        }
        EXPECT_FALSE(FileExists(temp.Path() + name + "\\" + kSettings));
    }
    for (const auto& [name, sibling] : pairs)
        EXPECT_EQ(ReadFileBytes(temp.Path() + sibling + "\\" + kSettings), bytes[sibling]) << sibling;
}

TEST(RealFolders, WindowsOwnFileKeepsItsEntriesThroughAdornPretendAndDefault)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Документы");
    const std::string file = temp.WriteFile("Документы\\desktop.ini", Utf16File(kDocumentsIni));
    const std::string original = ReadFileBytes(file);

    {
        // Cancel writes nothing.
        ProgramRun run(program, "Adorn " + Quoted(folder));
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr);
        ClickAt(ChildAt(dialog, kCancel), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(file), original);
    }
    {
        ProgramRun run(program, "Adorn " + Quoted(folder));
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr);
        const std::vector<HWND> edits = ChildrenOfClass(dialog, "Edit");
        ASSERT_EQ(edits.size(), 1u);
        SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u041f\u0440\u0438\u0432\u0435\u0442 \U0001F642"));
        ClickAt(ChildAt(dialog, kOk), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    ASSERT_TRUE(ReadFileBytes(file).starts_with("\xFF\xFE")) << "Windows' file stays UTF-16";
    EXPECT_EQ(ValueInFile(file, ".ShellClassInfo", "Infotip"), "Привет 🙂");
    EXPECT_EQ(ValueInFile(file, ".ShellClassInfo", "LocalizedResourceName"),
              "@%SystemRoot%\\system32\\shell32.dll,-21770");
    {
        ProgramRun run(program, "Pretend " + Quoted(folder));
        PretendControlPanel(run);
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    EXPECT_EQ(ValueInFile(file, ".ShellClassInfo", "CLSID"), kControlPanel);
    EXPECT_EQ(ValueInFile(file, "LocalizedFileNames", "Фото.jpg"), "@%SystemRoot%\\system32\\shell32.dll,-21779");
    {
        ProgramRun run(program, "Default " + Quoted(folder));
        ExpectQuietEnd(run);
    }
    EXPECT_EQ(WithoutBlankLines(TextOfUtf16File(ReadFileBytes(file))), WithoutBlankLines(kDocumentsIni))
        << "Default gives Windows its own file back";
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"desktop.ini"});
}

TEST(RealFolders, ALegacyFileShowsItsTextAndIsWrittenInUtf16WithNothingLost)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Old");
    // An older tool's file in code page 1252: "Café", "René".
    const std::string legacy = "[.ShellClassInfo]\r\nInfotip=Caf\xE9\r\n[OtherTool]\r\nOwner=Ren\xE9\r\n";
    const std::string file = temp.WriteFile("Old\\DeskTop.Ini", legacy);
    {
        ProgramRun run(program, "Adorn " + Quoted(folder));
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr);
        const std::vector<HWND> edits = ChildrenOfClass(dialog, "Edit");
        ASSERT_EQ(edits.size(), 1u);
        EXPECT_EQ(FullText(edits[0]), "Café") << "the tip as the older tool wrote it";
        ClickAt(ChildAt(dialog, kCancel), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(file), legacy) << "Cancel writes nothing";
    {
        ProgramRun run(program, "Adorn " + Quoted(folder));
        HWND dialog = run.WaitForWindow(Titled("Adorn Folder"));
        ASSERT_NE(dialog, nullptr);
        ClickAt(ChildAt(dialog, kOk), {54, 19});
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    const std::string text = TextOfUtf16File(ReadFileBytes(file));
    EXPECT_NE(text.find("Infotip=Café\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[OtherTool]\r\nOwner=René\r\n"), std::string::npos) << text;
}

namespace {

// A tree whose deepest folders lie past the old path limit: a chain of levels with leaves at
// each, hundreds of folders in all.
struct DeepTree {
    TempDir temp;
    std::string root = temp.MakeDir("Deep");
    std::vector<std::string> folders;
    DeepTree()
    {
        std::string chain = "Deep\\";
        for (int level = 0; chain.size() < 330; ++level) {
            chain += "уровень " + std::to_string(level) + "\\";
            folders.push_back(temp.MakeDir(chain));
            for (int leaf = 0; leaf < 20; ++leaf)
                folders.push_back(temp.MakeDir(chain + "leaf " + std::to_string(leaf)));
        }
    }
};

} // namespace

TEST(RealFolders, ApplyToFolderAndDefaultReachEveryFolderOfADeepTree)
{
    const ProgramCopy program;
    const DeepTree tree;
    ASSERT_GE(tree.folders.size(), 300u);
    ASSERT_GT(std::max_element(tree.folders.begin(), tree.folders.end(),
                               [](auto& a, auto& b) { return a.size() < b.size(); })
                  ->size(),
              300u);
    {
        ProgramRun run(program, "Pretend " + Quoted(tree.root));
        PretendControlPanel(run, true);
        EXPECT_EQ(run.WaitForExit(60000), 0u);
    }
    const std::string bytes = ReadFileBytes(tree.root + kSettings);
    for (const auto& folder : tree.folders)
        ASSERT_EQ(ReadFileBytes(folder + kSettings), bytes) << folder;

    // Default from the main window with "Apply to folder" ticked takes every copy back.
    ProgramRun run(program, "");
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    RemoteTree remote(ChildrenOfClass(main, WC_TREEVIEWA).at(0), run.Process());
    HTREEITEM node = remote.FindPath(tree.root);
    ASSERT_NE(node, nullptr);
    remote.Select(node);
    SendMessageA(ButtonCaptioned(main, "Apply to folder"), BM_CLICK, 0, 0);
    ClickAt(ChildAt(main, kDefaultButton), {54, 19});
    // The walk goes in the order the folders are listed, which need not be this test's order:
    // the work is over when no folder has the file any more.
    EXPECT_TRUE(WaitFor(
        [&] {
            return std::none_of(tree.folders.begin(), tree.folders.end(),
                                [](const std::string& folder) { return FileExists(folder + kSettings); });
        },
        60000));
    for (const auto& folder : tree.folders)
        EXPECT_FALSE(FileExists(folder + kSettings)) << folder;
    EXPECT_FALSE(FileExists(tree.root + kSettings));
    EXPECT_EQ(run.WaitForMessageBox(500), nullptr) << "nothing to report";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(RealFolders, FoldersThatCannotBeChangedAreNamedInOneBoxAfterTheRestIsDone)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string root = temp.MakeDir("Mixed");
    std::vector<std::string> plain;
    for (int i = 0; i < 8; ++i)
        plain.push_back(temp.MakeDir("Mixed\\plain " + std::to_string(i)));
    const std::string inTheWay = temp.MakeDir("Mixed\\odd");
    temp.MakeDir("Mixed\\odd\\DeskTop.Ini");
    const std::string inUse = temp.MakeDir("Mixed\\busy");
    temp.WriteFile("Mixed\\busy\\DeskTop.Ini", OurFile("busy"));
    const std::string trimmed = root.substr(0, root.size() - 1);

    // Pretend with "Apply to folder": the folder in the way is named, every other one is done.
    {
        ProgramRun run(program, "Pretend " + Quoted(root));
        PretendControlPanel(run, true);
        EXPECT_EQ(ErrorBoxOf(run, "error-folders-not-changed"),
                  "1 of 12 folders could not be changed:\n\n" + trimmed + "\\odd: A folder named DeskTop.Ini is in the way.");
        CloseMainWindowIfAny(run);
    }
    for (const auto& folder : plain)
        EXPECT_EQ(ValueInFile(folder + kSettings, ".ShellClassInfo", "CLSID"), kControlPanel) << folder;

    // Default with "Apply to folder" while another program holds busy's file: all else goes.
    {
        const ScopedFile lock(CreateFileA((inUse + kSettings).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
        ASSERT_TRUE(lock);
        ProgramRun run(program, "");
        HWND main = run.WaitForWindow(IsMainWindow);
        ASSERT_NE(main, nullptr);
        RemoteTree remote(ChildrenOfClass(main, WC_TREEVIEWA).at(0), run.Process());
        HTREEITEM node = remote.FindPath(root);
        ASSERT_NE(node, nullptr);
        remote.Select(node);
        SendMessageA(ButtonCaptioned(main, "Apply to folder"), BM_CLICK, 0, 0);
        ClickAt(ChildAt(main, kDefaultButton), {54, 19});
        const std::string text = ErrorBoxOf(run);
        EXPECT_TRUE(text.starts_with("1 of 12 folders could not be changed:\n\n" + trimmed + "\\busy: ")) << text;
        // The program goes on: the main window answers.
        DWORD_PTR result = 0;
        EXPECT_TRUE(WaitFor([&] {
            return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result) != 0 &&
                   run.WaitForMessageBox(100) == nullptr;
        }));
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.WaitForExit(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(inUse + kSettings), OurFile("busy"));
    EXPECT_FALSE(FileExists(root + kSettings));
    for (const auto& folder : plain)
        EXPECT_FALSE(FileExists(folder + kSettings)) << folder;
}

TEST(RealFolders, AFullDiskGivesTheErrorAndLeavesTheFileAsItWas)
{
    SmallVolume volume;
    if (!volume.Unavailable().empty())
        GTEST_SKIP() << "no small volume: " << volume.Unavailable();
    const ProgramCopy program;
    // By its own drive letter, whose volume tells nothing about itself (no label, no serial).
    const std::string folder = volume.Root() + "Full\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string before = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nInfotip=kept\r\n[ViewState]\r\nMode=4\r\n";
    {
        std::ofstream out(folder + kSettings, std::ios::binary);
        out << before;
    }
    ASSERT_EQ(volume.Fill(0), 0u);
    ProgramRun run(program, "Pretend " + Quoted(folder.substr(0, folder.size() - 1)));
    PretendControlPanel(run);
    EXPECT_EQ(ErrorBoxOf(run, "error-full-disk"), "Unable to write to " + folder + kSettings + ".");
    CloseMainWindowIfAny(run);
    EXPECT_EQ(ReadFileBytes(folder + kSettings), before);
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{kSettings}) << "no stray copy";
}

TEST(RealFolders, AChosenFolderPastTheOldLimitIsChanged)
{
    const ProgramCopy program;
    const TempDir temp;
    std::string relative;
    while (relative.size() < 300)
        relative += "a folder of a deep tree\\";
    const std::string folder = temp.MakeDir(relative);
    temp.WriteFile(relative + kSettings, OurFile("deep"));
    temp.MakeDir(relative + "below");
    temp.WriteFile(relative + "below\\" + kSettings, OurFile("below"));
    ProgramRun run(program, "Default " + Quoted(folder.substr(0, folder.size() - 1)));
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(folder + kSettings));
    EXPECT_TRUE(FileExists(folder + "below\\" + kSettings)) << "only the chosen folder";
}
