#include "sim/SimHidPort.h"

#include "platform/WindowMessenger.h"

#include <algorithm>
#include <chrono>

namespace {
// Every virtual frame has one 100-byte report of each type.
constexpr std::uint16_t kReportLength = 100;
// What the HID class answers for a handle whose device has gone.
constexpr unsigned kDeviceNotConnected = 1167;
const wchar_t kHidClassGuid[] = L"{4d1e55b2-f16f-11cf-88cb-001111000030}";
} // namespace

CSimHidPort::CSimHidPort(SimScenario scenario, IWindowMessenger* messenger)
    : m_scenario(std::move(scenario)), m_messenger(messenger)
{
    bool timed = false;
    for (std::size_t i = 0; i < m_scenario.frames.size(); ++i) {
        const SimFrameSetup& setup = m_scenario.frames[i];
        m_frames.push_back(Frame{setup, std::make_shared<CSimFrame>(setup, static_cast<unsigned>(i)), {}, {}});
        timed = timed || setup.unplugAfterMs.has_value();
    }
    if (timed)
        m_timer = std::thread(&CSimHidPort::UnplugTimer, this);
}

CSimHidPort::~CSimHidPort()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_timerWake.notify_all();
    if (m_timer.joinable())
        m_timer.join();
}

void CSimHidPort::UnplugTimer()
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::pair<std::chrono::steady_clock::time_point, unsigned>> due;
    for (std::size_t i = 0; i < m_frames.size(); ++i)
        if (m_frames[i].setup.unplugAfterMs)
            due.emplace_back(start + std::chrono::milliseconds(*m_frames[i].setup.unplugAfterMs),
                             static_cast<unsigned>(i));
    std::sort(due.begin(), due.end());
    for (auto [when, index] : due) {
        std::unique_lock lock(m_mutex);
        if (m_timerWake.wait_until(lock, when, [this] { return m_closing; }))
            return;
        lock.unlock();
        Unplug(index);
    }
}

void CSimHidPort::Unplug(unsigned index)
{
    {
        std::lock_guard lock(m_mutex);
        if (index >= m_frames.size())
            return;
        m_frames[index].device->Unplug();
    }
    Notify(index, {kDbtDeviceRemoveComplete});
}

void CSimHidPort::RefuseRemoval(unsigned index) { Notify(index, {kDbtDeviceQueryRemove, kDbtDeviceQueryRemoveFailed}); }

void CSimHidPort::Notify(unsigned index, std::initializer_list<std::uintptr_t> events)
{
    std::vector<std::pair<WindowHandle, const DeviceBroadcastHandle*>> notices;
    {
        std::lock_guard lock(m_mutex);
        if (index >= m_frames.size())
            return;
        // The system tells each registered window about each open handle.
        for (const Frame::Listener& listener : m_frames[index].listeners) {
            DeviceBroadcastHandle& notice = m_broadcasts.emplace_back();
            notice.handle = listener.handle;
            notice.notification = listener.notification;
            notices.emplace_back(listener.window, &notice);
        }
    }
    if (m_messenger)
        for (std::uintptr_t event : events)
            for (auto [window, notice] : notices)
                m_messenger->Post(window, kWmDeviceChange, event, reinterpret_cast<std::intptr_t>(notice));
}

std::wstring CSimHidPort::PathOf(unsigned index)
{
    return L"\\\\?\\hid#vid_6615&pid_0001#sim&" + std::to_wstring(index) + L"#" + kHidClassGuid;
}

SeamResult CSimHidPort::BeginScan()
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
    const SimFrameSetup& setup = m_frames[static_cast<std::size_t>(m_lastIndex)].setup;
    if (setup.nameUnreadable) {
        errorCode = 13; // ERROR_INVALID_DATA
        return HidPropertyStatus::Failed;
    }
    name = setup.deviceObjectName;
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

SeamResult CSimHidPort::OpenForQuery(const std::wstring& path, HidDeviceInfo& info)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfPath(path);
    if (!frame || frame->setup.openFails)
        return false;
    info.handle = NewHandle();
    frame->openHandles.push_back(info.handle);
    info.attributes.size = 12;
    info.attributes.vendorId = frame->setup.vendorId;
    info.attributes.productId = frame->setup.productId;
    info.attributes.versionNumber = frame->setup.versionNumber;
    return true;
}

SeamResult CSimHidPort::CompleteOpen(const std::wstring& path, HidDeviceInfo& info)
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
        std::erase_if(frame->listeners, [&](const Frame::Listener& l) { return l.handle == info.handle; });
    }
    info.handle = kInvalidDeviceHandle;
    info.preparsedData = nullptr;
    for (HidReportTypeInfo& report : info.reports)
        report = HidReportTypeInfo{};
}

NotificationHandle CSimHidPort::RegisterHandleNotification(WindowHandle window, DeviceHandle handle)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfHandle(handle);
    if (!frame || frame->setup.notificationFails)
        return nullptr;
    NotificationHandle notification = reinterpret_cast<NotificationHandle>(m_nextNotification);
    m_nextNotification += 4;
    frame->listeners.push_back({handle, window, notification});
    return notification;
}

std::shared_ptr<CSimFrame> CSimHidPort::DeviceOf(DeviceHandle handle)
{
    std::lock_guard lock(m_mutex);
    Frame* frame = FrameOfHandle(handle);
    return frame ? frame->device : nullptr;
}

SeamResult CSimHidPort::SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length)
{
    auto device = DeviceOf(handle);
    if (!device || !device->ReceiveOutput(report, length))
        return SeamResult::Failed("HidD_SetOutputReport", kDeviceNotConnected);
    return {};
}

SeamResult CSimHidPort::SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length)
{
    auto device = DeviceOf(handle);
    if (!device || !device->ReceiveFeature(report, length))
        return SeamResult::Failed("HidD_SetFeature", kDeviceNotConnected);
    return {};
}

std::unique_ptr<IHidPendingRead> CSimHidPort::StartRead(DeviceHandle handle, std::uint8_t* buffer, std::size_t length)
{
    auto device = DeviceOf(handle);
    return device ? device->StartRead(buffer, length) : nullptr;
}

NotificationHandle CSimHidPort::RegisterInterfaceNotification(WindowHandle)
{
    std::lock_guard lock(m_mutex);
    NotificationHandle notification = reinterpret_cast<NotificationHandle>(m_nextNotification);
    m_nextNotification += 4;
    return notification;
}

void CSimHidPort::UnregisterNotification(NotificationHandle notification)
{
    std::lock_guard lock(m_mutex);
    for (Frame& frame : m_frames)
        std::erase_if(frame.listeners, [&](const Frame::Listener& l) { return l.notification == notification; });
}

unsigned CSimHidPort::OpenHandleCount() const
{
    std::lock_guard lock(m_mutex);
    unsigned n = 0;
    for (const Frame& frame : m_frames)
        n += static_cast<unsigned>(frame.openHandles.size());
    return n;
}
