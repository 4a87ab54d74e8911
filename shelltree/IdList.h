#pragma once
// Item identifier lists in the shell's task allocator: the allocator, the list operations bound
// to it, and the bridge between our owners and the shell's pointer types.
#include "shelltree/IdListBytes.h"

#include <windows.h>
#include <shlobj.h>

// The shell's task allocator (SHGetMalloc): every list the shell hands us or we hand the shell
// lives there. A failure of SHGetMalloc is raised as EOSError with its status.
IdListAllocator& TaskAllocator();

inline LPITEMIDLIST Pidl(const IdList& list) noexcept
{
    return static_cast<LPITEMIDLIST>(list.get());
}

// The out-parameter of a shell call that answers a new list: the owner takes the answer once the
// call returns (at the end of the full expression), e.g.
//   SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, ReceiveIdList(list));
class ReceiveIdList {
public:
    explicit ReceiveIdList(IdList& owner) noexcept : owner_(owner) {}
    ~ReceiveIdList() { owner_.reset(answer_, TaskAllocator()); }
    ReceiveIdList(const ReceiveIdList&) = delete;
    ReceiveIdList& operator=(const ReceiveIdList&) = delete;
    operator LPITEMIDLIST*() noexcept { return &answer_; }

private:
    IdList& owner_;
    LPITEMIDLIST answer_ = nullptr;
};

// An owner of a list the shell answered (null stays an empty owner).
inline IdList AdoptIdList(LPITEMIDLIST list) noexcept
{
    return list ? IdList(list, TaskAllocator()) : IdList();
}

inline IdList AllocIdList(std::size_t bytes)
{
    return AllocIdList(bytes, TaskAllocator());
}
inline IdList CopyIdList(LPCITEMIDLIST list)
{
    return CopyIdList(list, TaskAllocator());
}
inline IdList JoinIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    return JoinIdLists(first, second, TaskAllocator());
}
inline IdList LastItemIdOf(LPCITEMIDLIST list)
{
    return LastItemIdOf(list, TaskAllocator());
}
inline std::vector<IdList> AncestorIdLists(LPCITEMIDLIST list)
{
    return AncestorIdLists(list, TaskAllocator());
}

// True when the desktop folder's CompareIDs (parameter 0) finds the two absolute lists equal.
bool SameIdList(LPCITEMIDLIST a, LPCITEMIDLIST b);
