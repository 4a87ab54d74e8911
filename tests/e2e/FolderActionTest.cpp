// The folder actions of Quorrel.exe, started by the Explorer entries (verb starts) and from the
// main window's buttons, with the folder chosen in the window's tree.
#include "e2e/ProgramRun.h"
#include "e2e/RemoteTree.h"

#include <gtest/gtest.h>

namespace {


// A folder with a settings file and two levels of subfolders, each with a file of its own.
struct CustomisedTree {
    TempDir temp;
    std::string root = temp.MakeDir("Styled");
    std::string child = temp.MakeDir("Styled\\Alpha");
    std::string grandchild = temp.MakeDir("Styled\\Alpha\\Beta");
    CustomisedTree()
    {
        for (const std::string* folder : {&root, &child, &grandchild})
            temp.WriteFile(folder->substr(temp.Path().size()) + kSettings, "[.ShellClassInfo]\r\nInfoTip=styled\r\n");
    }
};

// Waits while the program runs, failing if it makes any window meanwhile, even a hidden one.
void ExpectNoWindowUntilExit(ProgramRun& run)
{
    const DWORD start = GetTickCount();
    while (run.Running() && GetTickCount() - start < 20000) {
        const std::vector<HWND> windows = run.AllWindows();
        for (HWND w : windows)
            ADD_FAILURE() << "a window was made: \"" << WindowText(w) << "\" " << ClassOf(w) << " "
                          << MessageBoxText(w);
        if (!windows.empty())
            return;
        Sleep(1);
    }
}

HWND TreeOf(HWND main)
{
    const std::vector<HWND> trees = ChildrenOfClass(main, WC_TREEVIEWA);
    return trees.size() == 1 ? trees[0] : nullptr;
}

} // namespace

TEST(VerbStart, DefaultRestoresTheFolderAloneAndMakesNoWindow)
{
    const ProgramCopy program;
    const CustomisedTree tree;
    ProgramRun run(program, "Default " + Quoted(tree.root));
    ExpectNoWindowUntilExit(run);
    EXPECT_EQ(run.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(tree.root + kSettings));
    // "Apply to folder" starts unticked: the subfolders keep theirs.
    EXPECT_TRUE(FileExists(tree.child + kSettings));
    EXPECT_TRUE(FileExists(tree.grandchild + kSettings));
}

// Explorer offers its entries on hidden folders too (and on folders inside hidden ones): the
// verb works on them although the window's tree lists no hidden folder.
TEST(VerbStart, DefaultWorksOnAHiddenFolderAndOneInsideIt)
{
    const ProgramCopy program;
    const TempDir temp;
    const std::string bytes = "[.ShellClassInfo]\r\nInfoTip=x\r\n";
    const std::string hidden = temp.MakeDir("Hidden");
    const std::string inside = temp.MakeDir("Hidden\\Inside");
    for (const std::string& folder : {hidden, inside})
        temp.WriteFile(folder.substr(temp.Path().size()) + kSettings, bytes);
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN)) << hidden;
    ASSERT_TRUE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "this file system keeps no hidden bit";
    for (const std::string& folder : {inside, hidden}) {
        ProgramRun run(program, "Default " + Quoted(folder));
        ExpectNoWindowUntilExit(run);
        EXPECT_EQ(run.WaitForExit(), 0u);
        EXPECT_FALSE(FileExists(folder + kSettings)) << folder;
    }

    // A verb start that fails opens the window as a window start does: no hidden folder listed.
    ProgramRun run(program, "Default " + Quoted(temp.Path() + "missing"));
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    PressDialogButton(box, IDOK);
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    HWND treeWindow = TreeOf(main);
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree remote(treeWindow, run.Process());
    temp.MakeDir("Shown");
    const HTREEITEM parent = remote.FindPath(temp.Path());
    ASSERT_NE(parent, nullptr) << temp.Path();
    remote.Expand(parent);
    std::vector<std::string> names;
    for (HTREEITEM child : remote.Children(parent))
        names.push_back(remote.Text(child));
    EXPECT_EQ(names, std::vector<std::string>{"Shown"});
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(VerbStart, AFolderThatIsNotThereGivesTheErrorBoxAndThenTheMainWindow)
{
    const ProgramCopy program;
    const std::string missing = program.Folder() + "no such folder";
    ProgramRun run(program, "Pretend " + Quoted(missing));
    HWND box = run.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Error setting path: \"" + missing + "\"");
    PressDialogButton(box, IDOK);
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

