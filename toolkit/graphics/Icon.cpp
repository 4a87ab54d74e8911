#include "toolkit/graphics/Icon.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exception.h"

#include <cstring>

namespace {
[[noreturn]] void InvalidIcon()
{
    throw EInvalidGraphic("Icon image is not valid");
}

// One 16-byte entry of an .ico directory.
struct IcoEntry {
    std::uint8_t width, height, colorCount, reserved;
    std::uint16_t planes, bitCount;
    std::uint32_t bytes, offset;
};
static_assert(sizeof(IcoEntry) == 16);

bool IsPng(TByteSpan data, const IcoEntry& entry)
{
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G'};
    return entry.bytes >= sizeof signature && std::memcmp(data.data() + entry.offset, signature, sizeof signature) == 0;
}

int EntrySize(std::uint8_t stored) { return stored ? stored : 256; }

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    ScopedBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    if (color) {
        GetObjectA(color.get(), sizeof bitmap, &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    // A one-bit icon keeps its AND and XOR masks stacked in one bitmap.
    GetObjectA(mask.get(), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight / 2};
}
} // namespace

TIcon::TIcon()
{
    TGraphic::SetTransparent(true);
}

void TIcon::SetHandle(HICON icon)
{
    if (icon && icon == handle_.get())
        return;
    handle_.reset(icon);
    SIZE size = icon ? IconSize(icon) : SIZE{0, 0};
    width_ = size.cx;
    height_ = size.cy;
    Changed();
}

ScopedIcon TIcon::ReleaseHandle()
{
    ScopedIcon icon(handle_.release());
    width_ = height_ = 0;
    Changed();
    return icon;
}

void TIcon::LoadFromStream(TByteSpan data)
{
    // ICONDIR: reserved 0, type 1 (icon), entry count; then the entries.
    if (data.size() < 6)
        InvalidIcon();
    std::uint16_t head[3];
    std::memcpy(head, data.data(), sizeof head);
    const std::size_t count = head[2];
    if (head[0] != 0 || head[1] != 1 || count == 0 || data.size() < 6 + count * sizeof(IcoEntry))
        InvalidIcon();

    const int wanted = wantedSize_ > 0 ? wantedSize_ : GetSystemMetrics(SM_CXICON);
    IcoEntry best{};
    bool found = false;
    for (std::size_t i = 0; i < count; ++i) {
        IcoEntry entry;
        std::memcpy(&entry, data.data() + 6 + i * sizeof entry, sizeof entry);
        if (entry.offset > data.size() || entry.bytes > data.size() - entry.offset || entry.bytes < 40)
            InvalidIcon();
        // Prefer the wanted size, then the deepest colours; otherwise the first entry. For a size
        // asked for: else the smallest entry above it, else the largest, and a bitmap entry
        // before a PNG one, which older systems cannot read.
        const int size = EntrySize(entry.width), bestSize = EntrySize(best.width);
        const bool png = IsPng(data, entry), bestPng = found && IsPng(data, best);
        bool better = !found || (size == wanted && (bestSize != wanted || entry.bitCount > best.bitCount));
        if (found && wantedSize_ > 0 && png != bestPng)
            better = !png;
        else if (found && wantedSize_ > 0 && bestSize != wanted && size != wanted && size != bestSize)
            better = bestSize < wanted ? size > bestSize : size > wanted && size < bestSize;
        if (better)
            best = entry;
        found = true;
    }
    // An entry of another size than asked for is made to that size.
    const int width = wantedSize_ > 0 ? wantedSize_ : EntrySize(best.width);
    const int height = wantedSize_ > 0 ? wantedSize_ : EntrySize(best.height);
    HICON icon = CreateIconFromResourceEx(const_cast<std::uint8_t*>(data.data() + best.offset), best.bytes, TRUE,
                                          0x00030000, width, height, LR_DEFAULTCOLOR);
    if (!icon)
        InvalidIcon();
    SetHandle(icon);
}

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto copy = std::make_unique<TIcon>();
    if (handle_)
        copy->SetHandle(CopyIcon(handle_.get()));
    return copy;
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect)
{
    DrawIconEx(canvas.Handle(), rect.left, rect.top, handle_.get(), rect.right - rect.left, rect.bottom - rect.top,
               0, nullptr, DI_NORMAL);
}
