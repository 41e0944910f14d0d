#include "calibration/CalibratePanel.h"

#include "calibration/TouchSetCheck.h"
#include "common/LanguageText.h"
#include "config/ConfigurationLibrary.h"
#include "config/DeviceKey.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/Messages.h"
#include "platform/WindowMessenger.h"

#include <utility>

namespace {

constexpr wchar_t kCancelKey[] = L"39";

// The raw point of a touch report: x in bytes 3 (low) and 4 (high), y in 5 and 6.
RawTouchPoint TouchPointOf(const Report& report)
{
    return {report[3] | (report[4] << 8), report[5] | (report[6] << 8)};
}

} // namespace

std::wstring CountdownCancelText(const std::wstring& cancel, unsigned ticks)
{
    return cancel + L"(" + std::to_wstring(kReviewTicks - ticks) + L")";
}

std::optional<ScreenRect> FullScreenCalibrationRect(CDeviceManager& devices, IConfigurationLibrary& configuration,
                                                    unsigned slot)
{
    devices.RefreshMonitors();
    DeviceConfig config{};
    if (!devices.WithRecord(
            slot, [&](const TouchScreenRecord& record) { config.TouchScreenNumber = record.touchScreenNumber; }))
        return std::nullopt;
    configuration.GetDeviceConfig(config);
    const std::int32_t monitor = config.MonitorID < 0 ? 0 : config.MonitorID;
    const std::vector<MonitorEntry> monitors = devices.Monitors();
    if (static_cast<std::size_t>(monitor) >= monitors.size())
        return std::nullopt;
    const MonitorEntry& m = monitors[static_cast<std::size_t>(monitor)];
    return ScreenRect{m.left, m.top, m.right, m.bottom};
}

CCalibratePanel::CCalibratePanel(CalibratePanelServices services, ICalibrateView& view, unsigned slot,
                                 bool instructions)
    : m_services(std::move(services)), m_view(view), m_instructions(instructions), m_interrupted(m_services.registry)
{
    m_touchScreen.slot = slot;
    m_services.devices.WithRecord(slot, [&](const TouchScreenRecord& record) {
        m_touchScreen.identity = record.identity;
        m_restoreCopy.TouchScreenNumber = record.touchScreenNumber;
        m_deviceKey = DeviceKeyFromObjectName(record.deviceObjectName);
    });
}

CCalibratePanel::~CCalibratePanel()
{
    if (m_phase != Phase::Collecting && m_phase != Phase::Reviewing)
        return;
    // The window is gone or going: only the driver and the touchscreen are put right.
    RestoreClickMode();
    if (m_phase == Phase::Reviewing)
        RestoreDeviceRecord();
    else
        StopTouchReporting();
    m_interrupted.Clear();
    m_phase = Phase::Ended;
}

void CCalibratePanel::Open(WindowHandle window)
{
    m_window = window;
    m_pointCount = 0;
    m_phase = Phase::Collecting;
    StartTouchReporting();
    m_view.ShowPointer(false);
    m_view.ShowHints(ICalibrateView::Hints::Collecting, m_instructions);
    m_view.ShowReviewButtons(false);

    // Click on release while calibrating. A driver record that cannot be
    // read is left alone rather than overwritten with defaults.
    DriverConfig driver{};
    if (m_services.configuration.GetDriverConfig(driver)) {
        m_clickModeSaved = true;
        m_savedClickMode = driver.Mode;
        m_touchEnabled = driver.EnableTouch != 0;
        m_interrupted.KeepClickMode(driver.Mode); // before it changes: a kill must not leave it
        driver.Mode = 1;
        m_services.configuration.SetDriverConfig(driver);
    }
    m_services.configuration.GetDeviceConfig(m_restoreCopy);
    PostToMain(WM_CALIBRATION_BEGIN, 0);
}

int CCalibratePanel::TargetShown() const { return m_phase == Phase::Collecting ? m_pointCount : -1; }

