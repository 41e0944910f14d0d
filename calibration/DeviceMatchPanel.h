#pragma once
// The mapping dialog's behaviour, without a window: it covers one monitor
// after the other and binds the first touchscreen touched while a monitor is
// shown to that monitor. Each binding is stored at once: the touchscreen's
// own parameter record (as read when the mapping began) moves to its new
// number, its slot, with the monitor shown; the slot's mapping entry and the
// record's "bound" mark tell the main dialog's save which touchscreens get
// their new numbers written into them. Untouched ones keep number and monitor.
//
// Event-driven on the window thread: touches arrive as WM_TOUCH_POINT
// replies, the 30-second limit per monitor is a timer the view runs (tests
// drive it from a clock of their own).
//
// Every way out (the last monitor, Esc, WM_CLOSE, the window destroyed, the
// last touchscreen unplugged) runs the same finish once: the cursor shown
// again, touch reporting stopped, WM_MAPPING_END posted exactly once and
// WM_MAPPING_CLOSED posted with its record.

#include "config/DeviceConfig.h"
#include "device/DeviceManager.h"
#include "device/DeviceRequest.h"
#include "device/Exchange.h"
#include "platform/Handles.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class IConfigurationLibrary;
class IWindowMessenger;

// The timer that limits the time per monitor.
constexpr unsigned kMappingTimerId = 9;
constexpr unsigned kMappingTimePerMonitorMs = 30000;

// What the panel shows; the mapping window implements it.
class IDeviceMatchView {
public:
    virtual ~IDeviceMatchView() = default;
    // The window covers this monitor (moved with repaint) and draws its number.
    virtual void CoverMonitor(const MonitorEntry& monitor) = 0;
    // The pointer disappears while the mapping runs, and comes back.
    virtual void HideCursor() = 0;
    virtual void ShowCursor() = 0;
    virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void StopTimer(unsigned id) = 0;
    // The window is asked to close (WM_CLOSE posted to itself).
    virtual void Close() = 0;
};

struct DeviceMatchServices {
    CDeviceManager& devices;
    IConfigurationLibrary& configuration;
    RequestPoster postRequest;
    IWindowMessenger& messenger;
};

class CDeviceMatchPanel {
public:
    CDeviceMatchPanel(DeviceMatchServices services, IDeviceMatchView& view);
    ~CDeviceMatchPanel();
    CDeviceMatchPanel(const CDeviceMatchPanel&) = delete;
    CDeviceMatchPanel& operator=(const CDeviceMatchPanel&) = delete;

    // The window opened: `window` receives the touches, `mainWindow` the end
    // and closed messages. Reads whether touch is enabled, hides the cursor,
    // starts touch reporting on every touchscreen, covers monitor 0 and
    // starts the timer.
    void Open(WindowHandle window, WindowHandle mainWindow);

    // A touch (WM_TOUCH_POINT): binds its touchscreen to the monitor shown
    // and goes on to the next monitor.
    void OnTouchPoint(std::unique_ptr<DeviceReply> touch);
    // WM_TIMER: no touch on this monitor in time.
    void OnTimer(unsigned id);
    // A touchscreen was unplugged (an own removal notice). The others go on,
    // bound under their slots of the moment; with none left the mapping ends.
    void OnTouchScreenRemoved();
    // A refused removal opened a touchscreen again under a new handle, its
    // new identity: its binding follows it, and it streams touches again.
    void TouchScreenReopened(DeviceHandle before, DeviceHandle after);
    // WM_CLOSE, Esc, or the window going: the finish, once.
    void Finish();

    // The monitor shown, 0-based, and the number drawn for it (1-based, whole).
    int CurrentMonitor() const { return m_currentMonitor; }
    std::wstring MonitorNumberText() const;
    bool Finished() const { return m_finished; }

private:
    void Advance();
    void Bind(unsigned slot);
    // Stores the binding: the touchscreen's own record under its new number
    // (the slot), with `monitor`; its calibration state as it was.
    void WriteMonitorMapping(unsigned slot, std::int32_t monitor);
    void PostTouchCommand(DeviceHandle touchScreen, std::uint16_t command);
    void PostEnd();

    DeviceMatchServices m_services;
    IDeviceMatchView& m_view;
    WindowHandle m_window = nullptr;
    WindowHandle m_mainWindow = nullptr;

    std::int32_t m_touchEnabled = 0;
    int m_currentMonitor = 0;
    std::vector<MonitorEntry> m_monitors; // the table as the mapping began
    // The touchscreens that were sent touch reporting, by identity.
    std::vector<DeviceHandle> m_streaming;
    // The monitor each touchscreen was bound to, by identity, and the slot
    // its binding was stored under.
    struct Binding {
        std::int32_t monitor;
        unsigned slot;
    };
    std::map<DeviceHandle, Binding> m_bindings;
    // Each touchscreen's own record as the mapping began, by identity.
    std::map<DeviceHandle, DeviceConfig> m_ownRecords;
    bool m_opened = false;
    bool m_cursorHidden = false;
    bool m_endPosted = false;
    bool m_finished = false;
};
