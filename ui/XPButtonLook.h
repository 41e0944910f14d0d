#pragma once
// How the owner-drawn push button looks, said without a device context: its
// pens, the 64-step vertical gradient of its face, the hover and focus
// frames, and where its caption goes. The Win32 drawing (ui/XPButton_win32.cpp)
// follows these rules; the native tests check them.

#include "common/DpiScale.h"
#include "ui/LookTypes.h"

#include <array>
#include <cstddef>
#include <string_view>

// The nine pens, in the order the button creates them. All are drawn in the
// inside-frame style.
enum class XPButtonPen {
    OuterFrame,
    HoverLeft,
    HoverRight,
    HoverTop,
    HoverBottom,
    FocusLeft,
    FocusRight,
    FocusTop,
    FocusBottom,
};

struct PenLook {
    int width = 1;
    Rgb colour;
};

inline constexpr std::array<PenLook, 9> kXPButtonPens{{
    {1, {0, 0, 0}},       // rounded outer frame
    {3, {85, 173, 253}},  // hover frame, left edge
    {3, {86, 180, 253}},  // hover frame, right edge
    {2, {87, 190, 253}},  // hover frame, top edge
    {2, {88, 191, 253}},  // hover frame, bottom edge
    {3, {153, 198, 252}}, // focus frame, left edge
    {3, {162, 189, 252}}, // focus frame, right edge
    {2, {162, 201, 255}}, // focus frame, top edge
    {2, {162, 201, 255}}, // focus frame, bottom edge
}};

inline const PenLook& PenOf(XPButtonPen pen) { return kXPButtonPens[static_cast<std::size_t>(pen)]; }

// The button's two solid brushes (normal and pressed) share one colour: the
// fill inside the rounded frame, which the face's gradient then covers.
inline constexpr Rgb kXPButtonBrushColour{222, 223, 236};
// The corner ellipse of the rounded outer frame.
inline constexpr int kXPButtonCornerEllipse = 6;
inline constexpr int kXPButtonGradientSteps = 64;
// The caption is read up to this many characters.
inline constexpr std::size_t kXPButtonCaptionLimit = 260;

// What a drawing knows about the button.
struct XPButtonState {
    bool hot = false;       // the mouse hovers over it
    bool focused = false;   // it has the keyboard focus
    bool pressed = false;   // it is held down
    bool isDefault = false; // it is the dialog's default button
    bool disabled = false;
};

// Focused, pressed or the default button: the face takes the active colours.
bool IsActive(const XPButtonState& state);

// Colour index 0..63 of the gradient: a = 255 - i/4, c = 255 - i/3,
// b = 255 - i/5. Red and green are equal; the table picks them and blue by
// the hot and active flags.
Rgb GradientColour(int index, bool hot, bool active);

// The gradient fills the face row by row; client row y takes colour index
// 63 * y / face height, at most 63 (y counts from the button's top, so the
// face's first row, below the system edge, already has index 63 * edge / h).
int GradientIndex(int y, int faceHeight);

// The frame around the face: the strong hover frame while the mouse is over
// the button, else the pale focus frame (with the system focus rectangle)
// while it has the focus, else none.
enum class XPButtonFrame { None, Hover, Focus };
XPButtonFrame FrameOf(const XPButtonState& state);

// One edge line of a frame, from one point to the other (the end point is
// not drawn, as a line on the system's device contexts).
struct FrameLine {
    LookPoint from;
    LookPoint to;
    XPButtonPen pen = XPButtonPen::OuterFrame;
};
// Pen widths and the corner ellipse are 96-DPI lengths, drawn at the
// button's DPI: PenWidthAt(pen, 144) is half as wide again.
inline int PenWidthAt(const PenLook& pen, unsigned dpi) { return ScaleForDpi(pen.width, dpi); }

// The four lines of a hover or focus frame, in drawing order: left, right,
// top, bottom edge. Empty for XPButtonFrame::None.
std::array<FrameLine, 4> FrameLinesOf(const LookRect& face, XPButtonFrame frame);

// A caption of up to 12 characters is one line, centred in the button. A
// longer one is drawn as two lines when it has a place to break (the region
// calibration button's "Region Calibrate" and its translations need two
// lines to fit).
inline constexpr std::size_t kXPButtonOneLineLimit = 12;

struct CaptionLines {
    std::wstring_view first;
    std::wstring_view second; // empty: the caption is one line
    bool TwoLines() const { return !second.empty(); }
};

// Where a long caption breaks: at the blank nearest its middle (the blank is
// dropped); a text without blanks that holds Chinese or Japanese characters
// at its middle character (never inside a surrogate pair or after the
// ampersand that underlines the next character); a single word of any other
// script does not break. Captions of up to 12 characters stay one line.
CaptionLines CaptionLinesOf(std::wstring_view caption);

// The top-left corners of the two lines, moved 1 pixel right and down while
// pressed. At 96 DPI "Region" and "Calibrate" keep the region calibration
// button's fixed places, (20, 12) and (16, 32), which fit that button at
// that DPI only; any other pair, and that one at another DPI (where the
// button and its font do not grow alike), is centred line by line, and the
// pair as a block in the rectangle.
struct TextSize {
    int width = 0;
    int height = 0;
};
std::array<LookPoint, 2> TwoLinePlaces(const LookRect& item, const CaptionLines& lines, TextSize first, TextSize second,
                                       bool pressed, unsigned dpi = 96);

// How far the caption moves right and down while the button is pressed: 1
// pixel at 96 DPI.
inline int PressedOffset(bool pressed, unsigned dpi = 96) { return pressed ? ScaleForDpi(1, dpi) : 0; }

// The top-left corner that centres a text of that size in the rectangle.
LookPoint CentredText(const LookRect& rect, int textWidth, int textHeight);
