#include "ui/HyperLinkLook.h"

#include <gtest/gtest.h>

TEST(HyperLinkLook, TextColourByState)
{
    LinkColours colours;
    colours.hover = {0, 120, 215};
    EXPECT_EQ(LinkTextColour(colours, false, false), (Rgb{0, 0, 238}));
    EXPECT_EQ(LinkTextColour(colours, false, true), (Rgb{85, 26, 139}));
    EXPECT_EQ(LinkTextColour(colours, true, false), colours.hover);
    EXPECT_EQ(LinkTextColour(colours, true, true), colours.hover) << "hover wins over visited";
}

TEST(HyperLinkLook, FitsToTheTextByAlignment)
{
    const LookRect old{10, 20, 110, 60}; // 100 x 40
    EXPECT_EQ(FitLinkToText(old, 30, 13, LinkAlignment::Left, false), (LookRect{10, 20, 40, 33}));
    EXPECT_EQ(FitLinkToText(old, 30, 13, LinkAlignment::Right, false), (LookRect{80, 20, 110, 33}));
    EXPECT_EQ(FitLinkToText(old, 30, 13, LinkAlignment::Centre, false), (LookRect{45, 20, 75, 33}));
    EXPECT_EQ(FitLinkToText(old, 30, 14, LinkAlignment::Left, true), (LookRect{10, 33, 40, 47}));
    // A text wider than the control grows it: centred text on both sides.
    EXPECT_EQ(FitLinkToText(old, 140, 13, LinkAlignment::Centre, true), (LookRect{-10, 33, 130, 46}));
}
