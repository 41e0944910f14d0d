#include "config/SettingsPanel.h"

#include "config/ConfigurationLibrary.h"
#include "config/SystemMouseSettings.h"
#include "res/resource.h"

#include <algorithm>

const std::array<SettingsSlider, 8> kSettingsSliders = {{
    {IDC_DOUBLE_CLICK_TIME, IDC_DOUBLE_CLICK_TIME_VALUE, &DriverConfig::DoubleClickTime, 200, 1000, 100, 100, 100},
    {IDC_DOUBLE_CLICK_AREA, IDC_DOUBLE_CLICK_AREA_VALUE, &DriverConfig::DoubleClickArea, 4, 32, 4, 4, 4},
    {IDC_RIGHT_CLICK_TIME, IDC_RIGHT_CLICK_TIME_VALUE, &DriverConfig::RightClickTime, 1000, 8000, 1000, 1000, 1000},
    {IDC_RIGHT_CLICK_AREA, IDC_RIGHT_CLICK_AREA_VALUE, &DriverConfig::RightClickArea, 4, 32, 4, 4, 4},
    {IDC_DELAY_TOUCH_TIME, IDC_DELAY_TOUCH_TIME_VALUE, &DriverConfig::DelayTouchTime, 25, 250, 25, 25, 25},
    {IDC_DRAG_DELAY_TIME, IDC_DRAG_DELAY_TIME_VALUE, &DriverConfig::DragDelayTime, 100, 1000, 100, 100, 100},
    // The arrow keys move the frequency further than the page keys do.
    {IDC_BEEP_FREQUENCY, IDC_BEEP_FREQUENCY_VALUE, &DriverConfig::BeepFrequency, 50, 7000, 100, 50, 1000},
    {IDC_BEEP_DURATION, IDC_BEEP_DURATION_VALUE, &DriverConfig::BeepDuration, 10, 100, 10, 10, 10},
}};

const DriverConfig kDriverDefaults = [] {
    DriverConfig r;
    r.EnableTouch = 1;
    r.RightClickTime = 1000;
    r.RightClickArea = 8;
    r.DelayTouchTime = 25;
    r.DragDelayTime = 100;
    r.BeepFrequency = 7000;
    r.BeepDuration = 100;
    r.EnableDoubleClick = 1;
    r.DoubleClickTime = 500;
    r.DoubleClickArea = 12;
    return r;
}();

const std::array<int, 15> kSettingsButtons = {
    IDC_CLICK_ON_TOUCH,      IDC_CLICK_ON_RELEASE,   IDC_MOUSE_EMULATION,   IDC_ENABLE_TOUCH,       IDC_HIDE_CURSOR,
    IDC_ENABLE_DOUBLE_CLICK, IDC_ENABLE_RIGHT_CLICK, IDC_ENABLE_DRAG_DELAY, IDC_ENABLE_DELAY_TOUCH, IDC_ENABLE_BEEP,
    IDC_BEEP_ON_TOUCH,       IDC_BEEP_ON_RELEASE,    IDC_BEEP_BOTH,         IDC_PC_SPEAKER,         IDC_SOUND_CARD,
};

namespace {

constexpr int kSliderGroups[] = {IDC_DOUBLE_CLICK_GROUP, IDC_DELAY_TOUCH_GROUP, IDC_RIGHT_CLICK_GROUP,
                                 IDC_DRAG_DELAY_GROUP, IDC_BEEP_GROUP};

// The flags shown by one check box each.
struct FlagBox {
    int id;
    std::int32_t DriverConfig::*flag;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_ENABLE_RIGHT_CLICK, &DriverConfig::EnableRightClick},
    {IDC_ENABLE_DRAG_DELAY, &DriverConfig::EnableDragDelay},
    {IDC_ENABLE_DELAY_TOUCH, &DriverConfig::EnableDelayTouch},
    {IDC_ENABLE_DOUBLE_CLICK, &DriverConfig::EnableDoubleClick},
    {IDC_HIDE_CURSOR, &DriverConfig::HideCursor},
    {IDC_ENABLE_BEEP, &DriverConfig::EnableBeep},
    {IDC_ENABLE_TOUCH, &DriverConfig::EnableTouch},
};

// The radio group a radio button belongs to: its first and last id.
struct RadioGroup {
    int first, last;
};
constexpr RadioGroup kModeRadios{IDC_CLICK_ON_TOUCH, IDC_MOUSE_EMULATION};
constexpr RadioGroup kBeepModeRadios{IDC_BEEP_ON_TOUCH, IDC_BEEP_BOTH};

bool InGroup(RadioGroup group, int id) { return id >= group.first && id <= group.last; }

} // namespace

