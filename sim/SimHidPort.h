#pragma once
// The virtual touchscreens behind the HID seam: they enumerate, open and
// close like HID interfaces, as the scenario describes them.

#include "platform/DeviceBroadcast.h"
#include "platform/HidPort.h"
#include "sim/SimFrame.h"
#include "sim/SimScenario.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class IWindowMessenger;

class CSimHidPort : public IHidPort {
public:
    // Frames with an unplug time are removed that long after construction;
    // the removal is posted as a device-change notification through the
    // messenger to the window registered for the frame.
    explicit CSimHidPort(SimScenario scenario, IWindowMessenger* messenger = nullptr);
    ~CSimHidPort() override;

    SeamResult BeginScan() override;
    HidEnumStatus NextInterface(unsigned index, std::wstring& path) override;
    HidPropertyStatus ReadDeviceObjectName(std::wstring& name, unsigned& errorCode) override;
    void EndScan() override;

    SeamResult OpenForQuery(const std::wstring& path, HidDeviceInfo& info) override;
    SeamResult CompleteOpen(const std::wstring& path, HidDeviceInfo& info) override;
    void Close(HidDeviceInfo& info) override;

    SeamResult SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override;
    SeamResult SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override;
    std::unique_ptr<IHidPendingRead> StartRead(DeviceHandle handle, std::uint8_t* buffer, std::size_t length) override;

    NotificationHandle RegisterHandleNotification(WindowHandle window, DeviceHandle handle) override;
    NotificationHandle RegisterInterfaceNotification(WindowHandle window) override;
    void UnregisterNotification(NotificationHandle notification) override;

    // The interface path of frame i.
    static std::wstring PathOf(unsigned index);
    // How many handles are open now (for leak checks in tests).
    unsigned OpenHandleCount() const;
    const SimScenario& Scenario() const { return m_scenario; }
    // The device side of frame i.
    std::shared_ptr<CSimFrame> FrameAt(unsigned index) { return m_frames[index].device; }
    // Unplugs frame i now, as its unplug time would.
    void Unplug(unsigned index);
    // The system asks whether frame i may be removed, then tells that the
    // removal was refused (as when another program holds the device): a
    // query-remove and a query-remove-failed to the windows registered for it.
    void RefuseRemoval(unsigned index);

private:
    struct Frame {
        SimFrameSetup setup;
        std::shared_ptr<CSimFrame> device;
        std::vector<DeviceHandle> openHandles;
        // Windows registered for device-change notifications on a handle.
        struct Listener {
            DeviceHandle handle;
            WindowHandle window;
            NotificationHandle notification;
        };
        std::vector<Listener> listeners;
    };
    void UnplugTimer();
    // Posts each event to the windows registered for frame i, in order.
    void Notify(unsigned index, std::initializer_list<std::uintptr_t> events);
    Frame* FrameOfPath(const std::wstring& path);
    Frame* FrameOfHandle(DeviceHandle handle);
    // The device side of the frame open on this handle; null for another handle.
    std::shared_ptr<CSimFrame> DeviceOf(DeviceHandle handle);
    DeviceHandle NewHandle();

    SimScenario m_scenario;
    mutable std::mutex m_mutex;
    std::vector<Frame> m_frames;
    bool m_scanning = false;
    int m_lastIndex = -1;
    std::uintptr_t m_nextHandle = 0x5100;
    std::uintptr_t m_nextNotification = 0x9100;

    IWindowMessenger* m_messenger;
    std::deque<DeviceBroadcastHandle> m_broadcasts; // kept alive for the receivers
    std::condition_variable m_timerWake;
    bool m_closing = false;
    std::thread m_timer;
};
