#pragma once
// The plain values the owner-drawn controls' looks are described in: a
// colour as red, green and blue, a point and a rectangle in client pixels
// (right and bottom exclusive, as the system's rectangles).

#include <cstdint>

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct LookPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LookPoint&) const = default;
};

struct LookRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LookRect&) const = default;
};