CSettingsPanel::CSettingsPanel(SettingsPanelServices services, ISettingsView& view) : m_services(services), m_view(view)
{
    for (int id : kSettingsButtons)
        m_controls[id] = {};
    for (const SettingsSlider& slider : kSettingsSliders)
        m_controls[slider.id] = {};
    for (int id : kSliderGroups)
        m_controls[id] = {};
    m_controls[IDC_APPLY] = {};
}

bool CSettingsPanel::Checked(int id) const { return m_controls.at(id).checked; }
bool CSettingsPanel::Enabled(int id) const { return m_controls.at(id).enabled; }
void CSettingsPanel::Enable(int id, bool enable) { m_controls.at(id).enabled = enable; }
void CSettingsPanel::Check(int id, bool check) { m_controls.at(id).checked = check; }

void CSettingsPanel::CheckRadio(int first, int last, int id)
{
    for (int radio = first; radio <= last; ++radio)
        Check(radio, radio == id);
}

void CSettingsPanel::Open()
{
    // A value that cannot be read keeps its default.
    DriverConfig record = kDriverDefaults;
    m_services.configuration.GetDriverConfig(record);
    // A mode the dialog has no radio button for is shown, and written, as
    // the first one: the rules below then hold for what is written.
    m_mode = record.Mode >= 0 && record.Mode <= 2 ? record.Mode : 0;

    for (const FlagBox& box : kFlagBoxes)
        Check(box.id, record.*box.flag != 0);
    Check(IDC_PC_SPEAKER, record.BeepType == 0);
    Check(IDC_SOUND_CARD, record.BeepType != 0);
    CheckRadio(kBeepModeRadios.first, kBeepModeRadios.last,
               record.BeepMode == 0   ? IDC_BEEP_ON_TOUCH
               : record.BeepMode == 1 ? IDC_BEEP_ON_RELEASE
                                      : IDC_BEEP_BOTH);
    // A slider holds only positions in its range.
    for (const SettingsSlider& slider : kSettingsSliders)
        m_controls.at(slider.id).position = std::clamp<int>(record.*slider.parameter, slider.minimum, slider.maximum);

    DoubleClickRule();
    DelayTouchRule();
    RightClickRule();
    DragDelayRule();
    BeepRule();
    ModeRule();
    Enable(IDC_APPLY, false);
    CheckRadio(kModeRadios.first, kModeRadios.last, IDC_CLICK_ON_TOUCH + m_mode);
    m_view.ShowControls(m_controls);
}

// ---- the enabling rules

void CSettingsPanel::DoubleClickRule()
{
    const bool on = Checked(IDC_ENABLE_DOUBLE_CLICK);
    for (int id : {IDC_DOUBLE_CLICK_TIME, IDC_DOUBLE_CLICK_AREA, IDC_DOUBLE_CLICK_GROUP})
        Enable(id, on);
}

void CSettingsPanel::DelayTouchRule()
{
    const bool on = Checked(IDC_ENABLE_DELAY_TOUCH);
    for (int id : {IDC_DELAY_TOUCH_TIME, IDC_DELAY_TOUCH_GROUP})
        Enable(id, on);
}

void CSettingsPanel::RightClickRule()
{
    const bool on = Enabled(IDC_ENABLE_RIGHT_CLICK) && Checked(IDC_ENABLE_RIGHT_CLICK);
    for (int id : {IDC_RIGHT_CLICK_TIME, IDC_RIGHT_CLICK_AREA, IDC_RIGHT_CLICK_GROUP})
        Enable(id, on);
}

void CSettingsPanel::DragDelayRule()
{
    const bool on = Enabled(IDC_ENABLE_DRAG_DELAY) && Checked(IDC_ENABLE_DRAG_DELAY);
    for (int id : {IDC_DRAG_DELAY_TIME, IDC_DRAG_DELAY_GROUP})
        Enable(id, on);
}

// Clicking on touch beeps on touch, clicking on release on release; only
// mouse emulation leaves the beep mode to the user.
void CSettingsPanel::ForceBeepMode()
{
    if (m_mode == 2) {
        for (int id = kBeepModeRadios.first; id <= kBeepModeRadios.last; ++id)
            Enable(id, true);
        return;
    }
    const int forced = m_mode == 0 ? IDC_BEEP_ON_TOUCH : IDC_BEEP_ON_RELEASE;
    for (int id = kBeepModeRadios.first; id <= kBeepModeRadios.last; ++id) {
        Enable(id, id == forced);
        Check(id, id == forced);
    }
}

// Frequency and duration are the PC speaker's.
void CSettingsPanel::SoundRule()
{
    const bool on = Checked(IDC_ENABLE_BEEP) && !Checked(IDC_SOUND_CARD);
    Enable(IDC_BEEP_FREQUENCY, on);
    Enable(IDC_BEEP_DURATION, on);
}

