#include "config/Basicprop_win32.h"

#include "common/LanguageText.h"
#include "common/MainLog.h"
#include "res/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTitleKey[] = L"77";

constexpr int kButtonIds[] = {IDOK, IDCANCEL, IDC_APPLY};

// The unit labels beside the sliders are not translated.
constexpr ControlText kControlTexts[] = {
    {IDC_MODES_GROUP, L"16"},
    {IDC_CLICK_ON_TOUCH, L"17"},
    {IDC_CLICK_ON_RELEASE, L"18"},
    {IDC_MOUSE_EMULATION, L"19"},
    {IDC_OPTIONS_GROUP, L"20"},
    {IDC_ENABLE_TOUCH, L"21"},
    {IDC_HIDE_CURSOR, L"22"},
    {IDC_ENABLE_DOUBLE_CLICK, L"23"},
    {IDC_ENABLE_RIGHT_CLICK, L"24"},
    {IDC_ENABLE_DRAG_DELAY, L"25"},
    {IDC_ENABLE_DELAY_TOUCH, L"26"},
    {IDC_ENABLE_BEEP, L"27"},
    {IDC_DRAG_DELAY_GROUP, L"28"},
    {IDC_DELAY_TOUCH_GROUP, L"29"},
    {IDC_DOUBLE_CLICK_GROUP, L"30"},
    {IDC_RIGHT_CLICK_GROUP, L"31"},
    {IDC_BEEP_GROUP, L"32"},
    {IDC_BEEP_ON_TOUCH, L"33"},
    {IDC_BEEP_ON_RELEASE, L"34"},
    {IDC_BEEP_BOTH, L"35"},
    {IDC_PC_SPEAKER, L"36"},
    {IDC_SOUND_CARD, L"37"},
    {IDOK, L"38"},
    {IDCANCEL, L"39"},
    {IDC_APPLY, L"40"},
    {IDC_FREQUENCY_LABEL, L"41"},
    {IDC_DURATION_LABEL, L"42"},
    {IDC_RIGHT_CLICK_DELAY_LABEL, L"43"},
    {IDC_DELAY_TOUCH_DELAY_LABEL, L"43"},
    {IDC_DRAG_DELAY_DELAY_LABEL, L"43"},
    {IDC_DOUBLE_CLICK_SPEED_LABEL, L"44"},
    {IDC_DOUBLE_CLICK_AREA_LABEL, L"45"},
    {IDC_RIGHT_CLICK_AREA_LABEL, L"45"},
};

bool IsRuledButton(SettingsOption option)
{
    return std::ranges::find(kSettingsButtons, option) != kSettingsButtons.end();
}

bool IsSlider(SettingsOption option)
{
    return std::ranges::find(kSettingsSliders, option, &SettingsSlider::id) != kSettingsSliders.end();
}

const SettingsOptionControl& ControlOf(SettingsOption option)
{
    return *std::ranges::find(kSettingsOptionControls, option, &SettingsOptionControl::option);
}

const SettingsOptionControl* OptionOf(int id)
{
    auto found = std::ranges::find(kSettingsOptionControls, id, &SettingsOptionControl::id);
    return found == kSettingsOptionControls.end() ? nullptr : &*found;
}

} // namespace

const std::array<SettingsOptionControl, kSettingsOptionCount> kSettingsOptionControls = {{
    {SettingsOption::ClickOnTouch, IDC_CLICK_ON_TOUCH},
    {SettingsOption::ClickOnRelease, IDC_CLICK_ON_RELEASE},
    {SettingsOption::MouseEmulation, IDC_MOUSE_EMULATION},
    {SettingsOption::EnableTouch, IDC_ENABLE_TOUCH},
    {SettingsOption::HideCursor, IDC_HIDE_CURSOR},
    {SettingsOption::EnableDoubleClick, IDC_ENABLE_DOUBLE_CLICK},
    {SettingsOption::EnableRightClick, IDC_ENABLE_RIGHT_CLICK},
    {SettingsOption::EnableDragDelay, IDC_ENABLE_DRAG_DELAY},
    {SettingsOption::EnableDelayTouch, IDC_ENABLE_DELAY_TOUCH},
    {SettingsOption::EnableBeep, IDC_ENABLE_BEEP},
    {SettingsOption::BeepOnTouch, IDC_BEEP_ON_TOUCH},
    {SettingsOption::BeepOnRelease, IDC_BEEP_ON_RELEASE},
    {SettingsOption::BeepBoth, IDC_BEEP_BOTH},
    {SettingsOption::PcSpeaker, IDC_PC_SPEAKER},
    {SettingsOption::SoundCard, IDC_SOUND_CARD},
    {SettingsOption::DoubleClickTime, IDC_DOUBLE_CLICK_TIME, IDC_DOUBLE_CLICK_TIME_VALUE},
    {SettingsOption::DoubleClickArea, IDC_DOUBLE_CLICK_AREA, IDC_DOUBLE_CLICK_AREA_VALUE},
    {SettingsOption::RightClickTime, IDC_RIGHT_CLICK_TIME, IDC_RIGHT_CLICK_TIME_VALUE},
    {SettingsOption::RightClickArea, IDC_RIGHT_CLICK_AREA, IDC_RIGHT_CLICK_AREA_VALUE},
    {SettingsOption::DelayTouchTime, IDC_DELAY_TOUCH_TIME, IDC_DELAY_TOUCH_TIME_VALUE},
    {SettingsOption::DragDelayTime, IDC_DRAG_DELAY_TIME, IDC_DRAG_DELAY_TIME_VALUE},
    {SettingsOption::BeepFrequency, IDC_BEEP_FREQUENCY, IDC_BEEP_FREQUENCY_VALUE},
    {SettingsOption::BeepDuration, IDC_BEEP_DURATION, IDC_BEEP_DURATION_VALUE},
    {SettingsOption::DoubleClickGroup, IDC_DOUBLE_CLICK_GROUP},
    {SettingsOption::DelayTouchGroup, IDC_DELAY_TOUCH_GROUP},
    {SettingsOption::RightClickGroup, IDC_RIGHT_CLICK_GROUP},
    {SettingsOption::DragDelayGroup, IDC_DRAG_DELAY_GROUP},
    {SettingsOption::BeepGroup, IDC_BEEP_GROUP},
    {SettingsOption::Apply, IDC_APPLY},
}};

