#include "calibration/DeviceMatchPanel.h"

#include "calibration/MappingClosedRecord.h"
#include "config/ConfigurationLibrary.h"
#include "config/DeviceKey.h"
#include "device/ReportProtocol.h"
#include "platform/Messages.h"
#include "platform/WindowMessenger.h"

#include <algorithm>

CDeviceMatchPanel::CDeviceMatchPanel(DeviceMatchServices services, IDeviceMatchView& view)
    : m_services(std::move(services)), m_view(view)
{
}

CDeviceMatchPanel::~CDeviceMatchPanel() = default;

void CDeviceMatchPanel::Open(WindowHandle window, WindowHandle mainWindow)
{
    m_window = window;
    m_mainWindow = mainWindow;
    m_opened = true;

    DriverConfig driver{};
    m_services.configuration.GetDriverConfig(driver); // a record it cannot read counts as touch off
    m_touchEnabled = driver.EnableTouch;

    m_view.HideCursor();
    m_cursorHidden = true;

    m_monitors = m_services.devices.Monitors();
    m_streaming = m_services.devices.Identities();
    // Only what this mapping binds is saved afterwards: a touchscreen not
    // touched keeps its number, and every one keeps its monitor until bound.
    // Each one's own record is read now, before any binding stores a record
    // under a number another touchscreen holds.
    for (DeviceHandle touchScreen : m_streaming) {
        DeviceConfig own{};
        bool known = false;
        m_services.devices.WithRecordOf(touchScreen, [&](TouchScreenRecord& record) {
            record.boundInMapping = false;
            known = !record.numberUnknown;
            own.TouchScreenNumber = record.touchScreenNumber;
        });
        // A record read in part carries what was read; with no number there
        // is no record of its own: it starts uncalibrated.
        if (known)
            m_services.configuration.GetDeviceConfig(own);
        else
            own = DeviceConfig{};
        m_ownRecords[touchScreen] = own;
    }
    for (DeviceHandle touchScreen : m_streaming)
        PostTouchCommand(touchScreen, Command::StartTouch);

    // Monitor 0 first (with no monitor at all, the mapping ends at once).
    m_currentMonitor = -1;
    Advance();
}

std::wstring CDeviceMatchPanel::MonitorNumberText() const { return std::to_wstring(m_currentMonitor + 1); }

void CDeviceMatchPanel::OnTouchPoint(std::unique_ptr<DeviceReply> touch)
{
    if (!touch || !m_opened || m_finished || m_touchEnabled == 0)
        return;
    // A touch queued before the last monitor ended binds nothing: there is
    // no monitor shown any more.
    if (m_currentMonitor < 0 || m_currentMonitor >= static_cast<int>(m_monitors.size()))
        return;
    // The touch names its touchscreen by handle: its slot may have moved since
    // touch reporting started.
    const auto slot = m_services.devices.FindSlot(touch->deviceHandle);
    if (!slot)
        return;
    m_view.StopTimer(kMappingTimerId);
    if (m_monitors.size() == 1) {
        // One monitor: every touchscreen lies on it.
        const std::vector<DeviceHandle> touchScreens = m_services.devices.Identities();
        for (unsigned j = 0; j < touchScreens.size(); ++j)
            Bind(j);
    } else {
        Bind(*slot);
    }
    Advance();
}

void CDeviceMatchPanel::OnTimer(unsigned id)
{
    if (id != kMappingTimerId || !m_opened || m_finished)
        return;
    m_view.StopTimer(kMappingTimerId);
    Advance();
}

void CDeviceMatchPanel::OnTouchScreenRemoved()
{
    if (!m_opened || m_finished)
        return;
    // A removed touchscreen loses its binding and gets no stop; the device
    // manager has already cleared its mapping entry.
    std::erase_if(m_streaming, [&](DeviceHandle t) { return !m_services.devices.FindSlot(t); });
    std::erase_if(m_bindings, [&](const auto& b) { return !m_services.devices.FindSlot(b.first); });
    // The save gives each touchscreen the number of its slot of the moment: a
    // bound one that moved down is stored again under its new slot, so that
    // its parameters lie under the number it will hold.
    for (auto& [touchScreen, binding] : m_bindings) {
        const auto slot = m_services.devices.FindSlot(touchScreen);
        if (slot && *slot != binding.slot)
            WriteMonitorMapping(*slot, binding.monitor);
    }
    if (m_services.devices.Count() == 0) {
        Finish();
        m_view.Close();
    }
}

