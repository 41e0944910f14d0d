#include "calibration/DeviceMatchDlg_win32.h"

#include "device/RemovalNotice.h"
#include "platform/Messages.h"
#include "res/resource.h"
#include "win/Dpi.h"

namespace {

// The target: a cross of 100 pixels and five rings, drawn in this order,
// and the number's height; at 96 DPI, as much larger at the window's DPI.
constexpr int kCrossHalf = 50;
constexpr int kRingRadii[] = {30, 20, 10, 40, 50};
constexpr int kNumberHeight = 320;

} // namespace

const MessageEntry CDeviceMatchDlg::kEntries[] = {
    OnMessage<&CDeviceMatchDlg::OnPaint>(WM_PAINT),
    OnRecord<&CDeviceMatchDlg::OnTouchPoint>(WM_TOUCH_POINT),
    OnMessage<&CDeviceMatchDlg::OnTimer>(WM_TIMER),
    OnMessage<&CDeviceMatchDlg::OnClose>(WM_CLOSE),
    OnMessage<&CDeviceMatchDlg::OnTouchScreenRemoved>(WM_TOUCHSCREEN_REMOVED),
    OnMessage<&CDeviceMatchDlg::OnDestroy>(WM_DESTROY),
};
const MessageTable CDeviceMatchDlg::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

CDeviceMatchDlg::CDeviceMatchDlg(DeviceMatchServices services)
    : CDialogImpl(IDD_DEVICE_MATCH, DialogTheme{kCalibrationBackground, std::nullopt, true}),
      m_panel(std::move(services), *this)
{
}

CDeviceMatchDlg::~CDeviceMatchDlg()
{
    // Gone without its WM_DESTROY (the base detaches a window still there):
    // the finish still runs, while this object can still show and post.
    m_panel.Finish();
}

bool CDeviceMatchDlg::Open(HWND mainWindow)
{
    m_mainWindow = mainWindow;
    if (!Create(mainWindow))
        return false;
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    SetFocus(); // Esc and Enter reach this window
    return true;
}

bool CDeviceMatchDlg::OnInitDialog()
{
    if (m_mainWindow)
        ::EnableWindow(m_mainWindow, FALSE);
    m_panel.Open(m_hWnd, m_mainWindow);
    return false; // no control to focus
}

bool CDeviceMatchDlg::PreTranslateMessage(MSG& msg)
{
    if (msg.message != WM_KEYDOWN || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)))
        return false;
    if (msg.wParam == VK_RETURN)
        return true; // swallowed
    if (msg.wParam == VK_ESCAPE)
        m_panel.Finish(); // then the dialog's own Esc handling cancels it
    return false;
}

void CDeviceMatchDlg::OnCancel()
{
    m_panel.Finish();
    EnableMainWindow();
    EndDialog(IDCANCEL);
}

void CDeviceMatchDlg::EnableMainWindow()
{
    // Before this window goes: activation then returns to the main window
    // instead of to none, which would leave no window with the keyboard.
    if (m_mainWindow)
        ::EnableWindow(m_mainWindow, TRUE);
}

// ---- IDeviceMatchView

void CDeviceMatchDlg::CoverMonitor(const MonitorEntry& monitor)
{
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                   monitor.bottom - monitor.top, SWP_NOACTIVATE);
    Invalidate();
}

void CDeviceMatchDlg::StartTimer(unsigned id, unsigned milliseconds) { ::SetTimer(m_hWnd, id, milliseconds, nullptr); }

void CDeviceMatchDlg::StopTimer(unsigned id) { ::KillTimer(m_hWnd, id); }

void CDeviceMatchDlg::Close() { PostMessage(WM_CLOSE); }

// ---- messages

void CDeviceMatchDlg::OnPaint()
{
    CPaintDC dc(m_hWnd);
    const RECT client = GetClientRect();
    const int cx = client.right / 2;
    const int cy = client.bottom / 2;
    const unsigned dpi = WindowDpi(m_hWnd);
    {
        // Masking with the background colour keeps every ring visible: a
        // larger disc drawn later leaves the smaller rings under it.
        CPen pen(::CreatePen(PS_SOLID, ScaleForDpi(1, dpi), RGB(0, 0, 0))); // deselected before it goes
        CSaveDC saved(dc);
        ::SelectObject(dc, BackgroundBrush());
        ::SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen.Get()) : ::GetStockObject(BLACK_PEN));
        ::SetROP2(dc, R2_MASKPEN);
        const int half = ScaleForDpi(kCrossHalf, dpi);
        ::MoveToEx(dc, cx - half, cy, nullptr);
        ::LineTo(dc, cx + half, cy);
        ::MoveToEx(dc, cx, cy - half, nullptr);
        ::LineTo(dc, cx, cy + half);
        for (int radius96 : kRingRadii) {
            const int r = ScaleForDpi(radius96, dpi);
            ::Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
        }
    }
    CFont font(::CreateFontW(ScaleForDpi(kNumberHeight, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_RASTER_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0, L"Arial"));
    {
        CSaveDC saved(dc);
        ::SetBkMode(dc, TRANSPARENT);
        if (font)
            ::SelectObject(dc, font.Get());
        // The whole number: the tenth monitor shows 10.
        const std::wstring number = m_panel.MonitorNumberText();
        RECT area = client;
        ::DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &area, DT_CENTER);
    }
}

void CDeviceMatchDlg::OnTouchPoint(std::unique_ptr<DeviceReply> touch) { m_panel.OnTouchPoint(std::move(touch)); }

void CDeviceMatchDlg::OnTimer(WPARAM id, LPARAM) { m_panel.OnTimer(static_cast<unsigned>(id)); }

void CDeviceMatchDlg::OnClose()
{
    m_panel.Finish();
    EnableMainWindow();
    EndDialog(IDCANCEL);
}

void CDeviceMatchDlg::OnTouchScreenRemoved(WPARAM key, LPARAM)
{
    if (IsOwnRemovalNotice(key))
        m_panel.OnTouchScreenRemoved();
}

void CDeviceMatchDlg::OnDestroy()
{
    m_panel.Finish();
    m_cursor.Show();
}
