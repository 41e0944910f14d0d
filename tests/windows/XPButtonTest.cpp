// The owner-drawn push button: drawn into a memory canvas and checked pixel
// by pixel against its gradient table and frame pens in each state, its
// caption layouts, and the button window driven by messages and by the real
// pointer.

#include "ui/XPButton_win32.h"
#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr Rgb kBackground{255, 0, 255}; // never drawn by the button
constexpr Rgb kBlack{0, 0, 0};

struct TextBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; // inclusive
    bool Empty() const { return right < 0; }
};

// Crisp glyphs, so that text pixels are exactly the text colour.
HFONT TestFont()
{
    static HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
    return font;
}

LookRect FaceOf(int width, int height)
{
    int dx = GetSystemMetrics(SM_CXEDGE), dy = GetSystemMetrics(SM_CYEDGE);
    return {dx, dy, width - dx, height - dy};
}

std::unique_ptr<CCanvas> Draw(const XPButtonState& state, std::wstring_view caption, int width = 80, int height = 40)
{
    static CXPButtonGdi gdi;
    auto canvas = std::make_unique<CCanvas>(width, height, kBackground);
    DrawXPButton(*canvas, RECT{0, 0, width, height}, state, caption, gdi, TestFont());
    return canvas;
}

Rgb PenColour(XPButtonPen pen) { return PenOf(pen).colour; }
Rgb Inverted(Rgb c)
{
    return {static_cast<std::uint8_t>(255 - c.red), static_cast<std::uint8_t>(255 - c.green),
            static_cast<std::uint8_t>(255 - c.blue)};
}

// Face pixels in rows and columns [from, to) that differ from the table.
int GradientMismatches(const CCanvas& canvas, const XPButtonState& state, LookRect area)
{
    int faceHeight = FaceOf(canvas.Width(), canvas.Height()).Height();
    int mismatches = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        Rgb expected = GradientColour(GradientIndex(y, faceHeight), state.hot, IsActive(state));
        for (int x = area.left; x < area.right; ++x)
            if (canvas.At(x, y) != expected)
                ++mismatches;
    }
    return mismatches;
}

// The bounding box of black (text) pixels inside the face, in rows [top, bottom).
TextBox BlackBox(const CCanvas& canvas, int top = 0, int bottom = 1 << 20)
{
    LookRect face = FaceOf(canvas.Width(), canvas.Height());
    TextBox box;
    for (int y = std::max(face.top + 2, top); y < std::min(face.bottom - 2, bottom); ++y)
        for (int x = face.left + 2; x < face.right - 2; ++x)
            if (canvas.At(x, y) == kBlack) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

int FontHeight()
{
    CCanvas canvas(1, 1, kBackground);
    SelectObject(canvas, TestFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas, &metrics);
    return metrics.tmHeight;
}

} // namespace

TEST(XPButton, FaceFollowsTheGradientTableInEveryState)
{
    const std::vector<XPButtonState> states = {{},
                                               {.pressed = true},
                                               {.isDefault = true},
                                               {.focused = true},
                                               {.hot = true},
                                               {.hot = true, .pressed = true},
                                               {.disabled = true}};
    for (const XPButtonState& state : states) {
        SCOPED_TRACE(testing::Message() << "hot " << state.hot << " focused " << state.focused << " pressed "
                                        << state.pressed << " default " << state.isDefault);
        auto canvas = Draw(state, L"");
        LookRect face = FaceOf(80, 40);
        if (FrameOf(state) == XPButtonFrame::None)
            EXPECT_EQ(GradientMismatches(*canvas, state, face), 0);
        else // inside the frame lines (up to 2 pixels wide on each side of the face's edges)
            EXPECT_EQ(
                GradientMismatches(*canvas, state, {face.left + 2, face.top + 2, face.right - 3, face.bottom - 3}), 0);
        // The rounded black frame over the whole rectangle, its corners left alone.
        EXPECT_EQ(canvas->At(40, 0), kBlack);
        EXPECT_EQ(canvas->At(0, 20), kBlack);
        EXPECT_EQ(canvas->At(79, 20), kBlack);
        EXPECT_EQ(canvas->At(0, 0), kBackground);
        EXPECT_EQ(canvas->At(79, 0), kBackground);
        // Between the frame and the face: the button's brush (where no frame line covers it).
        if (FrameOf(state) == XPButtonFrame::None) {
            EXPECT_EQ(canvas->At(1, 20), kXPButtonBrushColour);
        }
    }
    // The active colours differ from the plain ones, and hot from both.
    EXPECT_NE(Draw({}, L"")->At(40, 30), Draw({.pressed = true}, L"")->At(40, 30));
    EXPECT_NE(Draw({}, L"")->At(40, 30), Draw({.hot = true}, L"")->At(40, 30));
}

