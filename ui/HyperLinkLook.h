#pragma once
// How the link static looks, said without a window: its text colour by
// state, and the rectangle it takes when it fits itself to its text.

#include "ui/LookTypes.h"

struct LinkColours {
    Rgb link{0, 0, 238};
    Rgb visited{85, 26, 139};
    Rgb hover; // the system highlight colour, read when the link is made
};

// The hover colour while the pointer is over the link, else the visited
// colour once it was opened, else the link colour.
Rgb LinkTextColour(const LinkColours& colours, bool over, bool visited);

enum class LinkAlignment { Left, Centre, Right };

// The rectangle (in the parent's coordinates) of a link fitted to a text of
// that size. Horizontally: centred on the old rectangle for centred text,
// the right edge kept for right-aligned text, else the left edge kept.
// Vertically: centred on the old rectangle when the control centres its
// content vertically, else the top kept.
LookRect FitLinkToText(const LookRect& old, int textWidth, int textHeight, LinkAlignment alignment,
                       bool centredVertically);
