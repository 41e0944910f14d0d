#include "ui/XPButtonLook.h"

#include <algorithm>
#include <cstdint>

bool IsActive(const XPButtonState& state) { return state.focused || state.pressed || state.isDefault; }

Rgb GradientColour(int index, bool hot, bool active)
{
    index = std::clamp(index, 0, kXPButtonGradientSteps - 1);
    auto a = static_cast<std::uint8_t>(255 - index / 4);
    auto c = static_cast<std::uint8_t>(255 - index / 3);
    auto b = static_cast<std::uint8_t>(255 - index / 5);
    std::uint8_t redGreen = hot ? a : c;
    std::uint8_t blue = hot ? (active ? c : b) : (active ? a : b);
    return {redGreen, redGreen, blue};
}

int GradientIndex(int y, int faceHeight)
{
    if (faceHeight <= 0)
        return kXPButtonGradientSteps - 1;
    return std::clamp((kXPButtonGradientSteps - 1) * y / faceHeight, 0, kXPButtonGradientSteps - 1);
}

XPButtonFrame FrameOf(const XPButtonState& state)
{
    if (state.hot)
        return XPButtonFrame::Hover;
    return state.focused ? XPButtonFrame::Focus : XPButtonFrame::None;
}

std::array<FrameLine, 4> FrameLinesOf(const LookRect& face, XPButtonFrame frame)
{
    if (frame == XPButtonFrame::None)
        return {};
    bool hover = frame == XPButtonFrame::Hover;
    int l = face.left, t = face.top, r = face.right, b = face.bottom;
    return {{
        {{l, b - 1}, {l, t + 1}, hover ? XPButtonPen::HoverLeft : XPButtonPen::FocusLeft},
        {{r - 1, b - 1}, {r - 1, t}, hover ? XPButtonPen::HoverRight : XPButtonPen::FocusRight},
        {{l - 1, t}, {r - 1, t}, hover ? XPButtonPen::HoverTop : XPButtonPen::FocusTop},
        {{l, b}, {r - 1, b}, hover ? XPButtonPen::HoverBottom : XPButtonPen::FocusBottom},
    }};
}

CaptionLayout CaptionLayoutOf(std::size_t captionLength)
{
    return captionLength <= 12 ? CaptionLayout::Centred : CaptionLayout::RegionCalibrateLines;
}

std::array<CaptionLine, 2> RegionCalibrateLines(bool pressed)
{
    int shift = PressedOffset(pressed);
    return {{{L"Region", {20 + shift, 12 + shift}}, {L"Calibrate", {16 + shift, 32 + shift}}}};
}

LookPoint CentredText(const LookRect& rect, int textWidth, int textHeight)
{
    return {rect.left + (rect.Width() - textWidth) / 2, rect.top + (rect.Height() - textHeight) / 2};
}