TEST(XPButton, HoverFrameUsesTheStrongPens)
{
    for (bool focused : {false, true}) {
        SCOPED_TRACE(focused ? "hot and focused" : "hot");
        auto canvas = Draw({.hot = true, .focused = focused}, L"");
        LookRect face = FaceOf(80, 40);
        int midX = 40, midY = 20;
        EXPECT_EQ(canvas->At(face.left, midY), PenColour(XPButtonPen::HoverLeft));
        EXPECT_EQ(canvas->At(face.left + 1, midY), PenColour(XPButtonPen::HoverLeft)) << "3 pixels wide";
        EXPECT_EQ(canvas->At(face.right - 1, midY), PenColour(XPButtonPen::HoverRight));
        EXPECT_EQ(canvas->At(midX, face.top), PenColour(XPButtonPen::HoverTop));
        EXPECT_EQ(canvas->At(midX, face.bottom), PenColour(XPButtonPen::HoverBottom));
        // No focus rectangle while hot: the top line is whole.
        for (int x = face.left + 4; x < face.right - 4; ++x)
            ASSERT_EQ(canvas->At(x, face.top), PenColour(XPButtonPen::HoverTop)) << x;
    }
}

TEST(XPButton, FocusFrameUsesThePalePensAndTheFocusRectangle)
{
    auto canvas = Draw({.focused = true}, L"");
    LookRect face = FaceOf(80, 40);
    int midX = 40, midY = 20;
    // The focus rectangle lies on the face's outermost pixels; the pale
    // lines show beside it.
    EXPECT_EQ(canvas->At(face.left + 1, midY), PenColour(XPButtonPen::FocusLeft));
    EXPECT_EQ(canvas->At(face.right - 2, midY), PenColour(XPButtonPen::FocusRight));
    EXPECT_EQ(canvas->At(midX, face.bottom), PenColour(XPButtonPen::FocusBottom));
    // The top line carries the dotted focus rectangle: every pixel is the
    // pen's colour or its inversion, and both occur.
    int plain = 0, dotted = 0;
    for (int x = face.left + 4; x < face.right - 4; ++x) {
        Rgb pixel = canvas->At(x, face.top);
        plain += pixel == PenColour(XPButtonPen::FocusTop);
        dotted += pixel == Inverted(PenColour(XPButtonPen::FocusTop));
    }
    EXPECT_EQ(plain + dotted, face.Width() - 8);
    EXPECT_GT(plain, 10);
    EXPECT_GT(dotted, 10);
    // Without focus or hover: no frame at all.
    EXPECT_EQ(Draw({}, L"")->At(face.left + 1, midY), GradientColour(GradientIndex(midY, face.Height()), false, false));
}