void CCalibratePanel::OnTouchPoint(std::unique_ptr<DeviceReply> reply)
{
    if (!reply || m_phase != Phase::Collecting || !m_touchEnabled || m_pointCount >= 4)
        return;
    // Only this touchscreen's touches count; another one's stream (the
    // mapping dialog's, say) never reaches these points.
    if (reply->deviceHandle != m_services.devices.HandleOf(m_touchScreen.slot) ||
        m_services.devices.FindSlot(m_touchScreen.identity) != m_touchScreen.slot || reply->Answer()[1] != kTouchAnswer)
        return;
    m_points[static_cast<std::size_t>(m_pointCount)] = TouchPointOf(reply->report);
    ++m_pointCount;
    if (m_pointCount == 4 && !IsPlausibleTouchSet(m_points)) {
        // Stored, these points would leave the screen unusable. Nothing is
        // written; the stream goes on and the first target shows again.
        m_pointCount = 0;
        m_view.ShowNotice(GetLanguageText(kTouchSetRejectedKey));
    } else if (m_pointCount == 4) {
        m_view.ShowNotice({});
        m_trail.Clear();
        StopTouchReporting();
        m_phase = Phase::Reviewing;
        m_view.ShowHints(ICalibrateView::Hints::Review, m_instructions);
        m_view.ShowReviewButtons(true);
        m_view.ShowPointer(true);
        m_ticks = 0;
        m_view.StartCountdown();
        // The record it replaces is kept first, for a start after a kill.
        if (!std::exchange(m_recordKept, true))
            m_interrupted.KeepRecord(m_deviceKey, m_restoreCopy);
        // In force while the user tries it; the driver still clicks on release.
        Store(ClickModeAfterStore::Keep);
    }
    m_view.Redraw();
}

void CCalibratePanel::OnPointerMove(TrailPoint point)
{
    if (m_phase != Phase::Reviewing)
        return;
    if (auto piece = m_trail.Extend(point))
        m_view.DrawTrail(*piece);
}

void CCalibratePanel::OnPointerRelease(TrailPoint point)
{
    if (m_phase != Phase::Reviewing)
        return;
    if (auto piece = m_trail.End(point))
        m_view.DrawTrail(*piece);
}

void CCalibratePanel::OnTick()
{
    if (m_phase != Phase::Reviewing)
        return;
    ++m_ticks;
    if (m_ticks >= kReviewTicks) {
        OnClose();
        return;
    }
    m_view.SetCancelText(CountdownCancelText(GetLanguageText(kCancelKey), m_ticks));
}

void CCalibratePanel::OnReCalibrate()
{
    if (m_phase != Phase::Reviewing)
        return;
    m_view.SetCancelText(GetLanguageText(kCancelKey));
    m_services.messenger.Post(m_services.mainWindow, WM_CALIBRATION_BEGIN, 0, 0);
    m_view.StopCountdown();
    m_view.ShowPointer(false);
    m_view.ShowHints(ICalibrateView::Hints::Collecting, m_instructions);
    m_view.ShowReviewButtons(false);
    m_ticks = 0;
    m_pointCount = 0;
    m_trail.Clear();
    m_phase = Phase::Collecting;
    // The stored calibration stays in force until four new points replace it.
    StartTouchReporting();
    m_view.Redraw();
}

void CCalibratePanel::OnOk()
{
    if (m_phase != Phase::Reviewing)
        return;
    m_view.StopCountdown();
    m_phase = Phase::Ended;
    Store(m_clickModeSaved ? ClickModeAfterStore::Restore : ClickModeAfterStore::Keep);
    m_interrupted.Clear();
    PostToMain(WM_CALIBRATION_END, 0);
    m_view.EndDialog(true);
}

void CCalibratePanel::OnCancel()
{
    if (m_phase == Phase::Reviewing)
        End(1);
}

void CCalibratePanel::OnClose()
{
    if (Ending())
        return;
    End(0);
}

void CCalibratePanel::OnEscape()
{
    if (Ending())
        return;
    if (m_services.stopMouseHook)
        m_services.stopMouseHook();
    End(1);
}

