#pragma once
// The mapping window: a full-screen popup over one monitor after the other,
// showing a target and the monitor's number. What it does is
// CDeviceMatchPanel's; this class forwards the window's messages to it,
// implements its view (move, cursor, timer, close) and draws.
//
// Owned by the main window through a std::unique_ptr and released when
// WM_MAPPING_CLOSED, the last message it posts, arrives there.

#include "calibration/DeviceMatchPanel.h"
#include "win/CursorVisibility.h"
#include "win/GdiObjects.h"
#include "win/ThemedDialog.h"

class CDeviceMatchDlg : public CDialogImpl<CDeviceMatchDlg, CThemedDialog>, private IDeviceMatchView {
public:
    explicit CDeviceMatchDlg(DeviceMatchServices services);
    ~CDeviceMatchDlg() override;

    // Creates the window over monitor 0 and shows it; the main window is
    // disabled until WM_MAPPING_END. False when it cannot be created.
    bool Open(HWND mainWindow);

    const CDeviceMatchPanel& Panel() const { return m_panel; }
    void TouchScreenReopened(DeviceHandle before, DeviceHandle after) { m_panel.TouchScreenReopened(before, after); }

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool KeepsRectOnDpiChange() const override { return true; }
    void OnOK() override {}
    void OnCancel() override;

private:
    static const MessageEntry kEntries[];

    // IDeviceMatchView
    void CoverMonitor(const MonitorEntry& monitor) override;
    void HideCursor() override { m_cursor.Hide(); }
    void ShowCursor() override { m_cursor.Show(); }
    void StartTimer(unsigned id, unsigned milliseconds) override;
    void StopTimer(unsigned id) override;
    void Close() override;

    void OnPaint();
    void OnTouchPoint(std::unique_ptr<DeviceReply> touch);
    void OnTimer(WPARAM id, LPARAM);
    void OnClose();
    void EnableMainWindow();
    void OnTouchScreenRemoved(WPARAM key, LPARAM slot);
    void OnDestroy();

    CDeviceMatchPanel m_panel;
    HWND m_mainWindow = nullptr;
    CHiddenCursor m_cursor;
};
