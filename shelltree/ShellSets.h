#pragma once
// The small sets of the shell item model: which objects a listing shows, an item's flags and
// its abilities. Each member is one bit, numbered as the enumeration counts.
#include <cstdint>
#include <initializer_list>

template <typename E>
class TEnumSet {
public:
    using Member = E;

    constexpr TEnumSet() noexcept = default;
    constexpr TEnumSet(std::initializer_list<E> members) noexcept
    {
        for (E m : members)
            bits_ |= Bit(m);
    }
    static constexpr TEnumSet FromBits(std::uint32_t bits) noexcept
    {
        TEnumSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr bool Contains(E m) const noexcept { return (bits_ & Bit(m)) != 0; }
    constexpr void Include(E m) noexcept { bits_ |= Bit(m); }
    constexpr void Exclude(E m) noexcept { bits_ &= ~Bit(m); }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr std::uint32_t Bits() const noexcept { return bits_; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) noexcept = default;

private:
    static constexpr std::uint32_t Bit(E m) noexcept { return std::uint32_t{1} << static_cast<unsigned>(m); }
    std::uint32_t bits_ = 0;
};

enum class TShellObjectType { otFolders, otNonFolders, otHidden };
using enum TShellObjectType;
using TShellObjectTypes = TEnumSet<TShellObjectType>;

// The enumeration flags of a listing: the set's bits moved up to SHCONTF_FOLDERS (0x20),
// SHCONTF_NONFOLDERS (0x40) and SHCONTF_INCLUDEHIDDEN (0x80).
constexpr std::uint32_t EnumerationFlags(TShellObjectTypes types) noexcept
{
    return types.Bits() << 5;
}

enum class TShellItemFlag {
    ifGhosted, ifLink, ifReadOnly, ifShared, ifFileSystem, ifFileSystemAncestor, ifRemovable, ifValidate
};
using enum TShellItemFlag;
using TShellItemFlags = TEnumSet<TShellItemFlag>;

enum class TShellItemAbility { iaCopy, iaDelete, iaLink, iaMove, iaRename, iaDropTarget, iaPropertySheet };
using enum TShellItemAbility;
using TShellItemAbilities = TEnumSet<TShellItemAbility>;
