#include "ui/HyperLink_win32.h"

#include "win/Reflection.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

namespace {

// Cursor resource 106 of the help viewer in the Windows folder is the hand
// the link shows; IDC_HAND stands in where that file is absent (Wine keeps
// its help viewer in the system folder only).
constexpr int kHelpViewerHandCursor = 106;
constexpr UINT_PTR kToolId = 1;

Rgb FromColorRef(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }
COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

LinkAlignment AlignmentOf(LONG_PTR style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        return LinkAlignment::Centre;
    case SS_RIGHT:
        return LinkAlignment::Right;
    default:
        return LinkAlignment::Left;
    }
}

} // namespace

CHyperLink::CHyperLink() { m_colours.hover = FromColorRef(::GetSysColor(COLOR_HIGHLIGHT)); }

CHyperLink::~CHyperLink()
{
    if (IsWindow()) {
        if (GetFont() == m_font.Get())
            SetFont(m_originalFont, false);
        if (m_over && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    DestroyTooltip();
    ReleaseOwnCursor();
}

void CHyperLink::SetAddress(const std::wstring& address)
{
    m_address = address;
    if (!m_tooltip)
        return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = m_address.data();
    ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::SetColours(const LinkColours& colours)
{
    m_colours = colours;
    if (IsWindow())
        RedrawNow();
}

void CHyperLink::SetVisited(bool visited)
{
    m_visited = visited;
    if (IsWindow())
        RedrawNow();
}

void CHyperLink::SetLinkCursor(HCURSOR cursor)
{
    ReleaseOwnCursor();
    m_linkCursor = cursor;
}

void CHyperLink::OnSubclassed()
{
    ModifyStyle(0, SS_NOTIFY); // clicks are reported only with the notify style
    std::wstring text = GetWindowText();
    if (m_address.empty())
        m_address = text;
    if (text.empty())
        SetWindowText(m_address);
    SetUpFont();
    if (m_adjustSize)
        FitToText();
    if (!m_linkCursor)
        LoadLinkCursor();
    CreateTooltip();
}

// The control's own font, underlined as the underline flag says.
void CHyperLink::SetUpFont()
{
    HFONT current = GetFont();
    LOGFONTW font{};
    if (!::GetObjectW(current ? current : ::GetStockObject(SYSTEM_FONT), sizeof font, &font))
        return;
    font.lfUnderline = m_underline ? TRUE : FALSE;
    m_font.Reset(::CreateFontIndirectW(&font));
    if (!m_font)
        return;
    m_originalFont = current;
    SetFont(m_font);
}

void CHyperLink::FitToText()
{
    std::wstring text = GetWindowText();
    if (text.empty())
        return; // a control sized to nothing could never be clicked
    RECT extent{};
    {
        CWindowDC dc(m_hWnd);
        CSelectObject select(dc, m_font ? static_cast<HGDIOBJ>(m_font.Get()) : ::GetStockObject(SYSTEM_FONT));
        UINT prefix = (GetStyle() & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_SINGLELINE | DT_CALCRECT | prefix);
    }

    RECT window = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, GetParent(), reinterpret_cast<POINT*>(&window), 2);
    LONG_PTR style = GetStyle();
    LookRect fitted = FitLinkToText({window.left, window.top, window.right, window.bottom}, extent.right, extent.bottom,
                                    AlignmentOf(style), (style & SS_CENTERIMAGE) != 0);
    ::SetWindowPos(m_hWnd, nullptr, fitted.left, fitted.top, fitted.Width(), fitted.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// A copy of the help viewer's hand cursor, so that the file can be released
// at once.
void CHyperLink::LoadLinkCursor()
{
    wchar_t folder[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::wstring path = std::wstring(folder, length) + L"\\winhlp32.exe";
        if (HMODULE viewer = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR hand = ::LoadCursorW(viewer, MAKEINTRESOURCEW(kHelpViewerHandCursor))) {
                m_linkCursor = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(hand)));
                m_ownsCursor = m_linkCursor != nullptr;
            }
            ::FreeLibrary(viewer);
        }
    }
    if (!m_linkCursor)
        m_linkCursor = ::LoadCursorW(nullptr, IDC_HAND); // shared: never destroyed
}

void CHyperLink::CreateTooltip()
{
    auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    m_tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, module, nullptr);
    if (!m_tooltip)
        return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // accepted by every version of the common controls
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.rect = GetClientRect();
    tool.lpszText = m_address.data();
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::DestroyTooltip()
{
    if (m_tooltip && ::IsWindow(m_tooltip))
        ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
}

void CHyperLink::ReleaseOwnCursor()
{
    if (m_ownsCursor && m_linkCursor)
        ::DestroyCursor(m_linkCursor);
    m_ownsCursor = false;
    m_linkCursor = nullptr;
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        RelayToTooltip(message, wParam, lParam);
    switch (message) {
    case kReflectBase + WM_CTLCOLORSTATIC:
        return OnColourRequest(reinterpret_cast<HDC>(wParam));
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED)
            return 0;
        OnClicked();
        return TRUE;
    case WM_MOUSEMOVE: {
        LRESULT result = DefaultProc(message, wParam, lParam);
        OnMouseMove(lParam);
        return result;
    }
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        break;
    case WM_SETCURSOR:
        if (!m_linkCursor)
            break;
        ::SetCursor(m_linkCursor);
        return TRUE;
    case WM_DESTROY:
        DestroyTooltip();
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

// The tooltip sees the pointer's messages before the link handles them.
void CHyperLink::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_tooltip)
        return;
    DWORD position = ::GetMessagePos();
    MSG msg{m_hWnd,
            message,
            wParam,
            lParam,
            static_cast<DWORD>(::GetMessageTime()),
            {GET_X_LPARAM(position), GET_Y_LPARAM(position)}};
    ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

LRESULT CHyperLink::OnColourRequest(HDC dc)
{
    ::SetTextColor(dc, ToColorRef(LinkTextColour(m_colours, m_over, m_visited)));
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnClicked()
{
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(GetParent(), L"open", m_address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    m_visited = result > 32;
    if (!m_visited)
        ::MessageBeep(MB_ICONEXCLAMATION);
    RedrawNow();
}

// While the pointer is over the link the link holds the capture, so that it
// sees the move that takes the pointer away.
void CHyperLink::OnMouseMove(LPARAM lParam)
{
    if (!m_over) {
        m_over = true;
        RedrawNow();
        ::SetCapture(m_hWnd);
        return;
    }
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client = GetClientRect();
    if (::PtInRect(&client, point))
        return;
    m_over = false;
    ::ReleaseCapture();
    RedrawNow();
}

// Another window took the capture (a menu, a drag elsewhere): the pointer's
// leaving would go unseen, so the link stops being hovered now.
void CHyperLink::OnCaptureChanged(HWND gaining)
{
    if (!m_over || gaining == m_hWnd)
        return;
    m_over = false;
    RedrawNow();
}

// The text is drawn without a background of its own: the parent repaints
// what lies under the link first, then the link draws in its new colour.
void CHyperLink::RedrawNow()
{
    HWND parent = GetParent();
    if (!parent) {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return;
    }
    RECT area = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
