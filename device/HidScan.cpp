#include "device/HidScan.h"

#include "platform/HidPort.h"

#include <cstdio>

namespace {

// Closes a half-opened interface when its opening is abandoned.
class COpeningGuard {
public:
    COpeningGuard(IHidPort& port, HidDeviceInfo& info) : m_port(port), m_info(info) {}
    ~COpeningGuard()
    {
        if (!m_kept)
            m_port.Close(m_info);
    }
    COpeningGuard(const COpeningGuard&) = delete;
    COpeningGuard& operator=(const COpeningGuard&) = delete;
    void Keep() { m_kept = true; }

private:
    IHidPort& m_port;
    HidDeviceInfo& m_info;
    bool m_kept = false;
};

} // namespace

bool OpenHidDevice(IHidPort& port, const std::wstring& path, HidDeviceInfo& info)
{
    info = HidDeviceInfo{};
    if (!port.OpenForQuery(path, info))
        return false;
    COpeningGuard opening(port, info);
    if (info.attributes.vendorId != kTouchScreenVendorId || !port.CompleteOpen(path, info))
        return false;
    opening.Keep();
    info.devicePath = path;
    info.openedForRead = 1;
    info.openedForWrite = 1;
    info.openedOverlapped = 1;
    info.openedExclusive = 0;
    return true;
}

void CloseHidDevice(IHidPort& port, HidDeviceInfo& info)
{
    port.Close(info); // the port releases the handle, descriptor data and buffers
    info.devicePath.clear();
}

bool ScanTouchScreens(IHidPort& port, std::vector<std::unique_ptr<TouchScreenRecord>>& found, std::size_t limit)
{
    if (!port.BeginScan())
        return false;
    bool reachedEnd = false;
    for (unsigned index = 0;; ++index) {
        if (found.size() >= limit) {
            reachedEnd = true;
            break;
        }
        std::wstring path;
        HidEnumStatus status = port.NextInterface(index, path);
        if (status == HidEnumStatus::NoMoreItems) {
            reachedEnd = true;
            break;
        }
        if (status == HidEnumStatus::Failed)
            break;

        HidDeviceInfo info;
        if (!OpenHidDevice(port, path, info))
            continue;
        auto record = std::make_unique<TouchScreenRecord>();
        record->hid = std::move(info);
        record->identity = record->hid.handle;
        record->interfacePath = path;
        unsigned error = 0;
        switch (port.ReadDeviceObjectName(record->deviceObjectName, error)) {
        case HidPropertyStatus::Ok:
            break;
        case HidPropertyStatus::NoMemory:
            std::printf("Insufficient memory.\n");
            record->deviceObjectName.clear();
            break;
        case HidPropertyStatus::Failed:
            std::printf("SetupDiGetDeviceRegistryProperty failed, Error: %d", static_cast<int>(error));
            record->deviceObjectName.clear();
            break;
        }
        record->openFlag = 1;
        found.push_back(std::move(record));
    }
    port.EndScan();
    return reachedEnd;
}
