#include "calibration/CalibrationLayout.h"

#include "common/DpiScale.h"

#include <algorithm>

TargetShape CalibrationTarget(int index, int w, int h)
{
    TargetShape target;
    target.x = (index == 0 || index == 2) ? w / 8 : w - w / 8;
    target.y = (index == 0 || index == 1) ? h / 6 : h - h / 6;
    const int r = std::min(w, h) / 32;
    target.radius = r;
    target.circleRadii = {3 * r / 4, r / 2, r / 4, r};
    return target;
}

ButtonLayout LayOutButtons(int w, int h, int buttonWidth, int buttonHeight, unsigned dpi)
{
    const int cx = w / 2, cy = h / 2;
    const int left = cx - buttonWidth / 2, top = cy - buttonHeight / 2;
    const int width = (cx + buttonWidth / 2) - left, height = (cy + buttonHeight / 2) - top;
    const int shift = buttonWidth + ScaleForDpi(20, dpi);
    ButtonLayout layout;
    layout.ok = {left, top, width, height};
    layout.reCalibrate = {left - shift, top, width, height};
    layout.cancel = {left + shift, top, width, height};
    return layout;
}

std::array<LayoutRect, 7> LayOutHints(int w, int h, int buttonHeight, const HintSizes& s, unsigned dpi)
{
    const int left = w / 2 - s.firstWidth / 2;
    const int width = (w / 2 + s.firstWidth / 2) - left;
    const int h1 = s.firstHeight;
    const int y1 = h / 2 - h1 / 2 - ScaleForDpi(60, dpi);
    const int below = h / 2 + buttonHeight;
    return {{
        {left, y1, width, 2 * (h1 / 2)},
        {left, y1 + h1, width, 2 * (h1 / 2)},
        {left, y1 + h1 + s.client2, width, s.client3},
        {left, y1 + h1 + s.client2 + s.client3, width, std::max(0, s.client3 - ScaleForDpi(30, dpi))},
        {left, below, width, s.client5},
        {left, below + s.client6, width, s.client5},
        {left, below + s.client6 + s.client7, width, s.client5},
    }};
}

LayoutRect LayOutNotice(int w, int h, const HintSizes& s, int noticeHeight, unsigned dpi)
{
    const int left = std::max(0, w / 2 - s.firstWidth / 2);
    const int width = std::min(w, s.firstWidth);
    const int firstHintTop = h / 2 - s.firstHeight / 2 - ScaleForDpi(60, dpi);
    return {left, std::max(0, firstHintTop - noticeHeight - ScaleForDpi(10, dpi)), width, noticeHeight};
}
