// The folder tree against fills that do everything at once, as a tree without lazy icons must:
// enumerate the folder, sort it with the folder's CompareIDs and ask every child's name and
// small icon index (SHGetFileInfoA with its identifier list) up front.
//  - Expanding a folder of 5,000 subfolders (and painting what shows) against that floor for the
//    folder; then scrolling page by page through all 5,000, which asks the icons of the nodes
//    shown, against the same floor (and once more with every icon known: the painting alone).
//  - SelectPath of a folder 12 levels below a temporary folder, from the desktop as the main
//    window shows it, against ParseDisplayName and the floor's fill of every folder on the way;
//    RebuildNode of that folder's parent against ParseDisplayName and the floor's fill of it.
// Under Wine the icon index costs milliseconds a child, growing with the folder, so the floor
// of the large folder takes tens of seconds: that benchmark runs fewer rounds.
#include "bench/Runner.h"
#include "shelltree/ShellModule.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTreeView.h"
#include "support/TempDir.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/core/PathText.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kChildren = 5000;
constexpr int kDepth = 12;
constexpr int kSiblings = 9;

// The tree as the main window shows it, on a form of its own.
class TreeWindow {
public:
    explicit TreeWindow(const std::string& root)
    {
        form_.SetBounds(0, 0, 380, 260);
        tree_.SetParent(&form_);
        tree_.SetBounds(12, 12, 353, 219);
        tree_.SetHideSelection(false);
        tree_.SetRoot(root);
        form_.Show();
        UpdateWindow(form_.Handle());
    }
    ~TreeWindow() { tree_.SetParent(nullptr); }
    TShellTreeView& Tree() { return tree_; }
    void Paint() { UpdateWindow(tree_.Handle()); }

private:
    TForm form_;
    TShellTreeView tree_;
};

// --- The floor: one folder filled all at once with the platform's calls alone ----------------

struct ShellList {
    LPITEMIDLIST list = nullptr;
    ~ShellList() { ILFree(list); }
    ShellList() = default;
    ShellList(ShellList&& other) noexcept : list(std::exchange(other.list, nullptr)) {}
    ShellList& operator=(ShellList&& other) noexcept
    {
        std::swap(list, other.list);
        return *this;
    }
};

std::size_t FillAllAtOnce(IShellFolder& folder, LPCITEMIDLIST absolute)
{
    ComPtr<IEnumIDList> entries;
    if (FAILED(folder.EnumObjects(nullptr, SHCONTF_FOLDERS, entries.put())) || !entries)
        throw std::runtime_error("the floor cannot list a folder");
    std::vector<ShellList> children;
    for (;;) {
        ShellList child;
        ULONG fetched = 0;
        if (entries->Next(1, &child.list, &fetched) != S_OK || !child.list)
            break;
        children.push_back(std::move(child));
    }
    std::sort(children.begin(), children.end(), [&](const ShellList& a, const ShellList& b) {
        return static_cast<short>(HRESULT_CODE(folder.CompareIDs(0, a.list, b.list))) < 0;
    });
    std::size_t named = 0;
    for (const ShellList& child : children) {
        STRRET name{};
        if (SUCCEEDED(folder.GetDisplayNameOf(child.list, SHGDN_INFOLDER, &name))) {
            char text[MAX_PATH];
            if (SUCCEEDED(StrRetToBufA(&name, child.list, text, sizeof text)) && text[0])
                ++named;
        }
        ShellList full;
        full.list = ILCombine(absolute, child.list);
        SHFILEINFOA info{};
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(full.list), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    }
    return named;
}

ShellList Parse(const std::string& path)
{
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.put());
    std::wstring wide = AnsiToWide(path);
    ShellList parsed;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &parsed.list, nullptr)))
        throw std::runtime_error("the floor cannot parse " + path);
    return parsed;
}

ComPtr<IShellFolder> Bind(LPCITEMIDLIST absolute)
{
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.put());
    if (absolute->mkid.cb == 0)
        return desktop;
    ComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void())))
        throw std::runtime_error("the floor cannot bind a folder");
    return folder;
}

// Every folder above the path is filled, the desktop apart (the tree fills it when it is made).
void FloorSelect(const std::string& path)
{
    const ShellList target = Parse(path);
    ShellList above;
    above.list = ILClone(target.list);
    ILRemoveLastID(above.list);
    std::vector<ShellList> chain;
    while (above.list->mkid.cb != 0) {
        ShellList next;
        next.list = ILClone(above.list);
        ILRemoveLastID(next.list);
        chain.push_back(std::move(above));
        above = std::move(next);
    }
    for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder)
        FillAllAtOnce(*Bind(folder->list).get(), folder->list);
}

void FloorRebuild(const std::string& path)
{
    const ShellList folder = Parse(path);
    FillAllAtOnce(*Bind(folder.list).get(), folder.list);
}

// --- The tree ---------------------------------------------------------------------------------

TTreeNode* ChildNamed(TTreeNode* parent, const std::string& text)
{
    for (TTreeNode* child = parent ? parent->GetFirstChild() : nullptr; child; child = child->GetNextSibling())
        if (child->Text() == text)
            return child;
    return nullptr;
}

