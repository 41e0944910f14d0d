#pragma once
// The Settings dialog: the driver's options in radio buttons, check boxes
// and sliders. What it does is CSettingsPanel's; this class configures the
// sliders, maps clicks and slider moves to the panel and copies the state
// the panel shows into the controls.

#include "config/SettingsPanel.h"
#include "ui/XPButton_win32.h"
#include "win/GdiObjects.h"
#include "win/ThemedDialog.h"

#include <array>

// Which control of the dialog shows which option; a slider's position is
// also written, as a decimal number, into its value label.
struct SettingsOptionControl {
    SettingsOption option;
    int id;
    int valueLabel = 0;
};
constexpr std::size_t kSettingsOptionCount = static_cast<std::size_t>(SettingsOption::Apply) + 1;
extern const std::array<SettingsOptionControl, kSettingsOptionCount> kSettingsOptionControls;

class CBasicprop : public CDialogImpl<CBasicprop, CThemedDialog>, private ISettingsView {
public:
    explicit CBasicprop(SettingsPanelServices services);

    const CSettingsPanel& Panel() const { return m_panel; }

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    void OnOK() override { m_panel.OnOk(); }
    void OnCancel() override { m_panel.OnCancel(); }

private:
    static const MessageEntry kEntries[];

    // ISettingsView
    void ShowControls(const SettingsControls& controls) override;
    void FocusOk() override;
    void ReportNotStored() override;
    void Close(bool ok) override;

    void ConfigureSliders();
    void SetLanguageTexts();

    void OnButtonClicked(UINT code, int id, HWND control);
    void OnApply() { m_panel.OnApply(); }
    void OnHScroll(WPARAM, LPARAM slider);

    CSettingsPanel m_panel;
    std::array<CXPButton, 3> m_buttons; // OK, Cancel, Apply
};
