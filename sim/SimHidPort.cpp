#include "sim/SimHidPort.h"

#include <algorithm>

namespace {
// Every virtual frame has one 100-byte report of each type.
constexpr std::uint16_t kReportLength = 100;
const wchar_t kHidClassGuid[] = L"{4d1e55b2-f16f-11cf-88cb-001111000030}";
} // namespace

CSimHidPort::CSimHidPort(SimScenario scenario) : m_scenario(std::move(scenario))
{
    for (const SimFrameSpec& spec : m_scenario.frames)
        m_frames.push_back(Frame{spec, {}});
}

std::wstring CSimHidPort::PathOf(unsigned index)
{
    return L"\\\\?\\hid#vid_6615&pid_0001#sim&" + std::to_wstring(index) + L"#" + kHidClassGuid;
}

bool CSimHidPort::BeginScan()
{
    std::lock_guard lock(m_mutex);
    m_scanning = true;
    m_lastIndex = -1;
    return true;
}

HidEnumStatus CSimHidPort::NextInterface(unsigned index, std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    if (!m_scanning)
        return HidEnumStatus::Failed;
    if (m_scenario.enumerationFailsAt && index >= *m_scenario.enumerationFailsAt)
        return HidEnumStatus::Failed;
    if (index >= m_frames.size())
        return HidEnumStatus::NoMoreItems;
    m_lastIndex = static_cast<int>(index);
    path = PathOf(index);
    return HidEnumStatus::Found;
}

HidPropertyStatus CSimHidPort::ReadDeviceObjectName(std::wstring& name, unsigned& errorCode)
{
    std::lock_guard lock(m_mutex);
    if (m_lastIndex < 0)
        return HidPropertyStatus::Failed;
    const SimFrameSpec& spec = m_frames[static_cast<std::size_t>(m_lastIndex)].spec;
    if (spec.nameUnreadable) {
        errorCode = 13; // ERROR_INVALID_DATA
        return HidPropertyStatus::Failed;
    }
    name = spec.deviceObjectName;
    return HidPropertyStatus::Ok;
}

void CSimHidPort::EndScan()
{
    std::lock_guard lock(m_mutex);
    m_scanning = false;
    m_lastIndex = -1;
}

CSimHidPort::Frame* CSimHidPort::FrameOfPath(const std::wstring& path)
{
    for (std::size_t i = 0; i < m_frames.size(); ++i)
        if (PathOf(static_cast<unsigned>(i)) == path)
            return &m_frames[i];
    return nullptr;
}

CSimHidPort::Frame* CSimHidPort::FrameOfHandle(DeviceHandle handle)
{
    for (Frame& frame : m_frames)
        if (std::find(frame.openHandles.begin(), frame.openHandles.end(), handle) != frame.openHandles.end())
            return &frame;
    return nullptr;
}

DeviceHandle CSimHidPort::NewHandle()
{
    DeviceHandle handle = reinterpret_cast<DeviceHandle>(m_nextHandle);
    m_nextHandle += 4;
    return handle;
}

bool CSimHidPort::OpenForQuery(const std::wstring& path, HidDeviceInfo& info)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfPath(path);
    if (!frame || frame->spec.openFails)
        return false;
    info.handle = NewHandle();
    frame->openHandles.push_back(info.handle);
    info.attributes.size = 12;
    info.attributes.vendorId = frame->spec.vendorId;
    info.attributes.productId = frame->spec.productId;
    info.attributes.versionNumber = frame->spec.versionNumber;
    return true;
}

bool CSimHidPort::CompleteOpen(const std::wstring& path, HidDeviceInfo& info)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfHandle(info.handle);
    if (!frame)
        return false;
    info.capabilities.usage = 0x04;
    info.capabilities.usagePage = 0x0D;
    info.capabilities.inputReportByteLength = kReportLength;
    info.capabilities.outputReportByteLength = kReportLength;
    info.capabilities.featureReportByteLength = kReportLength;
    for (HidReportTypeInfo& report : info.reports)
        report.reportBuffer.assign(kReportLength, 0);
    // The query handle is replaced by the overlapped one that is kept.
    auto& handles = frame->openHandles;
    handles.erase(std::find(handles.begin(), handles.end(), info.handle));
    info.handle = NewHandle();
    handles.push_back(info.handle);
    return true;
}

void CSimHidPort::Close(HidDeviceInfo& info)
{
    std::lock_guard lock(m_mutex);
    if (Frame* frame = FrameOfHandle(info.handle)) {
        auto& handles = frame->openHandles;
        handles.erase(std::find(handles.begin(), handles.end(), info.handle));
    }
    info.handle = kInvalidDeviceHandle;
    info.preparsedData = nullptr;
    for (HidReportTypeInfo& report : info.reports)
        report = HidReportTypeInfo{};
}

NotificationHandle CSimHidPort::RegisterHandleNotification(WindowHandle, DeviceHandle handle)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfHandle(handle);
    if (!frame || frame->spec.notificationFails)
        return nullptr;
    NotificationHandle notification = reinterpret_cast<NotificationHandle>(m_nextNotification);
    m_nextNotification += 4;
    return notification;
}

NotificationHandle CSimHidPort::RegisterInterfaceNotification(WindowHandle)
{
    std::lock_guard lock(m_mutex);
    NotificationHandle notification = reinterpret_cast<NotificationHandle>(m_nextNotification);
    m_nextNotification += 4;
    return notification;
}

void CSimHidPort::UnregisterNotification(NotificationHandle) {}

unsigned CSimHidPort::OpenHandleCount() const
{
    std::lock_guard lock(m_mutex);
    unsigned n = 0;
    for (const Frame& frame : m_frames)
        n += static_cast<unsigned>(frame.openHandles.size());
    return n;
}
