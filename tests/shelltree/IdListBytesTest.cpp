// The identifier-list operations on hand-made lists with a counting heap allocator. Pure: this
// file builds natively (under the sanitizers) and in the Wine test program.
#include "shelltree/IdListBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

// Heap memory with a count of live blocks; it can be told to fail from some allocation on.
class CountingAllocator final : public IdListAllocator {
public:
    void* Allocate(std::size_t bytes) override
    {
        if (failAfter_ >= 0 && made_ >= failAfter_)
            return nullptr;
        ++made_;
        ++live_;
        // Garbage, not zeros: AllocIdList must clear it itself.
        void* block = std::malloc(bytes ? bytes : 1);
        std::memset(block, 0xCD, bytes);
        return block;
    }
    void Release(void* block) noexcept override
    {
        --live_;
        std::free(block);
    }
    int Live() const { return live_; }
    void FailFrom(int allocation) { failAfter_ = made_ + allocation; }

private:
    int made_ = 0;
    int live_ = 0;
    int failAfter_ = -1;
};

// A list of entries each holding the given payload, with its terminator.
Bytes MakeList(const std::vector<std::string>& payloads)
{
    Bytes list;
    for (const std::string& p : payloads) {
        const std::size_t size = p.size() + 2;
        list.push_back(static_cast<unsigned char>(size & 0xFF));
        list.push_back(static_cast<unsigned char>(size >> 8));
        list.insert(list.end(), p.begin(), p.end());
    }
    list.push_back(0);
    list.push_back(0);
    return list;
}

Bytes BytesOf(const IdList& list)
{
    const auto* p = static_cast<const unsigned char*>(list.get());
    return Bytes(p, p + IdListSize(list.get()));
}

class IdListBytes : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(alloc.Live(), 0) << "a list was not given back"; }
    CountingAllocator alloc;
    const Bytes empty = MakeList({});
    const Bytes abc = MakeList({"A1", "Bee", std::string(300, 'c')}); // a count above 255 too
};
} // namespace

TEST_F(IdListBytes, SizesAndCounts)
{
    EXPECT_EQ(IdListSize(nullptr), 0u);
    EXPECT_EQ(ItemIdCount(nullptr), 0u);
    EXPECT_EQ(IdListSize(empty.data()), 2u);
    EXPECT_EQ(ItemIdCount(empty.data()), 0u);
    EXPECT_EQ(IdListSize(abc.data()), abc.size());
    EXPECT_EQ(ItemIdCount(abc.data()), 3u);
    EXPECT_EQ(ItemIdSize(abc.data()), 4u);
    const void* second = NextItemId(abc.data());
    EXPECT_EQ(ItemIdSize(second), 5u);
    const void* third = NextItemId(second);
    EXPECT_EQ(ItemIdSize(third), 302u);
    EXPECT_EQ(ItemIdSize(NextItemId(third)), 0u);
}

TEST_F(IdListBytes, DropLastItemIdShortensInPlaceDownToEmpty)
{
    Bytes list = abc;
    DropLastItemId(list.data());
    EXPECT_EQ(ItemIdCount(list.data()), 2u);
    EXPECT_EQ(Bytes(list.begin(), list.begin() + IdListSize(list.data())), MakeList({"A1", "Bee"}));
    DropLastItemId(list.data());
    DropLastItemId(list.data());
    EXPECT_EQ(IdListSize(list.data()), 2u);
    DropLastItemId(list.data()); // the empty list stays as it is
    EXPECT_EQ(IdListSize(list.data()), 2u);
    // Only the three counts were written; the payloads stand where they were.
    Bytes expected = abc;
    for (std::size_t count : {0, 4, 9})
        expected[count] = expected[count + 1] = 0;
    EXPECT_EQ(list, expected);
    DropLastItemId(nullptr);
}

TEST_F(IdListBytes, AllocGivesZerosOrNothing)
{
    const IdList list = AllocIdList(6, alloc);
    ASSERT_TRUE(list);
    EXPECT_EQ(Bytes(static_cast<unsigned char*>(list.get()), static_cast<unsigned char*>(list.get()) + 6), Bytes(6, 0));
    alloc.FailFrom(0);
    EXPECT_FALSE(AllocIdList(6, alloc));
}

TEST_F(IdListBytes, CopyIsIndependentAndNullForNullOrNoMemory)
{
    IdList copy = CopyIdList(abc.data(), alloc);
    ASSERT_TRUE(copy);
    EXPECT_EQ(BytesOf(copy), abc);
    DropLastItemId(copy.get());
    EXPECT_EQ(ItemIdCount(abc.data()), 3u);
    EXPECT_EQ(BytesOf(CopyIdList(empty.data(), alloc)), empty);

    EXPECT_FALSE(CopyIdList(nullptr, alloc));
    alloc.FailFrom(0);
    EXPECT_FALSE(CopyIdList(abc.data(), alloc));
}

