#include "app/OvamerDlg_win32.h"

#include "app/TouchScreenLabelFit_win32.h"
#include "calibration/MonitorAreas_win32.h"
#include "calibration/MouseHookMessages.h"
#include "common/LanguageText.h"
#include "config/Basicprop_win32.h"
#include "device/DeviceManager.h"
#include "info/DovInfo_win32.h"
#include "info/Version_win32.h"
#include "libs/grell/Grell_win32.h"
#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/System_win32.h"
#include "res/resource.h"
#include "ui/ScaledImages_win32.h"
#include "win/AppBase.h"
#include "win/Dpi.h"

#include <dbt.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>

namespace {

// The update dialog's window has gone: release its object.
constexpr unsigned WM_UPDATE_DIALOG_ENDED = 0x8000 + 0x20;

// The buttons, in the order of m_buttons.
constexpr int kButtonIds[] = {IDC_MAPPING,     IDC_CALIBRATE, IDC_REGION_CALIBRATE, IDC_SETTINGS,
                              IDC_DIAGNOSTICS, IDC_ABOUT,     IDC_HELP_MANUAL,      IDC_EXIT};

constexpr ControlText kControlTexts[] = {
    {IDC_MAPPING, L"1"},
    {IDC_CALIBRATE, L"2"},
    {IDC_REGION_CALIBRATE, L"3"},
    {IDC_SETTINGS, L"4"},
    {IDC_DIAGNOSTICS, L"5"},
    {IDC_ABOUT, L"6"},
    {IDC_HELP_MANUAL, L"7"},
    {IDC_EXIT, L"8"},
    {IDC_LIST_GROUP, L"9"},
    {IDC_CALIBRATION_HINT, L"10"},
    {IDC_CALIBRATE_TITLE, L"11"},
    {IDC_CALIBRATE_WHEN_NEW, L"12"},
    {IDC_CALIBRATE_WHEN_INACCURATE, L"13"},
    {IDC_MAPPING_TITLE, L"14"},
    {IDC_MAPPING_WHEN_SEVERAL, L"15"},
    {IDC_REGION_TITLE, L"100"},
    {IDC_REGION_WHEN_PART, L"101"},
};

// The caption of the program's own message boxes.
std::wstring ApplicationName()
{
    if (CAppBase* app = CAppBase::Current())
        return app->AppName();
    std::wstring path = ModulePath(nullptr);
    std::size_t slash = path.find_last_of(L'\\');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

} // namespace

const MessageEntry COvamerDlg::kEntries[] = {
    OnMessage<&COvamerDlg::OnClose>(WM_CLOSE),
    OnMessage<&COvamerDlg::OnDestroy>(WM_DESTROY),
    OnMessage<&COvamerDlg::OnSetCursor>(WM_SETCURSOR),
    OnMessage<&COvamerDlg::OnDeviceChange>(WM_DEVICECHANGE),
    OnMessage<&COvamerDlg::OnDisplayChange>(WM_DISPLAYCHANGE),
    OnRecord<&COvamerDlg::OnOpeningReply>(WM_OPENING_REPLY),
    OnRecord<&COvamerDlg::OnVersionReply>(WM_VERSION_REPLY),
    OnRecord<&COvamerDlg::OnSerialReply>(WM_SERIAL_REPLY),
    OnRecord<&COvamerDlg::OnNumberReadReply>(WM_NUMBER_READ_REPLY),
    OnRecord<&COvamerDlg::OnNumberWriteReply>(WM_NUMBER_WRITE_REPLY),
    OnMessage<&COvamerDlg::OnUnregisterNotification>(WM_UNREGISTER_NOTIFICATION),
    OnRecord<&COvamerDlg::OnMappingClosed>(WM_MAPPING_CLOSED),
    OnMessage<&COvamerDlg::OnCalibrationBegin>(WM_CALIBRATION_BEGIN),
    OnMessage<&COvamerDlg::OnCalibrationEnd>(WM_CALIBRATION_END),
    OnRegistered<&COvamerDlg::OnMouseDown>(&MouseDownMessage),
    OnRegistered<&COvamerDlg::OnMouseUp>(&MouseUpMessage),
    OnRegistered<&COvamerDlg::OnMouseMove>(&MouseMoveMessage),
    OnMessage<&COvamerDlg::OnMappingEnd>(WM_MAPPING_END),
    OnMessage<&COvamerDlg::OnRefreshList>(WM_PANEL_REFRESH_LIST),
    OnMessage<&COvamerDlg::OnSaveMappingFailed>(WM_PANEL_SAVE_FAILED),
    OnCommand<&COvamerDlg::OnHelp>(IDC_HELP_MANUAL, BN_CLICKED),
    OnCommand<&COvamerDlg::OnSettings>(IDC_SETTINGS, BN_CLICKED),
    OnCommand<&COvamerDlg::OnMapping>(IDC_MAPPING, BN_CLICKED),
    OnCommand<&COvamerDlg::OnDiagnostics>(IDC_DIAGNOSTICS, BN_CLICKED),
    OnCommand<&COvamerDlg::OnCalibrate>(IDC_CALIBRATE, BN_CLICKED),
    OnCommand<&COvamerDlg::OnRegionCalibrate>(IDC_REGION_CALIBRATE, BN_CLICKED),
    OnNotify<&COvamerDlg::OnListItemChanged>(IDC_TOUCHSCREEN_LIST, LVN_ITEMCHANGED),
    OnNotify<&COvamerDlg::OnListDoubleClick>(IDC_TOUCHSCREEN_LIST, NM_DBLCLK),
    OnCommand<&COvamerDlg::OnAbout>(IDC_ABOUT, BN_CLICKED),
    OnMessage<&COvamerDlg::OnUpdateEnded>(WM_UPDATE_DIALOG_ENDED),
    // Exit is IDOK: the base class ends the dialog with it.
};
const MessageTable COvamerDlg::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

COvamerDlg::COvamerDlg(MainPanelServices services) : COvamerDlg(services, ProgramDialogFactories(services)) {}

COvamerDlg::COvamerDlg(MainPanelServices services, MainDialogFactories factories)
    : CDialogImpl(IDD_MAIN), m_factories(std::move(factories)), m_panel(services, *this),
      m_diagnosis(m_factories.diagnosis()), m_region(services.devices, *this)
{
}

COvamerDlg::~COvamerDlg()
{
    m_panel.SetOpenCalibration(nullptr);
    m_calibration.reset();
    m_panel.Close();
}

bool COvamerDlg::OnInitDialog()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_bigIcon =
        CIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    m_smallIcon =
        CIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    if (CAppBase* app = CAppBase::Current())
        app->SetMainWindow(m_hWnd);