void CSettingsPanel::BeepRule()
{
    const bool on = Checked(IDC_ENABLE_BEEP);
    if (on)
        ForceBeepMode();
    else
        for (int id = kBeepModeRadios.first; id <= kBeepModeRadios.last; ++id)
            Enable(id, false);
    for (int id : {IDC_BEEP_GROUP, IDC_SOUND_CARD, IDC_PC_SPEAKER})
        Enable(id, on);
    SoundRule();
}

void CSettingsPanel::ModeRule()
{
    const bool emulation = m_mode == 2;
    Enable(IDC_ENABLE_RIGHT_CLICK, emulation);
    Enable(IDC_ENABLE_DRAG_DELAY, emulation);
    ForceBeepMode();
    RightClickRule();
    DragDelayRule();
    BeepRule();
}

// ---- events

void CSettingsPanel::OnClicked(int id, bool checked)
{
    if (!m_controls.contains(id) || !Enabled(id))
        return;
    if (InGroup(kModeRadios, id)) {
        m_mode = id - IDC_CLICK_ON_TOUCH;
        CheckRadio(kModeRadios.first, kModeRadios.last, id);
        ModeRule();
    } else if (InGroup(kBeepModeRadios, id)) {
        CheckRadio(kBeepModeRadios.first, kBeepModeRadios.last, id);
    } else if (id == IDC_PC_SPEAKER || id == IDC_SOUND_CARD) {
        Check(IDC_PC_SPEAKER, id == IDC_PC_SPEAKER);
        Check(IDC_SOUND_CARD, id == IDC_SOUND_CARD);
        SoundRule();
    } else {
        Check(id, checked);
        switch (id) {
        case IDC_ENABLE_DOUBLE_CLICK:
            DoubleClickRule();
            break;
        case IDC_ENABLE_DELAY_TOUCH:
            DelayTouchRule();
            break;
        case IDC_ENABLE_RIGHT_CLICK:
            RightClickRule();
            break;
        case IDC_ENABLE_DRAG_DELAY:
            DragDelayRule();
            break;
        case IDC_ENABLE_BEEP:
            BeepRule();
            break;
        default:
            break; // Hide Cursor and Enable Touch rule nothing else
        }
    }
    Changed();
}

void CSettingsPanel::OnSliderMoved(int id, int position)
{
    for (const SettingsSlider& slider : kSettingsSliders)
        if (slider.id == id) {
            // A slider reports the end of every drag or key press, also one that left it where it was.
            int& shown = m_controls.at(id).position;
            const int moved = std::clamp(position, slider.minimum, slider.maximum);
            if (moved != shown) {
                shown = moved;
                Changed();
            }
        }
}

void CSettingsPanel::Changed()
{
    Enable(IDC_APPLY, true);
    m_view.ShowControls(m_controls);
}

void CSettingsPanel::OnApply()
{
    if (!Enabled(IDC_APPLY) || !Write())
        return;
    Enable(IDC_APPLY, false);
    m_view.ShowControls(m_controls);
    m_view.FocusOk();
}

void CSettingsPanel::OnOk()
{
    if (Write())
        m_view.Close(true);
}

void CSettingsPanel::OnCancel() { m_view.Close(false); }

DriverConfig CSettingsPanel::ReadRecord() const
{
    DriverConfig record{};
    record.Mode = Checked(IDC_CLICK_ON_TOUCH) ? 0 : Checked(IDC_CLICK_ON_RELEASE) ? 1 : 2;
    for (const FlagBox& box : kFlagBoxes)
        record.*box.flag = Checked(box.id) ? 1 : 0;
    // Right click and drag delay count only where the click mode allows them.
    record.EnableRightClick = Enabled(IDC_ENABLE_RIGHT_CLICK) && Checked(IDC_ENABLE_RIGHT_CLICK) ? 1 : 0;
    record.EnableDragDelay = Enabled(IDC_ENABLE_DRAG_DELAY) && Checked(IDC_ENABLE_DRAG_DELAY) ? 1 : 0;
    record.BeepType = Checked(IDC_PC_SPEAKER) ? 0 : 1;
    record.BeepMode = Checked(IDC_BEEP_ON_TOUCH) ? 0 : Checked(IDC_BEEP_ON_RELEASE) ? 1 : 2;
    for (const SettingsSlider& slider : kSettingsSliders)
        record.*slider.parameter = m_controls.at(slider.id).position;
    return record;
}

// The record goes to the driver first; the user's mouse settings follow it
// only once the driver took it.
bool CSettingsPanel::Write()
{
    const DriverConfig record = ReadRecord();
    if (!m_services.configuration.SetDriverConfig(record)) {
        m_view.ReportNotStored();
        return false;
    }
    ApplySystemMouseSettings(record, m_services.mouse, m_services.registry);
    return true;
}