const MessageEntry CBasicprop::kEntries[] = {
    OnMessage<&CBasicprop::OnHScroll>(WM_HSCROLL),
    OnCommand<&CBasicprop::OnApply>(IDC_APPLY, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_CLICK_ON_TOUCH, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_CLICK_ON_RELEASE, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_MOUSE_EMULATION, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_TOUCH, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_HIDE_CURSOR, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_DOUBLE_CLICK, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_RIGHT_CLICK, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_DRAG_DELAY, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_DELAY_TOUCH, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_ENABLE_BEEP, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_BEEP_ON_TOUCH, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_BEEP_ON_RELEASE, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_BEEP_BOTH, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_PC_SPEAKER, BN_CLICKED),
    OnCommand<&CBasicprop::OnButtonClicked>(IDC_SOUND_CARD, BN_CLICKED),
    // OK and Cancel reach OnOK and OnCancel through the base class.
};
const MessageTable CBasicprop::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

CBasicprop::CBasicprop(SettingsPanelServices services) : CDialogImpl(IDD_SETTINGS), m_panel(services, *this) {}

bool CBasicprop::OnInitDialog()
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i].SubclassDlgItem(kButtonIds[i], m_hWnd);
    // The ranges first: a position is set within its slider's range.
    ConfigureSliders();
    m_panel.Open();
    SetLanguageTexts();
    return true;
}

void CBasicprop::ConfigureSliders()
{
    for (const SettingsSlider& slider : kSettingsSliders) {
        HWND control = GetDlgItem(ControlOf(slider.id).id);
        ::SendMessageW(control, TBM_SETRANGE, FALSE, MAKELPARAM(slider.minimum, slider.maximum));
        ::SendMessageW(control, TBM_SETLINESIZE, 0, slider.lineStep);
        ::SendMessageW(control, TBM_SETPAGESIZE, 0, slider.pageStep);
        ::SendMessageW(control, TBM_SETTICFREQ, slider.tickEvery, 0);
    }
}

void CBasicprop::SetLanguageTexts()
{
    std::vector<std::wstring_view> keys{kTitleKey};
    for (const ControlText& text : kControlTexts)
        keys.push_back(text.key);
    const std::vector<std::wstring> texts = GetLanguageTexts(keys);
    SetWindowText(texts[0]);
    for (std::size_t i = 0; i < std::size(kControlTexts); ++i)
        SetDlgItemText(kControlTexts[i].id, texts[i + 1]);
}

bool CBasicprop::PreTranslateMessage(MSG& msg)
{
    // Enter acts as Space on the focused control (toggles a check box,
    // presses a button) and never presses the default button.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.wParam == VK_RETURN &&
        (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd)))
        msg.wParam = VK_SPACE;
    return false;
}

// ---- ISettingsView

void CBasicprop::ShowControls(const SettingsControls& controls)
{
    for (const auto& [option, state] : controls) {
        const SettingsOptionControl& shown = ControlOf(option);
        EnableDlgItem(shown.id, state.enabled);
        if (IsRuledButton(option)) {
            if (IsDlgButtonChecked(shown.id) != state.checked)
                CheckDlgButton(shown.id, state.checked);
        } else if (IsSlider(option)) {
            HWND control = GetDlgItem(shown.id);
            if (::SendMessageW(control, TBM_GETPOS, 0, 0) != state.position)
                ::SendMessageW(control, TBM_SETPOS, TRUE, state.position);
            SetDlgItemText(shown.valueLabel, std::to_wstring(state.position));
        }
    }
}

void CBasicprop::FocusOk() { SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDOK)), TRUE); }

void CBasicprop::ReportNotStored()
{
    const std::wstring shown = GetLanguageText(kSettingsNotStoredKey);
    // The configuration library tells only whether it stored the record, not
    // why: the log names the call with code 0.
    LogShownFailure(shown, SeamResult::Failed("SetDriverConfig", 0));
    ::MessageBoxW(m_hWnd, shown.c_str(), GetLanguageText(kTitleKey).c_str(), MB_OK | MB_ICONERROR);
}

void CBasicprop::Close(bool ok) { EndDialog(ok ? IDOK : IDCANCEL); }

// ---- messages

void CBasicprop::OnButtonClicked(UINT, int id, HWND)
{
    if (const SettingsOptionControl* clicked = OptionOf(id))
        m_panel.OnClicked(clicked->option, IsDlgButtonChecked(id));
}

void CBasicprop::OnHScroll(WPARAM, LPARAM slider)
{
    HWND control = reinterpret_cast<HWND>(slider);
    if (!control || ::GetParent(control) != m_hWnd)
        return;
    if (const SettingsOptionControl* moved = OptionOf(::GetDlgCtrlID(control)))
        m_panel.OnSliderMoved(moved->option, static_cast<int>(::SendMessageW(control, TBM_GETPOS, 0, 0)));
}