// Pages down until the end, each page painted as it comes.
void ScrollToTheEnd(TShellTreeView& tree)
{
    const HWND window = tree.Handle();
    for (;;) {
        SCROLLINFO before{};
        before.cbSize = sizeof before;
        before.fMask = SIF_POS;
        GetScrollInfo(window, SB_VERT, &before);
        SendMessageA(window, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(window);
        SCROLLINFO after = before;
        GetScrollInfo(window, SB_VERT, &after);
        if (after.nPos == before.nPos)
            return;
    }
}

std::string WithoutTrailing(std::string path)
{
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

void Require(bool condition, const char* what)
{
    if (!condition)
        throw std::runtime_error(what);
}

void LargeFolder(const TempDir& temp)
{
    const std::string parent = WithoutTrailing(temp.MakeDir("large"));
    const std::string large = temp.MakeDir("large\\5000");
    for (int i = 0; i < kChildren; ++i)
        CreateDirectoryA((large + "folder " + std::to_string(10000 + i)).c_str(), nullptr);
    const ShellList place = Parse(large);

    std::unique_ptr<TreeWindow> window;
    TTreeNode* node = nullptr;
    bench::Rounds rounds(bench::RoundsFromEnvironment(5));
    const auto CheckAtTheEnd = [&](int) {
        const RECT last = node->GetLastChild()->DisplayRect(true);
        Require(last.bottom > last.top && last.top >= 0 && last.bottom <= window->Tree().ClientHeight(),
                "the scroll did not reach the end");
    };
    rounds.Group({
        {"tree over the folder", [&](int) {
             window.reset();
             window = std::make_unique<TreeWindow>(parent);
             node = ChildNamed(window->Tree().Items().GetFirstNode(), "5000");
         },
         [&](int) { Require(node && node->Count() == 0, "the large folder is not there unfilled"); }},
        {"expand", [&](int) {
             node->Expand(false);
             window->Paint();
         },
         [&](int) { Require(node->Count() == kChildren, "the expansion did not list every folder"); }},
        {"scroll", [&](int) { ScrollToTheEnd(window->Tree()); }, CheckAtTheEnd},
        // The same pages again, every icon known: what the control's painting costs alone.
        {"scroll again", [&](int) {
             SendMessageA(window->Tree().Handle(), WM_VSCROLL, SB_TOP, 0);
             ScrollToTheEnd(window->Tree());
         },
         CheckAtTheEnd},
    });
    rounds.Group({{"floor", [&](int) { Require(FillAllAtOnce(*Bind(place.list).get(), place.list) == kChildren,
                                               "the floor did not name every folder"); },
                   {}}});
    rounds.Run();
    window.reset();
    std::printf("A folder of %d subfolders, %d rounds\n", kChildren, rounds.Count());
    rounds.PrintTime("floor: list, sort, names and icons at once", "floor", bench::kSeconds);
    rounds.PrintTime("tree: expansion (with the first paint)", "expand", bench::kSeconds);
    rounds.PrintTime("tree: scrolling through all, page by page", "scroll", bench::kSeconds);
    rounds.PrintTime("tree: the same pages again, icons known", "scroll again", bench::kSeconds);
    rounds.PrintRatio("ratio expansion / floor", "expand", "floor", 0.1);
    rounds.PrintRatio("ratio scrolling / floor", "scroll", "floor", 1.0);
}

void DeepFolder(const TempDir& temp)
{
    std::string relative = "deep";
    for (int level = 1; level <= kDepth; ++level) {
        for (int sibling = 1; sibling <= kSiblings; ++sibling)
            temp.MakeDir(relative + "\\s" + std::to_string(sibling));
        relative += "\\l" + std::to_string(level);
    }
    const std::string target = WithoutTrailing(temp.MakeDir(relative));
    const std::string parent = target.substr(0, target.find_last_of('\\'));

    std::unique_ptr<TreeWindow> window;
    bench::Rounds rounds(bench::RoundsFromEnvironment(7));
    rounds.Group({
        {"desktop tree", [&](int) {
             window.reset();
             window = std::make_unique<TreeWindow>("rfDesktop");
         },
         {}},
        {"select", [&](int) {
             window->Tree().SelectPath(target);
             window->Paint();
         },
         [&](int) { Require(window->Tree().SelectedPath() == target, "SelectPath missed the folder"); }},
        {"rebuild", [&](int) {
             window->Tree().RebuildNode(*window->Tree().Selected()->Parent());
             window->Paint();
         },
         [&](int) { Require(window->Tree().SelectedPath() == target, "RebuildNode lost the selection"); }},
    });
    rounds.Group({
        {"select floor", [&](int) { FloorSelect(target); }, {}},
        {"rebuild floor", [&](int) { FloorRebuild(parent); }, {}},
    });
    rounds.Run();
    window.reset();
    std::printf("A folder %d levels below a temporary folder, from the desktop, %d rounds\n", kDepth, rounds.Count());
    rounds.PrintTime("floor: parse, fill every folder on the way", "select floor", bench::kMilliseconds);
    rounds.PrintTime("tree: SelectPath (with the paint)", "select", bench::kMilliseconds);
    rounds.PrintRatio("ratio SelectPath / floor", "select", "select floor");
    rounds.PrintTime("floor: parse, fill the parent", "rebuild floor", bench::kMilliseconds);
    rounds.PrintTime("tree: RebuildNode of the parent (with the paint)", "rebuild", bench::kMilliseconds);
    rounds.PrintRatio("ratio RebuildNode / floor", "rebuild", "rebuild floor");
}

} // namespace

int main()
{
    try {
        TShellModule module;
        Application.OnException = [](TObject*, const std::string& message) {
            std::fprintf(stderr, "ShellTreeExpand: %s\n", message.c_str());
            std::exit(1);
        };
        TempDir temp;
        DeepFolder(temp);
        LargeFolder(temp);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ShellTreeExpand: %s\n", e.what());
        return 1;
    }
}
