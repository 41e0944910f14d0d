#pragma once
// The Settings dialog's behaviour, without a window: the driver record shown
// in radio buttons, check boxes and sliders, which options go with which
// click mode, and the record written back, followed by the user's mouse
// settings and cursor scheme. Controls are named by the option they show;
// the window maps them to its controls.
//
// The panel holds the state of every control it rules; after each event it
// hands the whole state to the view, which copies it into the controls.

#include "config/DriverConfig.h"

#include <array>
#include <cstdint>
#include <map>

class IConfigurationLibrary;
class IRegistry;
class ISystemMouse;

// The controls the panel rules, by what they show. A radio group's buttons
// are neighbours, in the order of their values.
enum class SettingsOption {
    ClickOnTouch, // the click mode radios: 0, 1, 2
    ClickOnRelease,
    MouseEmulation,
    EnableTouch,
    HideCursor,
    EnableDoubleClick,
    EnableRightClick,
    EnableDragDelay,
    EnableDelayTouch,
    EnableBeep,
    BeepOnTouch, // the beep mode radios: 0, 1, 2
    BeepOnRelease,
    BeepBoth,
    PcSpeaker,
    SoundCard,
    DoubleClickTime, // the sliders
    DoubleClickArea,
    RightClickTime,
    RightClickArea,
    DelayTouchTime,
    DragDelayTime,
    BeepFrequency,
    BeepDuration,
    DoubleClickGroup, // the frames around the sliders
    DelayTouchGroup,
    RightClickGroup,
    DragDelayGroup,
    BeepGroup,
    Apply,
};

// A slider, the parameter it shows and how it moves.
struct SettingsSlider {
    SettingsOption id;
    std::int32_t DriverConfig::*parameter;
    int minimum, maximum;
    int lineStep, pageStep; // arrow keys, page keys
    int tickEvery;
};
extern const std::array<SettingsSlider, 8> kSettingsSliders;

// The check boxes and radio buttons the panel rules.
extern const std::array<SettingsOption, 15> kSettingsButtons;

// The driver's own defaults. The dialog starts from them, so that a value
// the library cannot read shows, and is written back, as the driver's
// default rather than as 0 (a 0 would turn touch and double click off).
extern const DriverConfig kDriverDefaults;

// The language key of the box a failed write shows.
constexpr wchar_t kSettingsNotStoredKey[] = L"170";

// One control's state; `checked` counts for buttons, `position` for sliders.
struct SettingsControl {
    bool enabled = true;
    bool checked = false;
    int position = 0;
    bool operator==(const SettingsControl&) const = default;
};

// Every ruled control (buttons, sliders, the five slider groups and Apply).
using SettingsControls = std::map<SettingsOption, SettingsControl>;

class ISettingsView {
public:
    virtual ~ISettingsView() = default;
    virtual void ShowControls(const SettingsControls& controls) = 0;
    // After Apply wrote the record: OK takes the focus from the disabled Apply.
    virtual void FocusOk() = 0;
    // The driver refused the record (kSettingsNotStoredKey).
    virtual void ReportNotStored() = 0;
    virtual void Close(bool ok) = 0;
};

struct SettingsPanelServices {
    IConfigurationLibrary& configuration;
    ISystemMouse& mouse;
    IRegistry& registry; // where the cursor scheme that hiding replaced is kept
};

class CSettingsPanel {
public:
    CSettingsPanel(SettingsPanelServices services, ISettingsView& view);

    // Reads the driver record and sets every control from it; Apply disabled.
    void Open();
    // A check box or radio button was clicked; `checked` is its new state
    // (a radio button clicked is checked, its group's others are not).
    void OnClicked(SettingsOption id, bool checked);
    // A slider reports its position; a new one is a change.
    void OnSliderMoved(SettingsOption id, int position);
    // Apply writes and disables itself, so that a second press needs a
    // change first; a refused write leaves it enabled.
    void OnApply();
    // OK writes and closes; a refused write keeps the dialog open.
    void OnOk();
    void OnCancel();

    // The controls read into a record, as a write stores it.
    DriverConfig ReadRecord() const;
    const SettingsControls& Controls() const { return m_controls; }
    int Mode() const { return m_mode; }

private:
    bool Checked(SettingsOption id) const;
    bool Enabled(SettingsOption id) const;
    void Enable(SettingsOption id, bool enable);
    void Check(SettingsOption id, bool check);
    void CheckRadio(SettingsOption first, SettingsOption last, SettingsOption id);

    void DoubleClickRule();
    void DelayTouchRule();
    void RightClickRule();
    void DragDelayRule();
    void ForceBeepMode();
    void SoundRule();
    void BeepRule();
    void ModeRule();

    void Changed();
    bool Write();

    SettingsPanelServices m_services;
    ISettingsView& m_view;
    SettingsControls m_controls;
    int m_mode = 0; // the click mode: 0, 1 or 2
};
