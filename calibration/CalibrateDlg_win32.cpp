#include "calibration/CalibrateDlg_win32.h"

#include "calibration/CalibrationLayout.h"
#include "calibration/MonitorAreas_win32.h"
#include "common/LanguageText.h"
#include "device/RemovalNotice.h"
#include "platform/Messages.h"
#include "res/resource.h"
#include "win/Dpi.h"

#include <windowsx.h>

namespace {

// The review's trail: white stands out on the blue more than any other
// colour, and is neither the hints' yellow nor the targets' black.
constexpr COLORREF kTrailColour = RGB(255, 255, 255);
constexpr int kTrailWidth = 3;
constexpr UINT_PTR kCountdownTimer = 8;
constexpr UINT kCountdownPeriodMs = 1000;

constexpr int kButtonIds[] = {IDC_CALIBRATE_OK, IDC_CALIBRATE_RECALIBRATE, IDC_CALIBRATE_CANCEL};
constexpr int kCollectingHints[] = {IDC_CALIBRATE_HINT_1, IDC_CALIBRATE_HINT_2, IDC_CALIBRATE_HINT_3,
                                    IDC_CALIBRATE_HINT_4};
constexpr int kReviewHints[] = {IDC_CALIBRATE_REVIEW_1, IDC_CALIBRATE_REVIEW_2, IDC_CALIBRATE_REVIEW_3};

constexpr ControlText kControlTexts[] = {
    {IDC_CALIBRATE_OK, L"38"},       {IDC_CALIBRATE_RECALIBRATE, L"50"}, {IDC_CALIBRATE_CANCEL, L"39"},
    {IDC_CALIBRATE_HINT_1, L"46"},   {IDC_CALIBRATE_HINT_2, L"47"},      {IDC_CALIBRATE_HINT_3, L"48"},
    {IDC_CALIBRATE_HINT_4, L"49"},   {IDC_CALIBRATE_REVIEW_1, L"51"},    {IDC_CALIBRATE_REVIEW_2, L"52"},
    {IDC_CALIBRATE_REVIEW_3, L"53"},
};

SIZE WindowSize(HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int ClientHeight(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return r.bottom - r.top;
}

// Moves a control only when its place changed, so that painting does not
// invalidate the window again and again.
void Place(HWND control, const LayoutRect& place)
{
    RECT now{};
    ::GetWindowRect(control, &now);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == place.left && now.top == place.top && now.right - now.left == place.width &&
        now.bottom - now.top == place.height)
        return;
    ::SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

const MessageEntry CCalibrateDlg::kEntries[] = {
    OnMessage<&CCalibrateDlg::OnPaint>(WM_PAINT),
    OnRecord<&CCalibrateDlg::OnTouchPoint>(WM_TOUCH_POINT),
    OnMessage<&CCalibrateDlg::OnRemovalNotice>(WM_TOUCHSCREEN_REMOVED),
    OnMessage<&CCalibrateDlg::OnTimer>(WM_TIMER),
    OnMessage<&CCalibrateDlg::OnClose>(WM_CLOSE),
    OnMessage<&CCalibrateDlg::OnPointerMove>(WM_MOUSEMOVE),
    OnMessage<&CCalibrateDlg::OnPointerPress>(WM_LBUTTONDOWN),
    OnMessage<&CCalibrateDlg::OnPointerRelease>(WM_LBUTTONUP),
    OnCommand<&CCalibrateDlg::OnReCalibrate>(IDC_CALIBRATE_RECALIBRATE, BN_CLICKED),
    OnCommand<&CCalibrateDlg::OnCancelButton>(IDC_CALIBRATE_CANCEL, BN_CLICKED),
    // OK is IDOK: the base class calls OnOK.
};
const MessageTable CCalibrateDlg::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

CCalibrateDlg::CCalibrateDlg(CalibratePanelServices services, unsigned slot, bool instructions)
    : CDialogImpl(IDD_CALIBRATE, DialogTheme{kCalibrationBackground, kCalibrationHintText, true}),
      m_panel(std::move(services), *this, slot, instructions),
      m_trailPen(::CreatePen(PS_SOLID, kTrailWidth, kTrailColour)), m_trailPenDpi(96)
{
}

CCalibrateDlg::~CCalibrateDlg()
{
    if (m_hWnd)
        ::KillTimer(m_hWnd, kCountdownTimer);
    // The panel's destructor puts the driver back; the cursor shows again with m_cursor.
}

bool CCalibrateDlg::OnInitDialog()
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i].SubclassDlgItem(kButtonIds[i], m_hWnd);
    for (const ControlText& text : kControlTexts)
        SetDlgItemText(text.id, GetLanguageText(text.key));
    m_panel.Open(m_hWnd);
    return true;
}