    RegisterMouseHookMessages();
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i].SubclassDlgItem(kButtonIds[i], m_hWnd);
    m_picture.SubclassDlgItem(IDC_PICTURE, m_hWnd);
    m_list.Attach(GetDlgItem(IDC_TOUCHSCREEN_LIST));
    LoadListImages();
    m_list.SetRedraw(true);
    SetLanguageTexts();

    m_panel.SetReopenedHandler([this](DeviceHandle before, DeviceHandle after) {
        if (m_mapping)
            m_mapping->TouchScreenReopened(before, after);
        m_diagnosis.TouchScreenReopened(before, after);
    });
    m_panel.Open(m_hWnd);
    return true;
}

void COvamerDlg::LoadListImages()
{
    // The icons drawn nearest the list's DPI, at their own size; loaded again
    // only when the DPI has changed.
    const unsigned dpi = WindowDpi(m_list);
    if (dpi == m_imagesDpi && m_images.Count() > 0)
        return;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // In the order of ListImage (TouchScreenListItem::image).
    CBitmap notCalibrated = LoadScaledBitmap(instance, IDB_LIST_NOT_CALIBRATED, dpi);
    CBitmap calibrated = LoadScaledBitmap(instance, IDB_LIST_CALIBRATED, dpi);
    CBitmap monitorGone = LoadScaledBitmap(instance, IDB_LIST_MONITOR_GONE, dpi);
    CBitmap refitted = LoadScaledBitmap(instance, IDB_LIST_REFITTED, dpi);
    const SIZE size = BitmapSize(notCalibrated);
    m_images.Create(size.cx, size.cy);
    m_images.AddMasked(notCalibrated, RGB(255, 0, 255));
    m_images.AddMasked(calibrated, RGB(0, 0, 0));
    m_images.AddMasked(monitorGone, RGB(255, 0, 255));
    m_images.AddMasked(refitted, RGB(255, 0, 255));
    m_list.SetImageList(m_images, LVSIL_NORMAL);
    m_imagesDpi = dpi;
}