TEST(XPButton, LongCaptionShowsTheTwoFixedLines)
{
    const int width = 90, height = 56, lineHeight = FontHeight();
    ASSERT_LT(12 + lineHeight, 32) << "the test font must leave a gap between the lines";
    for (bool pressed : {false, true}) {
        for (std::wstring_view caption : {L"Region Calibrate"}) {
            SCOPED_TRACE(testing::Message() << (pressed ? "pressed " : "") << caption.size() << " characters");
            auto canvas = Draw({.pressed = pressed}, caption, width, height);
            int shift = pressed ? 1 : 0;
            TextBox region = BlackBox(*canvas, 0, 30);
            TextBox calibrate = BlackBox(*canvas, 30);
            ASSERT_FALSE(region.Empty());
            ASSERT_FALSE(calibrate.Empty());
            EXPECT_GE(region.top, 12 + shift);
            EXPECT_LT(region.bottom, 12 + shift + lineHeight);
            EXPECT_GE(region.left, 20 + shift);
            EXPECT_LE(region.left, 22 + shift);
            EXPECT_GE(calibrate.top, 32 + shift);
            EXPECT_LT(calibrate.bottom, 32 + shift + lineHeight);
            EXPECT_GE(calibrate.left, 16 + shift);
            EXPECT_LE(calibrate.left, 18 + shift);
            EXPECT_GT(calibrate.right - calibrate.left, region.right - region.left) << "\"Calibrate\" is the longer";
        }
    }
}

TEST(XPButton, OtherLongCaptionsAreTwoCentredLines)
{
    const int width = 90, height = 56, lineHeight = FontHeight();
    for (bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "released");
        auto canvas = Draw({.pressed = pressed}, L"Thirteen char", width, height);
        const int shift = pressed ? 1 : 0, firstTop = (height - 2 * lineHeight) / 2 + shift;
        TextBox thirteen = BlackBox(*canvas, 0, firstTop + lineHeight);
        TextBox chars = BlackBox(*canvas, firstTop + lineHeight);
        ASSERT_FALSE(thirteen.Empty());
        ASSERT_FALSE(chars.Empty());
        EXPECT_GE(thirteen.top, firstTop);
        EXPECT_GE(chars.top, firstTop + lineHeight);
        EXPECT_LT(chars.bottom, firstTop + 2 * lineHeight);
        EXPECT_NEAR((thirteen.left + thirteen.right) / 2.0, width / 2 + shift, 2.0);
        EXPECT_NEAR((chars.left + chars.right) / 2.0, width / 2 + shift, 2.0);
        EXPECT_GT(thirteen.right - thirteen.left, chars.right - chars.left) << "\"Thirteen\" is the longer";
    }
}

TEST(XPButton, ShortCaptionIsCentredAndMovesWhenPressed)
{
    const int width = 120;
    TextBox box = BlackBox(*Draw({}, L"Twelve chars", width));
    ASSERT_FALSE(box.Empty());
    EXPECT_NEAR((box.left + box.right) / 2.0, width / 2, 2.0);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, 20, 3.0);

    TextBox pressed = BlackBox(*Draw({.pressed = true}, L"Twelve chars", width));
    EXPECT_EQ(pressed.left, box.left + 1);
    EXPECT_EQ(pressed.top, box.top + 1);
    EXPECT_EQ(pressed.right, box.right + 1);
    EXPECT_EQ(pressed.bottom, box.bottom + 1);
}

TEST(XPButton, AmpersandUnderlinesTheNextCharacter)
{
    TextBox plain = BlackBox(*Draw({}, L"Exit"));
    TextBox prefixed = BlackBox(*Draw({}, L"&Exit"));
    ASSERT_FALSE(plain.Empty());
    EXPECT_NEAR(prefixed.right - prefixed.left, plain.right - plain.left, 1) << "the ampersand is not drawn";
    EXPECT_GT(prefixed.bottom, plain.bottom) << "an underline below the text";
}

TEST(XPButton, DisabledCaptionIsEmbossed)
{
    auto canvas = Draw({.disabled = true}, L"Exit");
    EXPECT_TRUE(BlackBox(*canvas).Empty()) << "no plain black text";
    Rgb shadow = ToRgb(GetSysColor(COLOR_3DSHADOW)), light = ToRgb(GetSysColor(COLOR_3DHILIGHT));
    int shadows = 0, lights = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 20; x < 60; ++x) {
            shadows += canvas->At(x, y) == shadow;
            lights += canvas->At(x, y) == light;
        }
    EXPECT_GT(shadows, 10);
    EXPECT_GT(lights, 10);
}

