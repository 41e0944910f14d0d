#include "diagnostics/LedPicture.h"

#include "common/DpiScale.h"

#include <algorithm>

namespace {

// The start of LED i's part of an edge of `length` pixels shared by `count` LEDs.
int PartStart(int first, int length, std::int32_t count, std::int32_t i)
{
    return first + static_cast<int>(std::int64_t(i) * length / count);
}

// Which of `count` equal parts of the edge the position lies in; nothing off the edge.
std::optional<std::int32_t> PartAt(int first, int length, std::int32_t count, int position)
{
    if (count <= 0 || position < first || position >= first + length)
        return std::nullopt;
    return static_cast<std::int32_t>(std::int64_t(position - first) * count / length);
}

} // namespace

LedPictureLayout LayOutLedPicture(const CLedScan& scan, PixelRect area, unsigned dpi)
{
    LedPictureLayout layout;
    if (!scan.Header())
        return layout;
    const int corner = ScaleForDpi(kLedPictureCorner, dpi), maxSize = ScaleForDpi(kLedMarkMaxSize, dpi);
    const int margin = maxSize; // marks sit on the edge lines and stick out by half their size
    const std::int32_t x = scan.Header()->xCount, y = scan.Header()->yCount;
    const PixelRect frame{area.left + margin, area.top + margin, area.right - margin, area.bottom - margin};
    const int xLength = frame.right - frame.left - corner;
    const int yLength = frame.bottom - frame.top - corner;
    if (xLength <= 0 || yLength <= 0)
        return layout;
    layout.frame = frame;
    layout.xCount = x;
    layout.yCount = y;
    layout.corner = corner;
    // One size for every mark: a pixel narrower than the narrowest part, so
    // that neighbours stay apart while there is room.
    int part = maxSize + 1;
    if (x > 0)
        part = std::min(part, xLength / x);
    if (y > 0)
        part = std::min(part, yLength / y);
    const int size = std::clamp(part - 1, 1, maxSize);
    layout.markSize = size;

    layout.marks.reserve(static_cast<std::size_t>(x + y));
    const int xFirst = frame.left + corner;
    for (std::int32_t i = 0; i < x; ++i) {
        const int centre = (PartStart(xFirst, xLength, x, i) + PartStart(xFirst, xLength, x, i + 1)) / 2;
        const int left = centre - size / 2, top = frame.top - size / 2;
        // x LED number i + 1 is scan index i.
        layout.marks.push_back({i + 1, scan.IsLedBad(i), {left, top, left + size, top + size}});
    }
    const int yFirst = frame.top + corner;
    for (std::int32_t i = 0; i < y; ++i) {
        const int centre = (PartStart(yFirst, yLength, y, i) + PartStart(yFirst, yLength, y, i + 1)) / 2;
        const int left = frame.left - size / 2, top = centre - size / 2;
        // y LED number x + 1 + i is scan index x + 1 + i: the entry after
        // the x LEDs belongs to no LED.
        layout.marks.push_back({x + 1 + i, scan.IsLedBad(x + 1 + i), {left, top, left + size, top + size}});
    }
    return layout;
}

std::optional<std::int32_t> LedNumberAt(const LedPictureLayout& layout, int x, int y)
{
    if (layout.marks.empty())
        return std::nullopt;
    const PixelRect& frame = layout.frame;
    const int reach = std::max(layout.markSize / 2 + 1, 3); // how far off the edge line a pointer still counts
    if (y >= frame.top - reach && y <= frame.top + reach)
        if (auto i = PartAt(frame.left + layout.corner, frame.right - frame.left - layout.corner, layout.xCount, x))
            return *i + 1;
    if (x >= frame.left - reach && x <= frame.left + reach)
        if (auto i = PartAt(frame.top + layout.corner, frame.bottom - frame.top - layout.corner, layout.yCount, y))
            return layout.xCount + 1 + *i;
    return std::nullopt;
}
