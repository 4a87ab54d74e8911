#include "shelltree/IdList.h"

#include "shelltree/ShellNamespace.h"
#include "toolkit/core/Scoped.h"

namespace {
class ShellTaskAllocator final : public IdListAllocator {
public:
    void* Allocate(std::size_t bytes) override
    {
        return Malloc()->Alloc(bytes);
    }
    void Release(void* block) noexcept override
    {
        ComPtr<IMalloc> malloc;
        if (SUCCEEDED(SHGetMalloc(malloc.put())))
            malloc->Free(block);
        else
            CoTaskMemFree(block); // the same allocator, reached without the shell
    }

private:
    static ComPtr<IMalloc> Malloc()
    {
        ComPtr<IMalloc> malloc;
        CheckShellStatus(SHGetMalloc(malloc.put()), "SHGetMalloc");
        return malloc;
    }
};
} // namespace

IdListAllocator& TaskAllocator()
{
    static ShellTaskAllocator allocator;
    return allocator;
}

bool SameIdList(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return DesktopFolderObject()->CompareIDs(0, a, b) == 0;
}
