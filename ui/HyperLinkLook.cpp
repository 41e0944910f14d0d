#include "ui/HyperLinkLook.h"

Rgb LinkTextColour(const LinkColours& colours, bool over, bool visited)
{
    if (over)
        return colours.hover;
    return visited ? colours.visited : colours.link;
}

LookRect FitLinkToText(const LookRect& old, int textWidth, int textHeight, LinkAlignment alignment,
                       bool centredVertically)
{
    LookRect fitted;
    switch (alignment) {
    case LinkAlignment::Centre:
        fitted.left = old.left + (old.Width() - textWidth) / 2;
        break;
    case LinkAlignment::Right:
        fitted.left = old.right - textWidth;
        break;
    case LinkAlignment::Left:
        fitted.left = old.left;
        break;
    }
    fitted.right = fitted.left + textWidth;
    fitted.top = centredVertically ? old.top + (old.Height() - textHeight) / 2 : old.top;
    fitted.bottom = fitted.top + textHeight;
    return fitted;
}
