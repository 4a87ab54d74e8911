#pragma once
// Item identifier lists as bytes: a run of entries, each opening with a 16-bit little-endian
// byte count that includes the count itself, closed by a 16-bit zero. A list of the terminator
// alone is the empty list (the desktop); a null pointer is no list at all.
//
// Nothing here knows the platform: memory comes from a caller-given allocator, so the same code
// runs on the shell's task allocator in the program and on the heap in native tests.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Where new lists come from and go back to. Allocate gives zero-filled memory or null.
class IdListAllocator {
public:
    virtual void* Allocate(std::size_t bytes) = 0;
    virtual void Release(void* block) noexcept = 0;

protected:
    ~IdListAllocator() = default;
};

// Owns one list and gives it back to the allocator it came from. Copies are deleted: a second
// owner is made with CopyIdList.
class IdList {
public:
    IdList() noexcept = default;
    IdList(void* bytes, IdListAllocator& allocator) noexcept : bytes_(bytes), allocator_(&allocator) {}
    ~IdList() { reset(); }
    IdList(const IdList&) = delete;
    IdList& operator=(const IdList&) = delete;
    IdList(IdList&& other) noexcept
        : bytes_(std::exchange(other.bytes_, nullptr)), allocator_(other.allocator_) {}
    IdList& operator=(IdList&& other) noexcept
    {
        if (this != &other) {
            reset();
            bytes_ = std::exchange(other.bytes_, nullptr);
            allocator_ = other.allocator_;
        }
        return *this;
    }

    void* get() const noexcept { return bytes_; }
    explicit operator bool() const noexcept { return bytes_ != nullptr; }
    // Gives up the list to a new owner (the allocator is the caller's to know).
    void* release() noexcept { return std::exchange(bytes_, nullptr); }
    void reset() noexcept
    {
        if (bytes_)
            allocator_->Release(std::exchange(bytes_, nullptr));
    }
    void reset(void* bytes, IdListAllocator& allocator) noexcept
    {
        reset();
        bytes_ = bytes;
        allocator_ = &allocator;
    }

private:
    void* bytes_ = nullptr;
    IdListAllocator* allocator_ = nullptr;
};

// The byte count of one entry (0 for the terminator).
std::size_t ItemIdSize(const void* entry) noexcept;
// The entry after this one: its address plus its byte count.
const void* NextItemId(const void* entry) noexcept;
void* NextItemId(void* entry) noexcept;
// The last entry before the terminator (the terminator itself for the empty list); null for null.
const void* FindLastItemId(const void* list) noexcept;
// Entries before the terminator; 0 for null.
std::size_t ItemIdCount(const void* list) noexcept;
// All entry counts plus 2 for the terminator; 0 for null.
std::size_t IdListSize(const void* list) noexcept;
// Makes the last entry the terminator, so the list loses it in place; null and empty stay.
void DropLastItemId(void* list) noexcept;

// Zero-filled memory for a list of that many bytes; an empty owner when the allocator has none.
IdList AllocIdList(std::size_t bytes, IdListAllocator& allocator);
// A copy of the list; null for null and when the allocator has nothing.
IdList CopyIdList(const void* list, IdListAllocator& allocator);
// The entries of the first list followed by the whole second one. A null side counts as the
// empty list (a null second list would otherwise leave the result without its terminator);
// two null lists join to null. Null too when the allocator has nothing.
IdList JoinIdLists(const void* first, const void* second, IdListAllocator& allocator);
// A one-entry list of the last entry; the empty list for the empty list, null for null.
IdList LastItemIdOf(const void* list, IdListAllocator& allocator);
// The lists of every place above the given one, the empty list (the desktop) first: for A/B/C
// they are (empty), A, A/B. The given list is neither changed nor among them. Raises
// std::bad_alloc when the allocator has nothing; what was made so far is given back.
std::vector<IdList> AncestorIdLists(const void* list, IdListAllocator& allocator);

// The zero-terminated text that a shell folder keeps inside a list's first entry, beginning at
// the given offset from the list's start. Reading stops at the first zero byte and never goes
// past the entry's end; an offset outside the entry (or a null list) gives an empty text.
std::string TextInItemId(const void* list, std::size_t offset);
