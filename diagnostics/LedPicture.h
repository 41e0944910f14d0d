#pragma once
// The picture of a frame's LEDs above the Diagnostics list: the frame drawn
// as its four edges, the x LEDs as small marks along the top edge and the y
// LEDs along the left edge, numbered as the list numbers them (x LEDs 1 to
// x, y LEDs x + 1 to x + y), each good or bad as the list says.
//
//      area.left
//      |  kCorner
//      +--+--+--+--+--+-- ... --+   <- frame.top: x LEDs 1, 2, 3 ... x
//      |  |                     |
//      +--  y LED x + 1         |
//      +--  y LED x + 2         |
//      |                        |
//      +------------------------+
//
// The marks of one axis share the edge's length after the corner evenly,
// LED i in the i-th of `count` equal parts; on a long axis a part may be
// narrower than a pixel, and then neighbouring marks overlap (the window
// draws the bad ones last, so that a bad LED is never hidden).

#include "diagnostics/LedScan.h"

#include <cstdint>
#include <optional>
#include <vector>

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect&) const = default;
};

struct LedMark {
    std::int32_t number = 0; // the LED's line number in the list
    bool bad = false;
    PixelRect mark;
    bool operator==(const LedMark&) const = default;
};

struct LedPictureLayout {
    PixelRect frame; // the frame's outline; empty when there is no scan to draw
    std::int32_t xCount = 0, yCount = 0;
    int markSize = 0;
    int corner = 0;             // the corner's room at the picture's DPI
    std::vector<LedMark> marks; // x LEDs first, then y LEDs, in number order
};

// Room the marks leave at the top-left corner, and the largest mark, at 96
// DPI; as much larger at the picture's DPI.
constexpr int kLedPictureCorner = 10;
constexpr int kLedMarkMaxSize = 7;

// The layout of a scan's LEDs in the picture's area (client pixels) at that
// DPI. A scan without a header, or an area too small for a frame, gives no
// marks.
LedPictureLayout LayOutLedPicture(const CLedScan& scan, PixelRect area, unsigned dpi = 96);

// The list number of the LED whose mark (or its part of the edge, within a
// mark's size of the edge line) is under the point; nothing elsewhere.
std::optional<std::int32_t> LedNumberAt(const LedPictureLayout& layout, int x, int y);
