#include "config/SettingsPanel.h"

#include "config/ConfigurationLibrary.h"
#include "config/SystemMouseSettings.h"

#include <algorithm>

const std::array<SettingsSlider, 8> kSettingsSliders = {{
    {SettingsOption::DoubleClickTime, &DriverConfig::DoubleClickTime, 200, 1000, 100, 100, 100},
    {SettingsOption::DoubleClickArea, &DriverConfig::DoubleClickArea, 4, 32, 4, 4, 4},
    {SettingsOption::RightClickTime, &DriverConfig::RightClickTime, 1000, 8000, 1000, 1000, 1000},
    {SettingsOption::RightClickArea, &DriverConfig::RightClickArea, 4, 32, 4, 4, 4},
    {SettingsOption::DelayTouchTime, &DriverConfig::DelayTouchTime, 25, 250, 25, 25, 25},
    {SettingsOption::DragDelayTime, &DriverConfig::DragDelayTime, 100, 1000, 100, 100, 100},
    // The arrow keys move the frequency further than the page keys do.
    {SettingsOption::BeepFrequency, &DriverConfig::BeepFrequency, 50, 7000, 100, 50, 1000},
    {SettingsOption::BeepDuration, &DriverConfig::BeepDuration, 10, 100, 10, 10, 10},
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

const std::array<SettingsOption, 15> kSettingsButtons = {
    SettingsOption::ClickOnTouch,     SettingsOption::ClickOnRelease,  SettingsOption::MouseEmulation,
    SettingsOption::EnableTouch,      SettingsOption::HideCursor,      SettingsOption::EnableDoubleClick,
    SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay, SettingsOption::EnableDelayTouch,
    SettingsOption::EnableBeep,       SettingsOption::BeepOnTouch,     SettingsOption::BeepOnRelease,
    SettingsOption::BeepBoth,         SettingsOption::PcSpeaker,       SettingsOption::SoundCard,
};

namespace {

constexpr SettingsOption kSliderGroups[] = {SettingsOption::DoubleClickGroup, SettingsOption::DelayTouchGroup,
                                            SettingsOption::RightClickGroup, SettingsOption::DragDelayGroup,
                                            SettingsOption::BeepGroup};

// The flags shown by one check box each.
struct FlagBox {
    SettingsOption id;
    std::int32_t DriverConfig::*flag;
};
constexpr FlagBox kFlagBoxes[] = {
    {SettingsOption::EnableRightClick, &DriverConfig::EnableRightClick},
    {SettingsOption::EnableDragDelay, &DriverConfig::EnableDragDelay},
    {SettingsOption::EnableDelayTouch, &DriverConfig::EnableDelayTouch},
    {SettingsOption::EnableDoubleClick, &DriverConfig::EnableDoubleClick},
    {SettingsOption::HideCursor, &DriverConfig::HideCursor},
    {SettingsOption::EnableBeep, &DriverConfig::EnableBeep},
    {SettingsOption::EnableTouch, &DriverConfig::EnableTouch},
};

// The radio group a radio button belongs to: its first and last id.
struct RadioGroup {
    SettingsOption first, last;
};
constexpr RadioGroup kModeRadios{SettingsOption::ClickOnTouch, SettingsOption::MouseEmulation};
constexpr RadioGroup kBeepModeRadios{SettingsOption::BeepOnTouch, SettingsOption::BeepBoth};

bool InGroup(RadioGroup group, SettingsOption id) { return id >= group.first && id <= group.last; }

// A radio group's buttons are neighbours in SettingsOption.
SettingsOption Next(SettingsOption id) { return static_cast<SettingsOption>(static_cast<int>(id) + 1); }
SettingsOption ModeRadio(int mode)
{
    return static_cast<SettingsOption>(static_cast<int>(SettingsOption::ClickOnTouch) + mode);
}

} // namespace

CSettingsPanel::CSettingsPanel(SettingsPanelServices services, ISettingsView& view) : m_services(services), m_view(view)
{
    for (SettingsOption id : kSettingsButtons)
        m_controls[id] = {};
    for (const SettingsSlider& slider : kSettingsSliders)
        m_controls[slider.id] = {};
    for (SettingsOption id : kSliderGroups)
        m_controls[id] = {};
    m_controls[SettingsOption::Apply] = {};
}

bool CSettingsPanel::Checked(SettingsOption id) const { return m_controls.at(id).checked; }
bool CSettingsPanel::Enabled(SettingsOption id) const { return m_controls.at(id).enabled; }
void CSettingsPanel::Enable(SettingsOption id, bool enable) { m_controls.at(id).enabled = enable; }
void CSettingsPanel::Check(SettingsOption id, bool check) { m_controls.at(id).checked = check; }

void CSettingsPanel::CheckRadio(SettingsOption first, SettingsOption last, SettingsOption id)
{
    for (SettingsOption radio = first; radio <= last; radio = Next(radio))
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
    Check(SettingsOption::PcSpeaker, record.BeepType == 0);
    Check(SettingsOption::SoundCard, record.BeepType != 0);
    CheckRadio(kBeepModeRadios.first, kBeepModeRadios.last,
               record.BeepMode == 0   ? SettingsOption::BeepOnTouch
               : record.BeepMode == 1 ? SettingsOption::BeepOnRelease
                                      : SettingsOption::BeepBoth);
    // A slider holds only positions in its range.
    for (const SettingsSlider& slider : kSettingsSliders)
        m_controls.at(slider.id).position = std::clamp<int>(record.*slider.parameter, slider.minimum, slider.maximum);

    DoubleClickRule();
    DelayTouchRule();
    RightClickRule();
    DragDelayRule();
    BeepRule();
    ModeRule();
    Enable(SettingsOption::Apply, false);
    CheckRadio(kModeRadios.first, kModeRadios.last, ModeRadio(m_mode));
    m_view.ShowControls(m_controls);
}

// ---- the enabling rules

void CSettingsPanel::DoubleClickRule()
{
    const bool on = Checked(SettingsOption::EnableDoubleClick);
    for (SettingsOption id :
         {SettingsOption::DoubleClickTime, SettingsOption::DoubleClickArea, SettingsOption::DoubleClickGroup})
        Enable(id, on);
}

void CSettingsPanel::DelayTouchRule()
{
    const bool on = Checked(SettingsOption::EnableDelayTouch);
    for (SettingsOption id : {SettingsOption::DelayTouchTime, SettingsOption::DelayTouchGroup})
        Enable(id, on);
}

void CSettingsPanel::RightClickRule()
{
    const bool on = Enabled(SettingsOption::EnableRightClick) && Checked(SettingsOption::EnableRightClick);
    for (SettingsOption id :
         {SettingsOption::RightClickTime, SettingsOption::RightClickArea, SettingsOption::RightClickGroup})
        Enable(id, on);
}

void CSettingsPanel::DragDelayRule()
{
    const bool on = Enabled(SettingsOption::EnableDragDelay) && Checked(SettingsOption::EnableDragDelay);
    for (SettingsOption id : {SettingsOption::DragDelayTime, SettingsOption::DragDelayGroup})
        Enable(id, on);
}

// Clicking on touch beeps on touch, clicking on release on release; only
// mouse emulation leaves the beep mode to the user.
void CSettingsPanel::ForceBeepMode()
{
    if (m_mode == 2) {
        for (SettingsOption id = kBeepModeRadios.first; id <= kBeepModeRadios.last; id = Next(id))
            Enable(id, true);
        return;
    }
    const SettingsOption forced = m_mode == 0 ? SettingsOption::BeepOnTouch : SettingsOption::BeepOnRelease;
    for (SettingsOption id = kBeepModeRadios.first; id <= kBeepModeRadios.last; id = Next(id)) {
        Enable(id, id == forced);
        Check(id, id == forced);
    }
}

// Frequency and duration are the PC speaker's.
void CSettingsPanel::SoundRule()
{
    const bool on = Checked(SettingsOption::EnableBeep) && !Checked(SettingsOption::SoundCard);
    Enable(SettingsOption::BeepFrequency, on);
    Enable(SettingsOption::BeepDuration, on);
}

void CSettingsPanel::BeepRule()
{
    const bool on = Checked(SettingsOption::EnableBeep);
    if (on)
        ForceBeepMode();
    else
        for (SettingsOption id = kBeepModeRadios.first; id <= kBeepModeRadios.last; id = Next(id))
            Enable(id, false);
    for (SettingsOption id : {SettingsOption::BeepGroup, SettingsOption::SoundCard, SettingsOption::PcSpeaker})
        Enable(id, on);
    SoundRule();
}

void CSettingsPanel::ModeRule()
{
    const bool emulation = m_mode == 2;
    Enable(SettingsOption::EnableRightClick, emulation);
    Enable(SettingsOption::EnableDragDelay, emulation);
    ForceBeepMode();
    RightClickRule();
    DragDelayRule();
    BeepRule();
}

// ---- events

void CSettingsPanel::OnClicked(SettingsOption id, bool checked)
{
    if (!m_controls.contains(id) || !Enabled(id))
        return;
    if (InGroup(kModeRadios, id)) {
        m_mode = static_cast<int>(id) - static_cast<int>(SettingsOption::ClickOnTouch);
        CheckRadio(kModeRadios.first, kModeRadios.last, id);
        ModeRule();
    } else if (InGroup(kBeepModeRadios, id)) {
        CheckRadio(kBeepModeRadios.first, kBeepModeRadios.last, id);
    } else if (id == SettingsOption::PcSpeaker || id == SettingsOption::SoundCard) {
        Check(SettingsOption::PcSpeaker, id == SettingsOption::PcSpeaker);
        Check(SettingsOption::SoundCard, id == SettingsOption::SoundCard);
        SoundRule();
    } else {
        Check(id, checked);
        switch (id) {
        case SettingsOption::EnableDoubleClick:
            DoubleClickRule();
            break;
        case SettingsOption::EnableDelayTouch:
            DelayTouchRule();
            break;
        case SettingsOption::EnableRightClick:
            RightClickRule();
            break;
        case SettingsOption::EnableDragDelay:
            DragDelayRule();
            break;
        case SettingsOption::EnableBeep:
            BeepRule();
            break;
        default:
            break; // Hide Cursor and Enable Touch rule nothing else
        }
    }
    Changed();
}

void CSettingsPanel::OnSliderMoved(SettingsOption id, int position)
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
    Enable(SettingsOption::Apply, true);
    m_view.ShowControls(m_controls);
}

void CSettingsPanel::OnApply()
{
    if (!Enabled(SettingsOption::Apply) || !Write())
        return;
    Enable(SettingsOption::Apply, false);
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
    record.Mode = Checked(SettingsOption::ClickOnTouch) ? 0 : Checked(SettingsOption::ClickOnRelease) ? 1 : 2;
    for (const FlagBox& box : kFlagBoxes)
        record.*box.flag = Checked(box.id) ? 1 : 0;
    // Right click and drag delay count only where the click mode allows them.
    record.EnableRightClick =
        Enabled(SettingsOption::EnableRightClick) && Checked(SettingsOption::EnableRightClick) ? 1 : 0;
    record.EnableDragDelay =
        Enabled(SettingsOption::EnableDragDelay) && Checked(SettingsOption::EnableDragDelay) ? 1 : 0;
    record.BeepType = Checked(SettingsOption::PcSpeaker) ? 0 : 1;
    record.BeepMode = Checked(SettingsOption::BeepOnTouch) ? 0 : Checked(SettingsOption::BeepOnRelease) ? 1 : 2;
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