void COvamerDlg::SetLanguageTexts()
{
    SetWindowText(GetLanguageText(kProgramTitleKey));
    for (const ControlText& text : kControlTexts)
        SetDlgItemText(text.id, GetLanguageText(text.key));
}

bool COvamerDlg::PreTranslateMessage(MSG& msg)
{
    // Keys of this dialog's own controls: Escape never closes it; Enter
    // presses the focused button, as Space does, except in the list.
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
        (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd))) {
        if (msg.wParam == VK_ESCAPE)
            return true;
        if (msg.wParam == VK_RETURN && ::GetFocus() == m_list) {
            // Enter on the list opens the selected touchscreen's properties;
            // it never reaches the dialog, where it would press Exit.
            if (msg.message == WM_KEYDOWN)
                OpenProperties();
            return true;
        }
        if (msg.wParam == VK_RETURN)
            msg.wParam = VK_SPACE;
    }
    return false;
}

// ---- IMainPanelView

void COvamerDlg::ShowTouchScreens(const std::vector<TouchScreenListItem>& items, int selected)
{
    m_fillingList = true;
    LoadListImages();
    m_list.DeleteAllItems();
    std::vector<std::wstring> labels;
    for (std::size_t i = 0; i < items.size(); ++i) {
        m_list.InsertItem(static_cast<int>(i), items[i].text, items[i].image);
        labels.push_back(items[i].text);
    }
    FitTouchScreenLabels(m_list, labels);
    if (selected >= 0)
        m_list.SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_fillingList = false;
}

void COvamerDlg::EnableActions(const MainActions& actions)
{
    EnableDlgItem(IDC_MAPPING, actions.mapping);
    EnableDlgItem(IDC_CALIBRATE, actions.touchScreen);
    EnableDlgItem(IDC_REGION_CALIBRATE, actions.touchScreen);
    EnableDlgItem(IDC_SETTINGS, actions.settings);
    EnableDlgItem(IDC_DIAGNOSTICS, actions.diagnostics);
}

void COvamerDlg::ListReady()
{
    // The cursor over the dialog changes back at once, not at the next move.
    PostMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void COvamerDlg::ShowNote(const std::wstring& text) { SetDlgItemText(IDC_CALIBRATION_HINT, text); }

// ---- messages

void COvamerDlg::OnClose()
{
    CloseRegionSelection();
    EndDialog(IDCANCEL);
}

void COvamerDlg::OnDestroy()
{
    // An open mapping finishes first: touch reporting stopped, the cursor back.
    m_mapping.reset();
    // An update still running ends with its dialog: nothing more is sent.
    m_update.reset();
    // A calibration still open puts the driver's click mode and the
    // touchscreen's record back as it goes.
    CloseRegionSelection();
    m_panel.SetOpenCalibration(nullptr);
    m_calibration.reset();
    // The jobs end before the window they post to goes.
    m_panel.Close();
    if (CAppBase* app = CAppBase::Current(); app && app->MainWindow() == m_hWnd)
        app->SetMainWindow(nullptr);
}

MessageResult COvamerDlg::OnSetCursor()
{
    if (m_panel.ListIsReady())
        return MessageResult::Default();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
}

LRESULT COvamerDlg::OnDeviceChange(WPARAM event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header && header->dbch_devicetype == DBT_DEVTYP_HANDLE)
        m_panel.OnDeviceChange(event, reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data)->dbch_handle);
    return TRUE; // a query-remove is always granted
}

void COvamerDlg::OnDisplayChange()
{
    // A mapping shows the monitors of the table as it began, a region drag
    // was measured on the old display: both end here as Esc ends them (the
    // bindings made so far are saved). The panel cancels an open calibration.
    if (m_mapping && ::IsWindow(*m_mapping))
        m_mapping->SendMessage(WM_CLOSE);
    CloseRegionSelection();
    m_panel.OnDisplayChange();
}

