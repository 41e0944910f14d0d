#include "ui/XPButtonLook.h"

#include <gtest/gtest.h>

#include <string>

TEST(XPButtonLook, GradientColoursByHotAndActive)
{
    // Index 63: a = 255 - 15 = 240, c = 255 - 21 = 234, b = 255 - 12 = 243.
    EXPECT_EQ(GradientColour(63, false, false), (Rgb{234, 234, 243}));
    EXPECT_EQ(GradientColour(63, false, true), (Rgb{234, 234, 240}));
    EXPECT_EQ(GradientColour(63, true, false), (Rgb{240, 240, 243}));
    EXPECT_EQ(GradientColour(63, true, true), (Rgb{240, 240, 234}));
    // Index 20: a = 250, c = 249, b = 251.
    EXPECT_EQ(GradientColour(20, false, false), (Rgb{249, 249, 251}));
    EXPECT_EQ(GradientColour(20, true, true), (Rgb{250, 250, 249}));
    EXPECT_EQ(GradientColour(0, true, false), (Rgb{255, 255, 255}));
    // Out of the table: its ends.
    EXPECT_EQ(GradientColour(-3, false, false), GradientColour(0, false, false));
    EXPECT_EQ(GradientColour(64, false, true), GradientColour(63, false, true));
}

TEST(XPButtonLook, GradientIndexOfClientRow)
{
    EXPECT_EQ(GradientIndex(0, 40), 0);
    EXPECT_EQ(GradientIndex(2, 40), 3); // the face's first row below a 2-pixel edge
    EXPECT_EQ(GradientIndex(20, 40), 31);
    EXPECT_EQ(GradientIndex(40, 40), 63);
    EXPECT_EQ(GradientIndex(41, 40), 63) << "limited to 63";
    EXPECT_EQ(GradientIndex(5, 0), 63) << "an empty face does not divide by zero";
}

TEST(XPButtonLook, HoverFrameWinsOverFocusFrame)
{
    EXPECT_EQ(FrameOf({}), XPButtonFrame::None);
    EXPECT_EQ(FrameOf({.pressed = true, .isDefault = true}), XPButtonFrame::None);
    EXPECT_EQ(FrameOf({.focused = true}), XPButtonFrame::Focus);
    EXPECT_EQ(FrameOf({.hot = true}), XPButtonFrame::Hover);
    EXPECT_EQ(FrameOf({.hot = true, .focused = true}), XPButtonFrame::Hover);
}

TEST(XPButtonLook, FrameLinesRunAlongTheFaceEdges)
{
    const LookRect face{2, 2, 78, 38};
    auto hover = FrameLinesOf(face, XPButtonFrame::Hover);
    EXPECT_EQ(hover[0].from, (LookPoint{2, 37}));
    EXPECT_EQ(hover[0].to, (LookPoint{2, 3}));
    EXPECT_EQ(hover[1].from, (LookPoint{77, 37}));
    EXPECT_EQ(hover[1].to, (LookPoint{77, 2}));
    EXPECT_EQ(hover[2].from, (LookPoint{1, 2}));
    EXPECT_EQ(hover[2].to, (LookPoint{77, 2}));
    EXPECT_EQ(hover[3].from, (LookPoint{2, 38}));
    EXPECT_EQ(hover[3].to, (LookPoint{77, 38}));
    const XPButtonPen hoverPens[] = {XPButtonPen::HoverLeft, XPButtonPen::HoverRight, XPButtonPen::HoverTop,
                                     XPButtonPen::HoverBottom};
    const XPButtonPen focusPens[] = {XPButtonPen::FocusLeft, XPButtonPen::FocusRight, XPButtonPen::FocusTop,
                                     XPButtonPen::FocusBottom};
    auto focus = FrameLinesOf(face, XPButtonFrame::Focus);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(hover[i].pen, hoverPens[i]) << i;
        EXPECT_EQ(focus[i].pen, focusPens[i]) << i;
        EXPECT_EQ(focus[i].from, hover[i].from) << i;
        EXPECT_EQ(focus[i].to, hover[i].to) << i;
    }
    EXPECT_EQ(PenOf(XPButtonPen::HoverLeft).width, 3);
    EXPECT_EQ(PenOf(XPButtonPen::FocusTop).colour, (Rgb{162, 201, 255}));
}

TEST(XPButtonLook, LongCaptionsBecomeTheTwoRegionCalibrateLines)
{
    EXPECT_EQ(CaptionLayoutOf(0), CaptionLayout::Centred);
    EXPECT_EQ(CaptionLayoutOf(12), CaptionLayout::Centred);
    EXPECT_EQ(CaptionLayoutOf(13), CaptionLayout::RegionCalibrateLines);
    EXPECT_EQ(CaptionLayoutOf(std::wstring(L"Region Calibrate").size()), CaptionLayout::RegionCalibrateLines);

    auto lines = RegionCalibrateLines(false);
    EXPECT_EQ(std::wstring(lines[0].text), L"Region");
    EXPECT_EQ(lines[0].at, (LookPoint{20, 12}));
    EXPECT_EQ(std::wstring(lines[1].text), L"Calibrate");
    EXPECT_EQ(lines[1].at, (LookPoint{16, 32}));
    auto pressed = RegionCalibrateLines(true);
    EXPECT_EQ(pressed[0].at, (LookPoint{21, 13}));
    EXPECT_EQ(pressed[1].at, (LookPoint{17, 33}));
}
