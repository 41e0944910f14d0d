#pragma once
// The virtual touchscreens behind the HID seam: they enumerate, open and
// close like HID interfaces, as the scenario describes them.

#include "platform/HidPort.h"
#include "sim/SimScenario.h"

#include <mutex>
#include <vector>

class CSimHidPort : public IHidPort {
public:
    explicit CSimHidPort(SimScenario scenario);

    bool BeginScan() override;
    HidEnumStatus NextInterface(unsigned index, std::wstring& path) override;
    HidPropertyStatus ReadDeviceObjectName(std::wstring& name, unsigned& errorCode) override;
    void EndScan() override;

    bool OpenForQuery(const std::wstring& path, HidDeviceInfo& info) override;
    bool CompleteOpen(const std::wstring& path, HidDeviceInfo& info) override;
    void Close(HidDeviceInfo& info) override;

    NotificationHandle RegisterHandleNotification(WindowHandle window, DeviceHandle handle) override;
    NotificationHandle RegisterInterfaceNotification(WindowHandle window) override;
    void UnregisterNotification(NotificationHandle notification) override;

    // The interface path of frame i.
    static std::wstring PathOf(unsigned index);
    // How many handles are open now (for leak checks in tests).
    unsigned OpenHandleCount() const;
    const SimScenario& Scenario() const { return m_scenario; }

private:
    struct Frame {
        SimFrameSpec spec;
        std::vector<DeviceHandle> openHandles;
    };
    Frame* FrameOfPath(const std::wstring& path);
    Frame* FrameOfHandle(DeviceHandle handle);
    DeviceHandle NewHandle();

    SimScenario m_scenario;
    mutable std::mutex m_mutex;
    std::vector<Frame> m_frames;
    bool m_scanning = false;
    int m_lastIndex = -1;
    std::uintptr_t m_nextHandle = 0x5100;
    std::uintptr_t m_nextNotification = 0x9100;
};