void COvamerDlg::OnOpeningReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnOpeningReply(std::move(reply)); }

void COvamerDlg::OnVersionReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnVersionReply(std::move(reply)); }

void COvamerDlg::OnSerialReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnSerialReply(std::move(reply)); }

void COvamerDlg::OnNumberReadReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnNumberReadReply(std::move(reply)); }

void COvamerDlg::OnNumberWriteReply(std::unique_ptr<DeviceReply> reply)
{
    m_panel.OnNumberWriteReply(std::move(reply));
}

void COvamerDlg::OnUnregisterNotification(WPARAM, LPARAM notification)
{
    m_panel.OnUnregisterNotification(reinterpret_cast<NotificationHandle>(notification));
}

void COvamerDlg::OnMappingClosed(std::unique_ptr<MappingClosedRecord> record)
{
    // The mapping dialog's last message: its window is gone or going.
    m_mapping.reset();
    if (record) // its contents are not read
        m_panel.OnMappingClosed();
    RestoreFocus(); // after the save disabled Mapping: the list then takes the focus
}

void COvamerDlg::OnMapping()
{
    if (!m_panel.Actions().mapping)
        return;
    RememberFocus();
    m_mapping.reset(); // an earlier one is forgotten
    m_mapping = std::make_unique<CDeviceMatchDlg>(m_panel.BeginMapping());
    if (!m_mapping->Open(m_hWnd)) {
        m_mapping.reset();
        EnableWindow(true);
    }
}

void COvamerDlg::OnCalibrationBegin() { EnableWindow(false); }

void COvamerDlg::OnCalibrationEnd(WPARAM result, LPARAM slot)
{
    EnableWindow(true);
    m_panel.OnCalibrationEnd(result, slot);
    m_calibration.reset();
    RestoreFocus();
}

void COvamerDlg::RememberFocus()
{
    HWND focus = ::GetFocus();
    m_focusBefore = focus && ::IsChild(m_hWnd, focus) ? focus : nullptr;
}

void COvamerDlg::RestoreFocus()
{
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    HWND focus = m_focusBefore;
    if (!focus || !::IsWindow(focus) || !::IsChild(m_hWnd, focus) || !::IsWindowEnabled(focus))
        focus = m_list;
    ::SetFocus(focus);
    m_focusBefore = nullptr;
}

void COvamerDlg::OnCalibrate()
{
    const int slot = m_panel.Selected();
    if (slot < 0 || !m_panel.Actions().touchScreen)
        return;
    RememberFocus();
    auto rect = m_factories.calibrationArea(static_cast<unsigned>(slot));
    if (!rect)
        rect = ScreenRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    OpenCalibration(static_cast<unsigned>(slot), *rect, true);
}

