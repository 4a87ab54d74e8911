#include "shelltree/IdListBytes.h"

#include <cstring>
#include <new>

namespace {
constexpr std::size_t kTerminator = 2;

const unsigned char* Bytes(const void* p) noexcept
{
    return static_cast<const unsigned char*>(p);
}

// The last entry before the terminator, or null for an empty list.
const unsigned char* LastEntry(const unsigned char* list) noexcept
{
    const unsigned char* last = nullptr;
    for (const unsigned char* entry = list; ItemIdSize(entry) != 0; entry = Bytes(NextItemId(entry)))
        last = entry;
    return last;
}
} // namespace

const void* FindLastItemId(const void* list) noexcept
{
    if (!list)
        return nullptr;
    const unsigned char* last = LastEntry(Bytes(list));
    return last ? last : list;
}

std::size_t ItemIdSize(const void* entry) noexcept
{
    const unsigned char* b = Bytes(entry);
    return static_cast<std::size_t>(b[0]) | (static_cast<std::size_t>(b[1]) << 8);
}

const void* NextItemId(const void* entry) noexcept
{
    return Bytes(entry) + ItemIdSize(entry);
}

void* NextItemId(void* entry) noexcept
{
    return static_cast<unsigned char*>(entry) + ItemIdSize(entry);
}

std::size_t ItemIdCount(const void* list) noexcept
{
    std::size_t count = 0;
    if (list)
        for (const void* entry = list; ItemIdSize(entry) != 0; entry = NextItemId(entry))
            ++count;
    return count;
}

std::size_t IdListSize(const void* list) noexcept
{
    if (!list)
        return 0;
    std::size_t size = kTerminator;
    for (const void* entry = list; ItemIdSize(entry) != 0; entry = NextItemId(entry))
        size += ItemIdSize(entry);
    return size;
}

void DropLastItemId(void* list) noexcept
{
    if (!list)
        return;
    if (const unsigned char* last = LastEntry(Bytes(list))) {
        auto* writable = static_cast<unsigned char*>(list) + (last - Bytes(list));
        writable[0] = 0;
        writable[1] = 0;
    }
}

IdList AllocIdList(std::size_t bytes, IdListAllocator& allocator)
{
    void* block = allocator.Allocate(bytes);
    if (!block)
        return {};
    std::memset(block, 0, bytes);
    return IdList(block, allocator);
}

IdList CopyIdList(const void* list, IdListAllocator& allocator)
{
    if (!list)
        return {};
    const std::size_t size = IdListSize(list);
    IdList copy = AllocIdList(size, allocator);
    if (copy)
        std::memcpy(copy.get(), list, size);
    return copy;
}

IdList JoinIdLists(const void* first, const void* second, IdListAllocator& allocator)
{
    if (!first && !second)
        return {};
    const std::size_t head = first ? IdListSize(first) - kTerminator : 0;
    const std::size_t tail = second ? IdListSize(second) : kTerminator;
    IdList joined = AllocIdList(head + tail, allocator);
    if (!joined)
        return joined;
    auto* out = static_cast<unsigned char*>(joined.get());
    if (head)
        std::memcpy(out, first, head);
    if (second)
        std::memcpy(out + head, second, tail);
    // Without a second list the zero fill already is the terminator.
    return joined;
}

IdList LastItemIdOf(const void* list, IdListAllocator& allocator)
{
    return CopyIdList(FindLastItemId(list), allocator);
}

std::vector<IdList> AncestorIdLists(const void* list, IdListAllocator& allocator)
{
    std::vector<IdList> ancestors;
    const void* current = list;
    while (current && ItemIdSize(current) != 0) {
        IdList copy = CopyIdList(current, allocator);
        if (!copy)
            throw std::bad_alloc();
        DropLastItemId(copy.get());
        current = copy.get();
        ancestors.insert(ancestors.begin(), std::move(copy));
    }
    return ancestors;
}

std::string TextInItemId(const void* list, std::size_t offset)
{
    if (!list)
        return {};
    const std::size_t end = ItemIdSize(list);
    if (offset >= end)
        return {};
    const char* start = static_cast<const char*>(list) + offset;
    const void* zero = std::memchr(start, 0, end - offset);
    const std::size_t length = zero ? static_cast<const char*>(zero) - start : end - offset;
    return std::string(start, length);
}
