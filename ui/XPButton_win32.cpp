#include "ui/XPButton_win32.h"

#include "win/Dpi.h"
#include "win/Reflection.h"

#include <string>

namespace {

COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

LookRect ToLook(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Vertical gradient: one row at a time, each in its table colour.
void FillGradient(HDC dc, const RECT& face, const XPButtonState& state)
{
    bool active = IsActive(state);
    int height = face.bottom - face.top;
    HBRUSH rowBrush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
    for (int y = face.top; y < face.bottom; ++y) {
        ::SetDCBrushColor(dc, ToColorRef(GradientColour(GradientIndex(y, height), state.hot, active)));
        RECT row{face.left, y, face.right, y + 1};
        ::FillRect(dc, &row, rowBrush);
    }
}

// The pen and drawing position it changes come back with the device
// context's saved state (DrawXPButton).
void DrawFrame(HDC dc, const RECT& face, XPButtonFrame frame, const CXPButtonGdi& gdi)
{
    if (frame == XPButtonFrame::None)
        return;
    for (const FrameLine& line : FrameLinesOf(ToLook(face), frame)) {
        ::SelectObject(dc, gdi.Pen(line.pen));
        ::MoveToEx(dc, line.from.x, line.from.y, nullptr);
        ::LineTo(dc, line.to.x, line.to.y);
    }
    if (frame == XPButtonFrame::Focus)
        ::DrawFocusRect(dc, &face);
}

// One line of text with its top-left corner at `at`: ampersand prefixes
// underline the next character; a disabled button embosses it.
void DrawTextAt(HDC dc, std::wstring_view text, POINT at, SIZE size, bool disabled)
{
    if (disabled) {
        std::wstring copy(text);
        ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(copy.c_str()), static_cast<WPARAM>(copy.size()),
                     at.x, at.y, size.cx, size.cy, DST_PREFIXTEXT | DSS_DISABLED);
        return;
    }
    RECT box{at.x, at.y, at.x + size.cx, at.y + size.cy};
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_NOCLIP);
}

SIZE MeasureText(HDC dc, std::wstring_view text)
{
    RECT box{};
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_CALCRECT);
    return {box.right - box.left, box.bottom - box.top};
}

void DrawCaption(HDC dc, const RECT& item, const XPButtonState& state, std::wstring_view caption, unsigned dpi)
{
    ::SetBkMode(dc, TRANSPARENT);
    const CaptionLines lines = CaptionLinesOf(caption);
    if (lines.TwoLines()) {
        const SIZE first = MeasureText(dc, lines.first), second = MeasureText(dc, lines.second);
        const auto places =
            TwoLinePlaces(ToLook(item), lines, {first.cx, first.cy}, {second.cx, second.cy}, state.pressed, dpi);
        DrawTextAt(dc, lines.first, {places[0].x, places[0].y}, first, state.disabled);
        DrawTextAt(dc, lines.second, {places[1].x, places[1].y}, second, state.disabled);
        return;
    }
    if (caption.empty())
        return;
    SIZE size = MeasureText(dc, caption);
    LookPoint at = CentredText(ToLook(item), size.cx, size.cy);
    int shift = PressedOffset(state.pressed, dpi);
    DrawTextAt(dc, caption, {at.x + shift, at.y + shift}, size, state.disabled);
}

} // namespace

CXPButtonGdi::CXPButtonGdi(unsigned dpi) : m_dpi(dpi)
{
    for (std::size_t i = 0; i < m_pens.size(); ++i)
        m_pens[i].Reset(
            ::CreatePen(PS_INSIDEFRAME, PenWidthAt(kXPButtonPens[i], dpi), ToColorRef(kXPButtonPens[i].colour)));
    for (CBrush& brush : m_brushes)
        brush.Reset(::CreateSolidBrush(ToColorRef(kXPButtonBrushColour)));
}

void DrawXPButton(HDC dc, const RECT& item, const XPButtonState& state, std::wstring_view caption,
                  const CXPButtonGdi& gdi, HFONT font)
{
    CSaveDC saved(dc);
    if (font)
        ::SelectObject(dc, font);

    ::SelectObject(dc, gdi.Pen(XPButtonPen::OuterFrame));
    ::SelectObject(dc, gdi.Brush(state.pressed));
    const int corner = ScaleForDpi(kXPButtonCornerEllipse, gdi.Dpi());
    ::RoundRect(dc, item.left, item.top, item.right, item.bottom, corner, corner);

    RECT face = item;
    ::InflateRect(&face, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    FillGradient(dc, face, state);
    DrawFrame(dc, face, FrameOf(state), gdi);
    DrawCaption(dc, item, state, caption, gdi.Dpi());
}

void CXPButton::OnSubclassed()
{
    // An owner-drawn button has its own button type: it replaces the push
    // button type rather than being or-ed with it.
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

LRESULT CXPButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSEHOVER:
        OnMouseHover();
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case kReflectBase + WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

void CXPButton::OnMouseMove()
{
    if (m_tracking)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
    m_tracking = ::TrackMouseEvent(&track) != FALSE;
}

void CXPButton::OnMouseHover()
{
    m_hot = true;
    Invalidate(true);
}

void CXPButton::OnMouseLeave()
{
    m_hot = false;
    m_tracking = false;
    Invalidate(false);
}

void CXPButton::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    XPButtonState state;
    state.hot = m_hot;
    state.focused = (item.itemState & ODS_FOCUS) != 0;
    state.pressed = (item.itemState & ODS_SELECTED) != 0;
    state.isDefault = (item.itemState & ODS_DEFAULT) != 0;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    m_focus = state.focused;
    m_active = IsActive(state);

    wchar_t caption[kXPButtonCaptionLimit + 1] = {};
    int length = ::GetWindowTextW(m_hWnd, caption, static_cast<int>(std::size(caption)));
    const unsigned dpi = WindowDpi(m_hWnd);
    if (!m_gdi || m_gdi->Dpi() != dpi)
        m_gdi = std::make_unique<CXPButtonGdi>(dpi);
    DrawXPButton(item.hDC, item.rcItem, state, std::wstring_view(caption, length > 0 ? length : 0), *m_gdi, GetFont());
}