void CCalibratePanel::OnRemovalNotice()
{
    if (m_phase != Phase::Collecting && m_phase != Phase::Reviewing)
        return;
    // The notice names the slot from before the removal moved the others
    // down; whether this dialog's touchscreen is the one gone is told by its
    // identity instead.
    if (!m_removed && m_services.devices.FindSlot(m_touchScreen.identity))
        return;
    m_removed = true;
    m_touchReporting = false;
    OnClose();
}

void CCalibratePanel::TouchScreenRemoving()
{
    if (m_phase != Phase::Collecting && m_phase != Phase::Reviewing)
        return;
    m_removed = true;
    m_touchReporting = false;
    if (m_streamHandle)
        m_services.state.streams.End(m_streamHandle);
    m_view.PostClose();
}

void CCalibratePanel::SlotsMoved()
{
    if (auto slot = m_services.devices.FindSlot(m_touchScreen.identity))
        m_touchScreen.slot = *slot;
}

void CCalibratePanel::TouchScreenReopened(DeviceHandle before, DeviceHandle after)
{
    if (m_touchScreen.identity != before || (m_phase != Phase::Collecting && m_phase != Phase::Reviewing))
        return;
    m_touchScreen.identity = after;
    if (m_phase == Phase::Collecting)
        StartTouchReporting();
}

bool CCalibratePanel::Ending()
{
    if (m_phase != Phase::Collecting && m_phase != Phase::Reviewing)
        return true;
    if (m_removed && !m_removalShown) {
        // Shown before anything ends; while the box is up every other way
        // out (a tick, a close) finds the dialog busy and does nothing.
        m_removalShown = true;
        const Phase phase = m_phase;
        m_phase = Phase::Idle;
        m_view.ShowRemovedMessage();
        m_phase = phase;
    }
    return false;
}

void CCalibratePanel::End(std::uintptr_t result)
{
    const bool reviewing = m_phase == Phase::Reviewing;
    m_phase = Phase::Ended;
    m_view.StopCountdown();
    RestoreClickMode();
    if (reviewing)
        RestoreDeviceRecord();
    m_view.ShowPointer(true);
    if (!reviewing)
        StopTouchReporting();
    m_interrupted.Clear();
    PostToMain(WM_CALIBRATION_END, result);
    m_view.EndDialog(false);
}

void CCalibratePanel::StartTouchReporting()
{
    if (PostCommand(Command::StartTouch))
        m_streamHandle = m_services.devices.HandleOf(m_touchScreen.slot);
}

void CCalibratePanel::StopTouchReporting()
{
    if (m_touchReporting)
        PostCommand(Command::StopTouch);
}

bool CCalibratePanel::PostCommand(std::uint16_t command)
{
    DeviceHandle hid = nullptr;
    if (!m_services.devices.WithRecord(m_touchScreen.slot, m_touchScreen.identity,
                                       [&](const TouchScreenRecord& record) { hid = record.hid.handle; }))
        return false;
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = hid;
    request->slot = static_cast<std::int32_t>(m_touchScreen.slot);
    request->replyWindow = m_window;
    request->report = MakeCommandReport(command);
    return m_services.postRequest(std::move(request));
}

void CCalibratePanel::RestoreClickMode()
{
    if (m_clickModeSaved)
        WriteClickMode(m_services.configuration, m_savedClickMode);
}

void CCalibratePanel::RestoreDeviceRecord()
{
    // Also when the touchscreen was unplugged meanwhile: its record stays
    // with the driver, and must not keep a calibration nobody confirmed.
    m_services.configuration.SetDeviceConfig(m_deviceKey, m_restoreCopy);
}

bool CCalibratePanel::Store(ClickModeAfterStore clickMode)
{
    return ApplyCalibration({m_services.devices, m_services.configuration, m_services.registry}, m_touchScreen,
                            m_points, m_view.WindowRect(), m_view.PrimaryScreenSize(), m_savedClickMode, clickMode);
}

void CCalibratePanel::PostToMain(unsigned message, std::uintptr_t wParam)
{
    m_services.messenger.Post(m_services.mainWindow, message, wParam, static_cast<std::intptr_t>(m_touchScreen.slot));
}
