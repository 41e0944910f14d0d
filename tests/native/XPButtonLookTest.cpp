#include "ui/XPButtonLook.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

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

TEST(XPButtonLook, LongCaptionsBecomeTwoLines)
{
    struct Case {
        std::wstring_view caption, first, second; // second empty: one line
    };
    const Case cases[] = {
        {L"", L"", L""},
        {L"Twelve chars", L"Twelve chars", L""},                        // 12: one line, even with a blank
        {L"Thirteen char", L"Thirteen", L"char"},                       // 13: two lines
        {L"Region Calibrate", L"Region", L"Calibrate"},                 // the only blank
        {L"Calibrate the region now", L"Calibrate the", L"region now"}, // the blank nearest the middle
        {L" Recalibration ", L" Recalibration ", L""},                  // outer blanks are no place to break
        {L"Recalibration", L"Recalibration", L""},                      // one word: no break
        {L"\u30bf\u30c3\u30c1\u30b9\u30af\u30ea\u30fc\u30f3\u306e\u8a2d\u5b9a\u3067\u3059", // 13 kana and Han
         L"\u30bf\u30c3\u30c1\u30b9\u30af\u30ea\u30fc", L"\u30f3\u306e\u8a2d\u5b9a\u3067\u3059"},
        {L"\u533a\u57df\u6821\u51c6\u533a\u57df\u6821\u51c6\u533a\u57df\u6821\u51c6\u533a\u57df", // 14 Han
         L"\u533a\u57df\u6821\u51c6\u533a\u57df\u6821", L"\u51c6\u533a\u57df\u6821\u51c6\u533a\u57df"},
        {L"\u30de\u30a6\u30b9\u3000\u30a8\u30df\u30e5\u30ec\u30fc\u30b7\u30e7\u30f3\u8a2d\u5b9a", // ideographic space
         L"\u30de\u30a6\u30b9", L"\u30a8\u30df\u30e5\u30ec\u30fc\u30b7\u30e7\u30f3\u8a2d\u5b9a"},
        {L"\u6821\u51c6\u6821\u51c6\u6821\u51c6&\u533a\u57df\u6821\u51c6\u533a\u57df", // never after '&'
         L"\u6821\u51c6\u6821\u51c6\u6821\u51c6&\u533a", L"\u57df\u6821\u51c6\u533a\u57df"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.caption.size() << " characters");
        const CaptionLines lines = CaptionLinesOf(c.caption);
        EXPECT_EQ(lines.first, c.first);
        EXPECT_EQ(lines.second, c.second);
        EXPECT_EQ(lines.TwoLines(), !c.second.empty());
    }

    // "Region" / "Calibrate" keep their fixed places; other pairs are centred.
    const LookRect item{0, 0, 80, 50};
    const CaptionLines region = CaptionLinesOf(L"Region Calibrate");
    EXPECT_EQ(TwoLinePlaces(item, region, {30, 13}, {40, 13}, false), (std::array<LookPoint, 2>{{{20, 12}, {16, 32}}}));
    EXPECT_EQ(TwoLinePlaces(item, region, {30, 13}, {40, 13}, true), (std::array<LookPoint, 2>{{{21, 13}, {17, 33}}}));
    // At 200 % they are centred as any pair, and pressed they move 2 pixels.
    EXPECT_EQ(TwoLinePlaces(item, region, {30, 13}, {40, 13}, true, 192),
              (std::array<LookPoint, 2>{{{27, 14}, {22, 27}}}));
    const CaptionLines other = CaptionLinesOf(L"Thirteen char");
    EXPECT_EQ(TwoLinePlaces(item, other, {40, 14}, {20, 14}, false), (std::array<LookPoint, 2>{{{20, 11}, {30, 25}}}));
    EXPECT_EQ(TwoLinePlaces(item, other, {40, 14}, {20, 14}, true), (std::array<LookPoint, 2>{{{21, 12}, {31, 26}}}));
    EXPECT_EQ(TwoLinePlaces(item, other, {40, 14}, {20, 14}, true, 144),
              (std::array<LookPoint, 2>{{{22, 13}, {32, 27}}}));
}