TEST_F(IdListBytes, JoinWithNullAndEmptySides)
{
    const Bytes ab = MakeList({"A1", "Bee"});
    const Bytes c = MakeList({"Cx"});
    EXPECT_EQ(BytesOf(JoinIdLists(ab.data(), c.data(), alloc)), MakeList({"A1", "Bee", "Cx"}));
    EXPECT_EQ(BytesOf(JoinIdLists(nullptr, c.data(), alloc)), c);
    EXPECT_EQ(BytesOf(JoinIdLists(empty.data(), c.data(), alloc)), c);
    EXPECT_EQ(BytesOf(JoinIdLists(ab.data(), empty.data(), alloc)), ab);
    EXPECT_EQ(BytesOf(JoinIdLists(empty.data(), empty.data(), alloc)), empty);
    // A missing second list still leaves a terminated list.
    EXPECT_EQ(BytesOf(JoinIdLists(ab.data(), nullptr, alloc)), ab);
    EXPECT_FALSE(JoinIdLists(nullptr, nullptr, alloc));
    alloc.FailFrom(0);
    EXPECT_FALSE(JoinIdLists(ab.data(), c.data(), alloc));
}

TEST_F(IdListBytes, LastItemIdOf)
{
    EXPECT_EQ(BytesOf(LastItemIdOf(abc.data(), alloc)), MakeList({std::string(300, 'c')}));
    const Bytes one = MakeList({"only"});
    EXPECT_EQ(BytesOf(LastItemIdOf(one.data(), alloc)), one);
    EXPECT_EQ(BytesOf(LastItemIdOf(empty.data(), alloc)), empty);
    EXPECT_FALSE(LastItemIdOf(nullptr, alloc));
}

TEST_F(IdListBytes, AncestorsRunFromTheDesktopDown)
{
    const Bytes before = abc;
    const std::vector<IdList> ancestors = AncestorIdLists(abc.data(), alloc);
    ASSERT_EQ(ancestors.size(), 3u);
    EXPECT_EQ(BytesOf(ancestors[0]), empty);
    EXPECT_EQ(BytesOf(ancestors[1]), MakeList({"A1"}));
    EXPECT_EQ(BytesOf(ancestors[2]), MakeList({"A1", "Bee"}));
    EXPECT_EQ(abc, before);

    const Bytes one = MakeList({"only"});
    const std::vector<IdList> ofOne = AncestorIdLists(one.data(), alloc);
    ASSERT_EQ(ofOne.size(), 1u);
    EXPECT_EQ(BytesOf(ofOne[0]), empty);
    EXPECT_TRUE(AncestorIdLists(empty.data(), alloc).empty());
    EXPECT_TRUE(AncestorIdLists(nullptr, alloc).empty());
}

TEST_F(IdListBytes, AncestorsWithoutMemoryGiveBackWhatWasMade)
{
    for (int fail = 0; fail < 3; ++fail) {
        alloc.FailFrom(fail);
        EXPECT_THROW(AncestorIdLists(abc.data(), alloc), std::bad_alloc) << "failing allocation " << fail;
        EXPECT_EQ(alloc.Live(), 0);
    }
}

TEST_F(IdListBytes, OwnerGivesTheListBackOnceWherever)
{
    IdList a = CopyIdList(abc.data(), alloc);
    IdList b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(alloc.Live(), 1);
    b = CopyIdList(empty.data(), alloc); // the first copy goes back
    EXPECT_EQ(alloc.Live(), 1);
    b.reset();
    EXPECT_EQ(alloc.Live(), 0);
}

TEST_F(IdListBytes, TextInItemIdStaysInsideTheFirstEntry)
{
    // A folder's entry: two bytes of count, a tag, then the name and its zero.
    Bytes named = MakeList({std::string("\x31" "Docs\0pad", 9), "Next"});
    EXPECT_EQ(TextInItemId(named.data(), 3), "Docs");
    EXPECT_EQ(TextInItemId(named.data(), 5), "cs");
    EXPECT_EQ(TextInItemId(named.data(), 7), "") << "the zero itself";

    // No zero before the entry ends: the text ends with the entry, not in the next one.
    const Bytes unterminated = MakeList({"\x31" "Docs", "Next"});
    EXPECT_EQ(TextInItemId(unterminated.data(), 3), "Docs");
    // An entry at the very end of its memory: the sanitizers see any read past it.
    std::vector<unsigned char> exact = {7, 0, 'x', 'N', 'a', 'm', 'e'};
    EXPECT_EQ(TextInItemId(exact.data(), 3), "Name");

    EXPECT_EQ(TextInItemId(named.data(), 11), "") << "offset at the entry's end";
    EXPECT_EQ(TextInItemId(named.data(), 500), "") << "offset past the entry";
    EXPECT_EQ(TextInItemId(empty.data(), 0), "");
    EXPECT_EQ(TextInItemId(nullptr, 3), "");
}
