#pragma once
// The calibration window: a borderless topmost popup over a monitor or a
// dragged region, showing four targets one after the other and then the
// review buttons. What it does is CCalibratePanel's; this class maps the
// window's messages to it, shows and places the controls, and draws.

#include "calibration/CalibratePanel.h"
#include "ui/XPButton_win32.h"
#include "win/CursorVisibility.h"
#include "win/GdiObjects.h"
#include "win/ThemedDialog.h"

#include <array>

class CCalibrateDlg : public CDialogImpl<CCalibrateDlg, CThemedDialog>, private ICalibrateView {
public:
    // `instructions`: the hint texts show (four-point calibration) or not (a region).
    CCalibrateDlg(CalibratePanelServices services, unsigned slot, bool instructions);
    ~CCalibrateDlg() override;

    CCalibratePanel& Panel() { return m_panel; }
    const CCalibratePanel& Panel() const { return m_panel; }

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool KeepsRectOnDpiChange() const override { return true; }
    void OnOK() override { m_panel.OnOk(); }
    void OnCancel() override { m_panel.OnEscape(); }

private:
    static const MessageEntry kEntries[];

    // ICalibrateView
    void ShowHints(Hints hints, bool instructions) override;
    void ShowReviewButtons(bool show) override;
    void SetCancelText(const std::wstring& text) override;
    void ShowNotice(const std::wstring& text) override;
    void DrawTrail(const TrailSegment& piece) override;
    void ShowPointer(bool show) override;
    void StartCountdown() override;
    void StopCountdown() override;
    void Redraw() override { Invalidate(); }
    ScreenRect WindowRect() override;
    ScreenSize PrimaryScreenSize() override;
    void ShowRemovedMessage() override;
    void EndDialog(bool kept) override;
    void PostClose() override { PostMessage(WM_CLOSE); }

    void OnPaint();
    void DrawTrailPiece(HDC dc, const TrailSegment& piece);
    void OnPointerMove(WPARAM, LPARAM point);
    void OnPointerPress(WPARAM, LPARAM point);
    void OnPointerRelease(WPARAM, LPARAM point);
    void LayOutControls(int width, int height);
    std::optional<COLORREF> ControlTextColour(HWND control) const override;
    void OnTouchPoint(std::unique_ptr<DeviceReply> reply) { m_panel.OnTouchPoint(std::move(reply)); }
    void OnRemovalNotice(WPARAM key, LPARAM slot);
    void OnTimer(WPARAM id, LPARAM);
    void OnClose() { m_panel.OnClose(); }
    void OnReCalibrate() { m_panel.OnReCalibrate(); }
    void OnCancelButton() { m_panel.OnCancel(); }

    CCalibratePanel m_panel;
    std::array<CXPButton, 3> m_buttons; // OK, ReCalibrate, Cancel
    CPen m_trailPen;
    unsigned m_trailPenDpi; // the DPI m_trailPen is as wide for
    CHiddenCursor m_cursor;
};