namespace {

// A parent and one push button subclassed as a CXPButton.
struct XPButtonWindow {
    explicit XPButtonWindow(bool visible = false, int x = 100, int y = 100) : parent(x, y, 300, 200, visible)
    {
        handle = parent.AddControl(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, {20, 20, 100, 60}, 1001);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(TestFont()), FALSE);
        subclassed = button.SubclassDlgItem(1001, parent);
    }
    // What the button draws now, printed through the parent's reflection.
    std::unique_ptr<CCanvas> Print() { return PrintClient(handle, 80, 40, kBackground); }
    CReflectingParent parent;
    HWND handle = nullptr;
    CXPButton button;
    bool subclassed = false;
};

int Differences(const CCanvas& a, const CCanvas& b)
{
    int differences = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differences += a.At(x, y) != b.At(x, y);
    return differences;
}

} // namespace

TEST(XPButton, SubclassedButtonDrawsItselfOnTheReflectedDrawItem)
{
    XPButtonWindow window;
    ASSERT_TRUE(window.subclassed);
    EXPECT_EQ(GetWindowLongPtrW(window.handle, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(GetWindowLongPtrW(window.handle, GWL_STYLE) & WS_TABSTOP) << "other styles kept";

    EXPECT_EQ(Differences(*window.Print(), *Draw({}, L"OK")), 0);

    SendMessageW(window.handle, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(Differences(*window.Print(), *Draw({.pressed = true}, L"OK")), 0);
    EXPECT_TRUE(window.button.WasActive());
    SendMessageW(window.handle, BM_SETSTATE, FALSE, 0);

    SendMessageW(window.handle, WM_MOUSEHOVER, 0, 0);
    EXPECT_TRUE(window.button.IsHot());
    EXPECT_EQ(Differences(*window.Print(), *Draw({.hot = true}, L"OK")), 0);
    SendMessageW(window.handle, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(window.button.IsHot());
    EXPECT_FALSE(window.button.IsTracking());

    EnableWindow(window.handle, FALSE);
    EXPECT_EQ(Differences(*window.Print(), *Draw({.disabled = true}, L"OK")), 0);
    EXPECT_FALSE(window.button.WasActive());
}

TEST(XPButton, FocusedButtonDrawsTheFocusFrame)
{
    XPButtonWindow window(true);
    SetForegroundWindow(window.parent);
    SetFocus(window.handle);
    ASSERT_EQ(GetFocus(), window.handle);
    EXPECT_EQ(Differences(*window.Print(), *Draw({.focused = true}, L"OK")), 0);
    EXPECT_TRUE(window.button.HadFocus());
    EXPECT_TRUE(window.button.WasActive());
}

TEST(XPButton, RealPointerHoversAndLeaves)
{
    XPButtonWindow window(true, 200, 150);
    PumpFor(100);
    // Start over the parent, away from the button, then move onto it. (Two
    // moves: a pointer already resting on the target pixel sends nothing.)
    if (!RunXdotool("mousemove 440 310 mousemove 450 320"))
        GTEST_SKIP() << "no xdotool on this system";
    PumpFor(100);
    ASSERT_FALSE(window.button.IsHot());
    POINT centre{60, 40};
    ClientToScreen(window.parent, &centre);
    ASSERT_TRUE(RunXdotool("mousemove " + std::to_string(centre.x) + " " + std::to_string(centre.y)));
    EXPECT_TRUE(PumpUntil([&] { return window.button.IsHot(); }, 2000)) << "no hover after moving onto the button";
    EXPECT_TRUE(window.button.IsTracking());
    EXPECT_EQ(Differences(*window.Print(), *Draw({.hot = true}, L"OK")), 0);

    // Leave onto the parent (a Wine window: leaving to bare X sends nothing).
    ASSERT_TRUE(RunXdotool("mousemove 450 320"));
    EXPECT_TRUE(PumpUntil([&] { return !window.button.IsHot() && !window.button.IsTracking(); }, 2000))
        << "no leave after moving off the button";
}
