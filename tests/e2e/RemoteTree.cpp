#include "e2e/RemoteTree.h"

#include <cstring>
#include <stdexcept>

namespace {
constexpr SIZE_T kBlock = 4096;
constexpr SIZE_T kTextAt = 512;

bool SameName(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(), int(b.size())) ==
           CSTR_EQUAL;
}
} // namespace

RemoteTree::RemoteTree(HWND tree, HANDLE process) : tree_(tree), process_(process)
{
    remote_ = VirtualAllocEx(process_, nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote_)
        throw std::runtime_error("no memory in the program for the tree's texts");
}

RemoteTree::~RemoteTree()
{
    VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

HTREEITEM RemoteTree::Root() const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM RemoteTree::Selected() const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::vector<HTREEITEM> RemoteTree::Children(HTREEITEM item) const
{
    std::vector<HTREEITEM> children;
    auto child = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    while (child) {
        children.push_back(child);
        child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return children;
}

std::string RemoteTree::Text(HTREEITEM item) const
{
    auto* base = static_cast<char*>(remote_);
    TVITEMA query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = item;
    query.pszText = base + kTextAt;
    query.cchTextMax = int(kBlock - kTextAt);
    const char zero = 0;
    WriteProcessMemory(process_, base + kTextAt, &zero, 1, nullptr);
    if (!WriteProcessMemory(process_, base, &query, sizeof query, nullptr))
        throw std::runtime_error("cannot write into the program");
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(base)))
        return {};
    TVITEMA answer{};
    ReadProcessMemory(process_, base, &answer, sizeof answer, nullptr);
    char text[kBlock - kTextAt] = {};
    // The control may answer with a text of its own instead of the buffer it was given.
    ReadProcessMemory(process_, answer.pszText ? answer.pszText : base + kTextAt, text, sizeof text - 1, nullptr);
    return text;
}

void RemoteTree::Expand(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

void RemoteTree::Select(HTREEITEM item) const
{
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

bool RemoteTree::IsExpanded(HTREEITEM item) const
{
    return (SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

HTREEITEM RemoteTree::FindPath(const std::string& path) const
{
    if (path.size() < 3 || path[1] != ':')
        return nullptr;
    const std::string drive = path.substr(0, 2); // "C:"
    // The drive: a grandchild of the desktop whose name shows the letter ("(C:)", "C:").
    HTREEITEM current = nullptr;
    const HTREEITEM desktop = Root();
    Expand(desktop);
    for (HTREEITEM place : Children(desktop)) {
        Expand(place);
        for (HTREEITEM child : Children(place)) {
            const std::string text = Text(child);
            if (text.find(drive) != std::string::npos) {
                current = child;
                break;
            }
        }
        if (current)
            break;
    }
    std::size_t start = 3;
    while (current && start < path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        Expand(current);
        HTREEITEM next = nullptr;
        for (HTREEITEM child : Children(current))
            if (SameName(Text(child), name)) {
                next = child;
                break;
            }
        current = next;
    }
    return current;
}

MainWindowOn::MainWindowOn(const ProgramCopy& program, const std::string& arguments, const std::string& folder)
    : run(program, arguments)
{
    main = run.WaitForWindow(IsMainWindow);
    if (!main)
        throw std::runtime_error("no main window");
    const std::vector<HWND> trees = ChildrenOfClass(main, WC_TREEVIEWA);
    if (trees.size() != 1)
        throw std::runtime_error("no tree");
    tree = std::make_unique<RemoteTree>(trees[0], run.Process());
    HTREEITEM node = tree->FindPath(folder);
    if (!node)
        throw std::runtime_error("not in the tree: " + folder);
    tree->Select(node);
    box = ButtonCaptioned(main, "Apply to folder");
}
