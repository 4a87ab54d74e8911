#pragma once
// The tree control of another process, read and driven by its messages: the item texts are
// read through a buffer in that process, expanding goes through the control (so the owner
// fills the node as it does for the user), and selecting is the control's own selection.
#include "e2e/ProgramRun.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class RemoteTree {
public:
    // `tree` belongs to the process `process` (with rights to read and write its memory).
    RemoteTree(HWND tree, HANDLE process);
    ~RemoteTree();
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    HTREEITEM Root() const;
    HTREEITEM Selected() const;
    std::vector<HTREEITEM> Children(HTREEITEM item) const;
    std::string Text(HTREEITEM item) const;
    void Expand(HTREEITEM item) const;
    void Select(HTREEITEM item) const;
    bool IsExpanded(HTREEITEM item) const;

    // The node of a full file-system path ("C:\users\root\Temp\x\"), found from the desktop
    // down by the names of the drive and of each folder; null when a step is not listed.
    HTREEITEM FindPath(const std::string& path) const;

private:
    HWND tree_;
    HANDLE process_;
    void* remote_ = nullptr;
};

// The main window of a window start with a folder of the test selected in its tree.
class MainWindowOn {
public:
    MainWindowOn(const ProgramCopy& program, const std::string& arguments, const std::string& folder);
    ProgramRun run;
    HWND main = nullptr;
    HWND box = nullptr;
    std::unique_ptr<RemoteTree> tree;
};
