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

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\u3000'; }

// Han, kana and their punctuation and full-width forms: text that is written
// without blanks between words and may break between any two characters.
bool IsCjk(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// May the second line start at `at`? Not inside a surrogate pair, and not
// right after an ampersand prefix, which belongs to the character after it.
bool CanBreakBefore(std::wstring_view text, std::size_t at)
{
    if (at == 0 || at >= text.size())
        return false;
    if (text[at] >= 0xDC00 && text[at] <= 0xDFFF)
        return false;
    return text[at - 1] != L'&';
}

std::wstring_view TrimBlanks(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

CaptionLines CaptionLinesOf(std::wstring_view caption)
{
    if (caption.size() <= kXPButtonOneLineLimit)
        return {caption, {}};
    const std::wstring_view text = TrimBlanks(caption);
    // Distances are counted in half characters from the middle of the text to
    // the middle of the blank, so that both halves weigh alike.
    const std::size_t twiceMiddle = text.size();
    std::size_t best = std::wstring_view::npos, bestDistance = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsBlank(text[i]))
            continue;
        std::size_t centre = 2 * i + 1;
        std::size_t distance = centre > twiceMiddle ? centre - twiceMiddle : twiceMiddle - centre;
        if (best == std::wstring_view::npos || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best != std::wstring_view::npos)
        return {TrimBlanks(text.substr(0, best)), TrimBlanks(text.substr(best + 1))};

    bool cjk = false;
    for (wchar_t c : text)
        cjk = cjk || IsCjk(c);
    if (!cjk)
        return {caption, {}};
    // The first line takes the middle character of an odd count; a break that
    // would split a pair moves one character on.
    for (std::size_t at = (text.size() + 1) / 2; at < text.size(); ++at)
        if (CanBreakBefore(text, at))
            return {text.substr(0, at), text.substr(at)};
    return {caption, {}};
}

std::array<LookPoint, 2> TwoLinePlaces(const LookRect& item, const CaptionLines& lines, TextSize first, TextSize second,
                                       bool pressed, unsigned dpi)
{
    const int shift = PressedOffset(pressed, dpi);
    const bool designDpi = dpi == 96 || dpi == 0;
    if (designDpi && lines.first == L"Region" && lines.second == L"Calibrate")
        return {{{20 + shift, 12 + shift}, {16 + shift, 32 + shift}}};
    const int top = item.top + (item.Height() - first.height - second.height) / 2;
    return {{{item.left + (item.Width() - first.width) / 2 + shift, top + shift},
             {item.left + (item.Width() - second.width) / 2 + shift, top + first.height + shift}}};
}

LookPoint CentredText(const LookRect& rect, int textWidth, int textHeight)
{
    return {rect.left + (rect.Width() - textWidth) / 2, rect.top + (rect.Height() - textHeight) / 2};
}