void COvamerDlg::OpenCalibration(unsigned slot, const ScreenRect& rect, bool instructions)
{
    m_panel.SetOpenCalibration(nullptr);
    m_calibration.reset();
    m_calibration = m_factories.calibration(slot, instructions, m_hWnd);
    m_panel.SetOpenCalibration(&m_calibration->Panel());
    if (!m_calibration->Create(m_hWnd)) {
        m_panel.SetOpenCalibration(nullptr);
        m_calibration.reset();
        return;
    }
    ::MoveWindow(*m_calibration, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    m_calibration->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(*m_calibration);
}

void COvamerDlg::OnRegionCalibrate()
{
    const int slot = m_panel.Selected();
    if (slot < 0 || !m_panel.Actions().touchScreen)
        return;
    RememberFocus();
    m_region.Start(slot);
}

void COvamerDlg::OnMouseHookEvent(MouseHookEvent event) { m_region.OnPointerEvent(event); }

void COvamerDlg::CloseRegionSelection() { m_region.Cancel(); }

// ---- the region calibration's view

void COvamerDlg::StartPointerHook() { StartMouseHook(m_hWnd); }

void COvamerDlg::StopPointerHook() { StopMouseHook(m_hWnd); }

bool COvamerDlg::CreateHint()
{
    m_regionHint = std::make_unique<MessageInfoDlg>();
    if (m_regionHint->Create(m_hWnd))
        return true;
    m_regionHint.reset();
    return false;
}

void COvamerDlg::ShowHintAt(const LayoutRect& hintPlace, bool first)
{
    if (!m_regionHint)
        return;
    // Scaled, no smaller than its text: fonts do not grow exactly with the
    // DPI. At 96 DPI the hint keeps the size its text was laid out for.
    LayoutRect place = hintPlace;
    if (m_regionHint && WindowDpi(*m_regionHint) != 96) {
        const SIZE text = m_regionHint->TextExtent();
        place.width = std::max(place.width, static_cast<int>(text.cx));
        place.height = std::max(place.height, static_cast<int>(text.cy));
    }
    if (first) {
        ::MoveWindow(*m_regionHint, place.left, place.top, place.width, place.height, TRUE);
        m_regionHint->ShowWindow(SW_SHOW);
    } else {
        ::SetWindowPos(*m_regionHint, HWND_TOPMOST, place.left, place.top, place.width, place.height, SWP_NOACTIVATE);
    }
}

void COvamerDlg::DestroyHint() { m_regionHint.reset(); }

ScreenPoint COvamerDlg::PointerPosition()
{
    POINT cursor{};
    ::GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

unsigned COvamerDlg::DpiAt(ScreenPoint point) { return DrawingDpiAt(point); }

void COvamerDlg::OpenRegionCalibration(unsigned slot, const ScreenRect& region)
{
    OpenCalibration(slot, region, false);
}

void COvamerDlg::OnMappingEnd()
{
    EnableWindow(true);
    m_panel.RefreshList();
}

void COvamerDlg::OnRefreshList() { m_panel.RefreshList(); }

void COvamerDlg::OnSaveMappingFailed()
{
    ::MessageBoxW(m_hWnd, kSaveMappingFailedText, ApplicationName().c_str(), MB_OK);
}

void COvamerDlg::OnHelp()
{
    const std::wstring manual = m_panel.ManualPath();
    auto result = reinterpret_cast<std::intptr_t>(
        ::ShellExecuteW(m_hWnd, L"open", manual.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (auto key = HelpFailureTextKey(result))
        ::MessageBoxW(m_hWnd, GetLanguageText(*key).c_str(), GetLanguageText(kProgramTitleKey).c_str(),
                      MB_OK | MB_ICONINFORMATION);
}

void COvamerDlg::OnSettings() { m_factories.settings()->DoModal(m_hWnd); }

void COvamerDlg::OnListItemChanged(NMHDR& header)
{
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (m_fillingList || !(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
        return;
    if (change.uNewState & LVIS_SELECTED)
        m_panel.OnSelectionChanged(change.iItem);
    else if (m_list.GetSelectedItem() < 0)
        m_panel.OnSelectionChanged(-1);
}

void COvamerDlg::OnDiagnostics()
{
    // Not while the start-up query or a mapping save runs: their exchanges
    // and a run's would read each other's replies and opening answers.
    if (!m_panel.Actions().diagnostics)
        return;
    m_diagnosis.SetTouchScreen(m_panel.Selected());
    m_panel.DiagnosticsBegin();
    m_diagnosis.DoModal(m_hWnd);
    m_panel.DiagnosticsEnd(); // a save asked for meanwhile starts now
}

void COvamerDlg::OnListDoubleClick(NMHDR&) { OpenProperties(); }

void COvamerDlg::OpenProperties()
{
    const int selected = m_panel.Selected();
    if (selected < 0 || m_list.GetSelectedItem() < 0)
        return;
    m_factories.properties(selected)->DoModal(m_hWnd);
}

void COvamerDlg::OnAbout()
{
    CVersion about([this] { OpenUpdate(); });
    about.DoModal(m_hWnd);
}

void COvamerDlg::OpenUpdate()
{
    // One update at a time: a second would interleave its frames with the first's.
    if (m_update) {
        ::SetForegroundWindow(*m_update);
        return;
    }
    m_update = m_factories.update([this] { PostMessage(WM_UPDATE_DIALOG_ENDED); });
    if (!m_update->Create(nullptr)) {
        m_update.reset();
        return;
    }
    m_update->ShowWindow(SW_SHOWNORMAL);
}

void COvamerDlg::OnUpdateEnded()
{
    if (m_update && !::IsWindow(*m_update))
        m_update.reset();
}