bool CCalibrateDlg::PreTranslateMessage(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)))
        return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        m_panel.OnEscape();
        return true;
    }
    if (m_panel.CurrentPhase() == CCalibratePanel::Phase::Reviewing) {
        // Enter presses the focused button, not the default one.
        if (msg.wParam == VK_RETURN)
            msg.wParam = VK_SPACE;
        return false;
    }
    // Collecting: no key presses a button that is not there.
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE);
}

// ---- ICalibrateView

void CCalibrateDlg::ShowHints(Hints hints, bool instructions)
{
    const bool collecting = instructions && hints == Hints::Collecting;
    const bool review = instructions && hints == Hints::Review;
    for (int id : kCollectingHints)
        ::ShowWindow(GetDlgItem(id), collecting ? SW_SHOW : SW_HIDE);
    for (int id : kReviewHints)
        ::ShowWindow(GetDlgItem(id), review ? SW_SHOW : SW_HIDE);
}

void CCalibrateDlg::ShowReviewButtons(bool show)
{
    for (int id : kButtonIds)
        ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

void CCalibrateDlg::SetCancelText(const std::wstring& text) { SetDlgItemText(IDC_CALIBRATE_CANCEL, text); }

void CCalibrateDlg::ShowNotice(const std::wstring& text)
{
    SetDlgItemText(IDC_CALIBRATE_NOTICE, text);
    ::ShowWindow(GetDlgItem(IDC_CALIBRATE_NOTICE), text.empty() ? SW_HIDE : SW_SHOW);
}

void CCalibrateDlg::DrawTrail(const TrailSegment& piece)
{
    // Not over the buttons and hints, which paint their own background over
    // the trail when they repaint anyway.
    CWindowDC dc(m_hWnd, DCX_CACHE | DCX_CLIPCHILDREN);
    DrawTrailPiece(dc, piece);
}

void CCalibrateDlg::ShowPointer(bool show)
{
    if (show)
        m_cursor.Show();
    else
        m_cursor.Hide();
}

void CCalibrateDlg::StartCountdown() { ::SetTimer(m_hWnd, kCountdownTimer, kCountdownPeriodMs, nullptr); }

void CCalibrateDlg::StopCountdown() { ::KillTimer(m_hWnd, kCountdownTimer); }

// The geometry the driver stores is physical, whatever the monitor's scale.
ScreenRect CCalibrateDlg::WindowRect() { return PhysicalWindowRect(m_hWnd); }

ScreenSize CCalibrateDlg::PrimaryScreenSize()
{
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void CCalibrateDlg::ShowRemovedMessage()
{
    ::MessageBoxW(m_hWnd, kDeviceRemovedText, GetLanguageText(kProgramTitleKey).c_str(), MB_OK | MB_TOPMOST);
}

void CCalibrateDlg::EndDialog(bool kept)
{
    // Hidden here; the main window destroys the dialog when its end message
    // arrives, after it enabled itself, so that it gets the activation back.
    StopCountdown();
    m_cursor.Show();
    ShowWindow(SW_HIDE);
}

// ---- messages

void CCalibrateDlg::OnPaint()
{
    CPaintDC dc(m_hWnd);
    const SIZE size = WindowSize(m_hWnd);
    LayOutControls(size.cx, size.cy);
    const int index = m_panel.TargetShown();
    if (index >= 0 && index < 4) {
        const TargetShape target = CalibrationTarget(index, size.cx, size.cy);
        CPen pen(::CreatePen(PS_SOLID, ScaleForWindow(m_hWnd, 1), RGB(0, 0, 0))); // deselected before it goes
        CSaveDC saved(dc);
        ::SelectObject(dc, BackgroundBrush());
        if (pen)
            ::SelectObject(dc, pen.Get());
        ::SetROP2(dc, R2_MASKPEN);
        const int x = target.x, y = target.y, r = target.radius;
        ::MoveToEx(dc, x - r, y, nullptr);
        ::LineTo(dc, x + r, y);
        ::MoveToEx(dc, x, y - r, nullptr);
        ::LineTo(dc, x, y + r);
        for (int radius : target.circleRadii)
            ::Ellipse(dc, x - radius, y - radius, x + radius, y + radius);
    }
    for (const std::vector<TrailPoint>& stroke : m_panel.Trail().Strokes()) {
        DrawTrailPiece(dc, {stroke.front(), stroke.front()});
        for (std::size_t i = 1; i < stroke.size(); ++i)
            DrawTrailPiece(dc, {stroke[i - 1], stroke[i]});
    }
}

void CCalibrateDlg::LayOutControls(int width, int height)
{
    HWND cancel = GetDlgItem(IDC_CALIBRATE_CANCEL);
    RECT cancelClient{};
    ::GetClientRect(cancel, &cancelClient);
    const int bw = cancelClient.right, bh = cancelClient.bottom;
    const unsigned dpi = WindowDpi(m_hWnd);
    const ButtonLayout buttons = LayOutButtons(width, height, bw, bh, dpi);
    Place(GetDlgItem(IDC_CALIBRATE_OK), buttons.ok);
    Place(GetDlgItem(IDC_CALIBRATE_RECALIBRATE), buttons.reCalibrate);
    Place(cancel, buttons.cancel);

    const SIZE first = WindowSize(GetDlgItem(IDC_CALIBRATE_HINT_1));
    HintSizes sizes;
    sizes.firstWidth = first.cx;
    sizes.firstHeight = first.cy;
    sizes.client2 = ClientHeight(GetDlgItem(IDC_CALIBRATE_HINT_2));
    sizes.client3 = ClientHeight(GetDlgItem(IDC_CALIBRATE_HINT_3));
    sizes.client5 = ClientHeight(GetDlgItem(IDC_CALIBRATE_REVIEW_1));
    sizes.client6 = ClientHeight(GetDlgItem(IDC_CALIBRATE_REVIEW_2));
    sizes.client7 = ClientHeight(GetDlgItem(IDC_CALIBRATE_REVIEW_3));
    const auto hints = LayOutHints(width, height, bh, sizes, dpi);
    constexpr int kHintIds[] = {IDC_CALIBRATE_HINT_1,  IDC_CALIBRATE_HINT_2,   IDC_CALIBRATE_HINT_3,
                                IDC_CALIBRATE_HINT_4,  IDC_CALIBRATE_REVIEW_1, IDC_CALIBRATE_REVIEW_2,
                                IDC_CALIBRATE_REVIEW_3};
    for (std::size_t i = 0; i < hints.size(); ++i)
        Place(GetDlgItem(kHintIds[i]), hints[i]);
    HWND notice = GetDlgItem(IDC_CALIBRATE_NOTICE);
    Place(notice, LayOutNotice(width, height, sizes, WindowSize(notice).cy, dpi));
}

void CCalibrateDlg::DrawTrailPiece(HDC dc, const TrailSegment& piece)
{
    // The trail is 3 pixels wide at 96 DPI, as much wider at the window's.
    if (const unsigned dpi = WindowDpi(m_hWnd); dpi != m_trailPenDpi) {
        if (HPEN pen = ::CreatePen(PS_SOLID, ScaleForDpi(kTrailWidth, dpi), kTrailColour)) {
            m_trailPen.Reset(pen);
            m_trailPenDpi = dpi;
        }
    }
    CSaveDC saved(dc);
    ::SelectObject(dc, m_trailPen.Get());
    ::SetROP2(dc, R2_COPYPEN);
    ::MoveToEx(dc, piece.from.x, piece.from.y, nullptr);
    // A line of no length draws nothing: a stroke's first point is a dot.
    if (piece.from == piece.to)
        ::LineTo(dc, piece.to.x + 1, piece.to.y);
    else
        ::LineTo(dc, piece.to.x, piece.to.y);
}

std::optional<COLORREF> CCalibrateDlg::ControlTextColour(HWND control) const
{
    // The buttons in black, the hints and the notice in the hint colour.
    const int id = ::GetDlgCtrlID(control);
    const bool button = id == IDC_CALIBRATE_OK || id == IDC_CALIBRATE_RECALIBRATE || id == IDC_CALIBRATE_CANCEL;
    return button ? RGB(0, 0, 0) : kCalibrationHintText;
}

void CCalibrateDlg::OnRemovalNotice(WPARAM key, LPARAM)
{
    if (IsOwnRemovalNotice(key))
        m_panel.OnRemovalNotice();
}

void CCalibrateDlg::OnPointerMove(WPARAM, LPARAM point)
{
    m_panel.OnPointerMove({GET_X_LPARAM(point), GET_Y_LPARAM(point)});
}

void CCalibrateDlg::OnPointerPress(WPARAM, LPARAM point)
{
    // The release comes here even when it happens beyond the window.
    if (m_panel.CurrentPhase() == CCalibratePanel::Phase::Reviewing)
        ::SetCapture(m_hWnd);
    m_panel.OnPointerMove({GET_X_LPARAM(point), GET_Y_LPARAM(point)});
}

void CCalibrateDlg::OnPointerRelease(WPARAM, LPARAM point)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_panel.OnPointerRelease({GET_X_LPARAM(point), GET_Y_LPARAM(point)});
}

void CCalibrateDlg::OnTimer(WPARAM id, LPARAM)
{
    if (id == kCountdownTimer)
        m_panel.OnTick();
}
