#include "app/TouchScreenLabelFit_win32.h"

#include "win/Dpi.h"
#include "win/GdiObjects.h"

#include <algorithm>
#include <string_view>

namespace {

// Room beside the widest line and below the two lines, at 96 DPI: the
// list's own padding around a label and a gap to the next item.
constexpr int kLabelSideRoom = 16;
constexpr int kLabelBottomRoom = 12;

int WidestLine(HDC dc, const std::vector<std::wstring>& labels)
{
    int widest = 0;
    for (const std::wstring& label : labels) {
        std::wstring_view rest = label;
        while (!rest.empty()) {
            const std::wstring_view line = rest.substr(0, rest.find(L'\n'));
            rest.remove_prefix(std::min(rest.size(), line.size() + 1));
            SIZE extent{};
            ::GetTextExtentPoint32W(dc, line.data(), static_cast<int>(line.size()), &extent);
            widest = std::max(widest, static_cast<int>(extent.cx));
        }
    }
    return widest;
}

} // namespace

void FitTouchScreenLabels(const CListView& list, const std::vector<std::wstring>& labels)
{
    list.SendMessage(LVM_SETICONSPACING, 0, MAKELONG(-1, -1)); // -1, -1: back to the default
    const auto spacing = static_cast<DWORD>(list.SendMessage(LVM_GETITEMSPACING, FALSE));
    const int width = LOWORD(spacing), height = HIWORD(spacing);

    CWindowDC dc(list);
    CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(list.SendMessage(WM_GETFONT)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int iconWidth = 0, iconHeight = 0;
    ::ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL)), &iconWidth,
                            &iconHeight);
    const unsigned dpi = WindowDpi(list);
    const int neededWidth = std::max(WidestLine(dc, labels), iconWidth) + ScaleForDpi(kLabelSideRoom, dpi);
    const int neededHeight = iconHeight + 2 * metrics.tmHeight + ScaleForDpi(kLabelBottomRoom, dpi);
    if (neededWidth <= width && neededHeight <= height)
        return;
    list.SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(std::max(width, neededWidth), std::max(height, neededHeight)));
}
