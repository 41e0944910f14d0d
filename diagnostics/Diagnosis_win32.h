#pragma once
// The Diagnostics window: the picture of the frame's LEDs, the result list
// and the Diagnostics, Export and Close buttons. What it does is CDiagnosisPanel's; this class maps the
// window's messages to it, copies what it decides into the controls, runs the
// step timer and the Save As dialog, and colours the dialog.
//
// The main dialog owns one for its whole life and shows it modally, each
// time for the touchscreen selected then.

#include "diagnostics/DiagnosisPanel.h"
#include "diagnostics/LedPicture.h"
#include "ui/XPButton_win32.h"
#include "win/GdiObjects.h"
#include "win/ListBox.h"
#include "win/ThemedDialog.h"

#include <array>

// The view is public so that a benchmark can time filling the list.
class CDiagnosis : public CDialogImpl<CDiagnosis, CThemedDialog>, public IDiagnosisView {
public:
    explicit CDiagnosis(DiagnosisServices services);
    ~CDiagnosis() override;

    // The touchscreen (slot) of the next showing.
    void SetTouchScreen(std::int32_t slot) { m_panel.SetTouchScreen(slot); }
    const CDiagnosisPanel& Panel() const { return m_panel; }
    void TouchScreenReopened(DeviceHandle before, DeviceHandle after) { m_panel.TouchScreenReopened(before, after); }

    static const MessageTable kMessageTable;

    // IDiagnosisView
    void SetTitle(const std::wstring& title) override;
    void ShowLines(const std::vector<std::wstring>& lines) override;
    void FocusList() override;
    void EnableDiagnose(bool enable) override;
    void EnableExport(bool enable) override;
    void ShowMessage(const std::wstring& text) override;
    void StartTimer(unsigned milliseconds) override;
    void StopTimer() override;
    std::optional<std::wstring> ChooseReportPath(const std::wstring& name) override;
    void ShowLedPicture(const CLedScan& scan) override;

    // The picture's marks in client pixels (for the tests).
    const LedPictureLayout& Picture() const { return m_picture; }

protected:
    bool OnInitDialog() override;

private:
    static const MessageEntry kEntries[];

    void OnDestroy();
    void OnPaint();
    void OnMouseMove(WPARAM, LPARAM point);
    void OnMouseLeave();
    void ShowHoveredLed(std::optional<std::int32_t> number);
    void OnTimer(WPARAM id, LPARAM);
    void OnTouchScreenRemoved(WPARAM key, LPARAM slot);
    void OnOpeningReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnOpeningReply(std::move(reply)); }
    void OnLevelReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnLevelReply(std::move(reply)); }
    void OnStatusReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnStatusReply(std::move(reply)); }
    void OnRun() { m_panel.StartRun(); }
    void OnExport() { m_panel.ExportDiagnostics(); }

    CDiagnosisPanel m_panel;
    CListBox m_list;
    std::array<CXPButton, 3> m_buttons;
    LedPictureLayout m_picture;
    std::optional<std::int32_t> m_hovered;
    bool m_trackingLeave = false;
};