// A path that is not a full one names no folder, whatever the working directory holds: the
// error box, and the folders of that name in the working directory keep their files.
TEST(VerbStart, APathThatIsNotAFullOneGivesTheErrorBoxAndTouchesNothing)
{
    const ProgramCopy program;
    const TempDir working;
    const std::string bytes = "[.ShellClassInfo]\r\nInfoTip=keep\r\n";
    for (const char* relative : {"ab", "x\\y"}) {
        working.MakeDir(relative);
        working.WriteFile(std::string(relative) + "\\" + kSettings, bytes);
        ProgramRun run(program, std::string("Default ") + relative, working.Path());
        HWND box = run.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << relative;
        EXPECT_EQ(MessageBoxText(box), "Error setting path: \"" + std::string(relative) + "\"");
        PressDialogButton(box, IDOK);
        HWND main = run.WaitForWindow(IsMainWindow);
        ASSERT_NE(main, nullptr) << relative;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.WaitForExit(), 0u);
        EXPECT_EQ(ReadFileBytes(working.Path() + relative + "\\" + kSettings), bytes) << relative;
    }
}

TEST(MainWindow, ApplyToFolderTickedWithDefaultRestoresEverySubfolder)
{
    const ProgramCopy program;
    const CustomisedTree tree;
    ProgramRun run(program, "");
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    HWND treeWindow = TreeOf(main);
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree remote(treeWindow, run.Process());
    HTREEITEM node = remote.FindPath(tree.root);
    ASSERT_NE(node, nullptr) << tree.root;
    remote.Select(node);

    const std::vector<HWND> boxes = ChildrenOfClass(main, "Button");
    ASSERT_EQ(boxes.size(), 1u);
    SendMessageA(boxes[0], BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(boxes[0], BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickAt(ChildAt(main, kDefaultButton), {54, 19});

    EXPECT_TRUE(WaitFor([&] { return !FileExists(tree.grandchild + kSettings); }));
    EXPECT_FALSE(FileExists(tree.root + kSettings));
    EXPECT_FALSE(FileExists(tree.child + kSettings));
    // The folder's parent was read again; the folder is still the selected one.
    EXPECT_TRUE(WaitFor([&] { return remote.Selected() && remote.Text(remote.Selected()) == "Styled"; }));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST(MainWindow, AnObjectOutsideTheFileSystemIsLeftAloneByDefault)
{
    const ProgramCopy program;
    const TempDir workingDirectory; // where a relative name would land
    ProgramRun run(program, "", workingDirectory.Path());
    HWND main = run.WaitForWindow(IsMainWindow);
    ASSERT_NE(main, nullptr);
    RemoteTree remote(TreeOf(main), run.Process());
    // The desktop's child that holds the drives: no full path, only a display name.
    ASSERT_NE(remote.FindPath(workingDirectory.Path()), nullptr);
    HTREEITEM computer = nullptr;
    for (HTREEITEM place : remote.Children(remote.Root()))
        for (HTREEITEM child : remote.Children(place))
            if (remote.Text(child).find("C:") != std::string::npos && !computer)
                computer = place;
    ASSERT_NE(computer, nullptr);
    const std::string name = remote.Text(computer);
    workingDirectory.MakeDir(name);
    workingDirectory.WriteFile(name + "\\" + kSettings, "[.ShellClassInfo]\r\n");
    remote.Select(computer);
    ClickAt(ChildAt(main, kDefaultButton), {54, 19});
    Pause(1000);
    EXPECT_TRUE(FileExists(workingDirectory.Path() + name + "\\" + kSettings));
    EXPECT_EQ(remote.Selected(), computer); // nothing was rebuilt
    EXPECT_EQ(run.Windows().size(), 1u);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.WaitForExit(), 0u);
}