void CDeviceMatchPanel::TouchScreenReopened(DeviceHandle before, DeviceHandle after)
{
    if (!m_opened || m_finished)
        return;
    auto streaming = std::find(m_streaming.begin(), m_streaming.end(), before);
    if (streaming == m_streaming.end())
        return;
    *streaming = after;
    if (auto binding = m_bindings.extract(before)) {
        binding.key() = after;
        m_bindings.insert(std::move(binding));
    }
    if (auto own = m_ownRecords.extract(before)) {
        own.key() = after;
        m_ownRecords.insert(std::move(own));
    }
    // Closing the old handle ended its stream.
    PostTouchCommand(after, Command::StartTouch);
}

void CDeviceMatchPanel::Finish()
{
    if (!m_opened || m_finished)
        return;
    m_finished = true;
    if (m_cursorHidden) {
        m_view.ShowCursor();
        m_cursorHidden = false;
    }
    m_view.StopTimer(kMappingTimerId);
    for (DeviceHandle touchScreen : m_streaming)
        PostTouchCommand(touchScreen, Command::StopTouch);
    m_streaming.clear();
    PostEnd(); // the main window is enabled again on every way out
    auto record = std::make_unique<MappingClosedRecord>();
    record->lastMonitor = m_currentMonitor;
    if (m_services.messenger.Post(m_mainWindow, WM_MAPPING_CLOSED, 0, reinterpret_cast<std::intptr_t>(record.get())))
        record.release(); // the main window owns it now
}

void CDeviceMatchPanel::Advance()
{
    ++m_currentMonitor;
    if (m_currentMonitor < static_cast<int>(m_monitors.size())) {
        m_view.CoverMonitor(m_monitors[static_cast<std::size_t>(m_currentMonitor)]);
        m_view.StartTimer(kMappingTimerId, kMappingTimePerMonitorMs);
        return;
    }
    // Every monitor was shown.
    if (m_cursorHidden) {
        m_view.ShowCursor();
        m_cursorHidden = false;
    }
    PostEnd();
    m_view.Close();
}

void CDeviceMatchPanel::Bind(unsigned slot)
{
    DeviceHandle identity = nullptr;
    if (!m_services.devices.WithRecord(slot, [&](const TouchScreenRecord& record) { identity = record.identity; }))
        return;
    // Touched on two monitors: the later binding wins.
    m_bindings[identity] = Binding{m_currentMonitor, slot};
    WriteMonitorMapping(slot, m_currentMonitor);
}

void CDeviceMatchPanel::WriteMonitorMapping(unsigned slot, std::int32_t monitor)
{
    const auto number = static_cast<std::int32_t>(slot);
    std::wstring objectName;
    DeviceHandle identity = nullptr;
    if (!m_services.devices.WithRecord(slot, [&](TouchScreenRecord& record) {
            record.touchScreenNumber = number;
            record.boundInMapping = true;
            objectName = record.deviceObjectName;
            identity = record.identity;
        }))
        return;
    // The touchscreen's own record moves to its new number, calibration and
    // calibration state included; only the number and the monitor change.
    DeviceConfig config = m_ownRecords[identity];
    config.TouchScreenNumber = number;
    config.MonitorID = monitor;
    m_services.configuration.SetDeviceConfig(DeviceKeyFromObjectName(objectName), config);
    // The save writes the number into the touchscreen from this entry.
    m_services.devices.SetMapping(slot, MappingEntry{m_services.devices.HandleOf(slot), monitor, number});
    if (auto it = m_bindings.find(identity); it != m_bindings.end())
        it->second.slot = slot;
}

void CDeviceMatchPanel::PostTouchCommand(DeviceHandle touchScreen, std::uint16_t command)
{
    const auto slot = m_services.devices.FindSlot(touchScreen);
    if (!slot)
        return;
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = m_services.devices.HandleOf(*slot);
    request->slot = static_cast<std::int32_t>(*slot);
    request->replyWindow = m_window;
    request->report = MakeCommandReport(command);
    m_services.postRequest(std::move(request)); // one that cannot be posted is freed
}

void CDeviceMatchPanel::PostEnd()
{
    if (m_endPosted)
        return;
    m_endPosted = true;
    m_services.messenger.Post(m_mainWindow, WM_MAPPING_END, 0, 0);
}
