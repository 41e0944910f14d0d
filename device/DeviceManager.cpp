#include "device/DeviceManager.h"

#include "device/HidScan.h"
#include "device/RemovalNotice.h"
#include "platform/HidPort.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/Platform.h"
#include "platform/WindowMessenger.h"

CDeviceManager::CDeviceManager(IHidPort& hid, IMonitorSource& monitors, IWindowMessenger& messenger)
    : m_hid(hid), m_monitorSource(monitors), m_messenger(messenger)
{
    std::vector<std::unique_ptr<TouchScreenRecord>> found;
    m_scanCompleted = ScanTouchScreens(m_hid, found, kMaxTouchScreens);
    std::lock_guard lock(m_mutex);
    for (auto& record : found)
        m_slots[m_count++] = std::move(record);
    EnumerateMonitorsLocked();
}

CDeviceManager::~CDeviceManager()
{
    std::lock_guard lock(m_mutex);
    for (unsigned i = 0; i < m_count; ++i)
        if (m_slots[i] && m_slots[i]->openFlag)
            CloseHidDevice(m_hid, m_slots[i]->hid);
}

unsigned CDeviceManager::Count() const
{
    std::lock_guard lock(m_mutex);
    return m_count;
}

DeviceHandle CDeviceManager::HandleOf(unsigned slot) const
{
    std::lock_guard lock(m_mutex);
    if (slot >= m_count || !m_slots[slot])
        return kInvalidDeviceHandle;
    return m_slots[slot]->hid.handle;
}

std::vector<DeviceHandle> CDeviceManager::Identities() const
{
    std::lock_guard lock(m_mutex);
    std::vector<DeviceHandle> identities;
    for (unsigned i = 0; i < m_count; ++i)
        identities.push_back(m_slots[i]->identity);
    return identities;
}

std::optional<unsigned> CDeviceManager::FindSlotLocked(DeviceHandle handle) const
{
    for (unsigned i = 0; i < m_count; ++i)
        if (m_slots[i] && m_slots[i]->identity == handle)
            return i;
    return std::nullopt;
}

std::optional<unsigned> CDeviceManager::FindSlot(DeviceHandle handle) const
{
    std::lock_guard lock(m_mutex);
    return FindSlotLocked(handle);
}

MappingEntry CDeviceManager::Mapping(unsigned slot) const
{
    std::lock_guard lock(m_mutex);
    return slot < kMaxTouchScreens ? m_mapping[slot] : MappingEntry{};
}

void CDeviceManager::SetMapping(unsigned slot, const MappingEntry& entry)
{
    std::lock_guard lock(m_mutex);
    if (slot < kMaxTouchScreens)
        m_mapping[slot] = entry;
}

std::vector<MonitorEntry> CDeviceManager::Monitors() const
{
    std::lock_guard lock(m_mutex);
    return std::vector<MonitorEntry>(m_monitors.begin(), m_monitors.begin() + m_monitorCount);
}

unsigned CDeviceManager::MonitorCount() const
{
    std::lock_guard lock(m_mutex);
    return m_monitorCount;
}

void CDeviceManager::EnumerateMonitorsLocked()
{
    m_monitorCount = 0;
    for (const MonitorRect& rect : m_monitorSource.Enumerate()) {
        if (m_monitorCount >= kMaxMonitors)
            break;
        m_monitors[m_monitorCount] = MonitorEntry{
            rect.left, rect.top, rect.right, rect.bottom, static_cast<std::int32_t>(m_monitorCount), rect.orientation};
        ++m_monitorCount;
    }
}

void CDeviceManager::RefreshMonitors()
{
    std::lock_guard lock(m_mutex);
    EnumerateMonitorsLocked();
}

void CDeviceManager::RemoveSlotLocked(unsigned slot)
{
    for (unsigned j = slot; j + 1 < m_count; ++j)
        m_slots[j] = std::move(m_slots[j + 1]);
    --m_count;
    m_slots[m_count].reset();
}

void CDeviceManager::RegisterNotifications(WindowHandle window)
{
    std::lock_guard lock(m_mutex);
    unsigned slot = 0;
    for (unsigned n = m_count, i = 0; i < n; ++i) {
        TouchScreenRecord& record = *m_slots[slot];
        NotificationHandle notification = m_hid.RegisterHandleNotification(window, record.hid.handle);
        if (notification) {
            record.notification = notification;
            record.openFlag = 1;
            ++slot;
        } else {
            CloseHidDevice(m_hid, record.hid);
            RemoveSlotLocked(slot);
        }
    }
}

void CDeviceManager::QueryRemove(DeviceHandle handle)
{
    std::lock_guard lock(m_mutex);
    auto slot = FindSlotLocked(handle);
    if (!slot)
        return;
    TouchScreenRecord& record = *m_slots[*slot];
    if (record.openFlag)
        CloseHidDevice(m_hid, record.hid);
    record.openFlag = 0;
}

std::optional<NotificationHandle> CDeviceManager::QueryRemoveFailed(DeviceHandle handle, WindowHandle window)
{
    std::lock_guard lock(m_mutex);
    auto slot = FindSlotLocked(handle);
    if (!slot)
        return std::nullopt;
    TouchScreenRecord& record = *m_slots[*slot];
    if (record.openFlag)
        return std::nullopt; // it was never closed
    HidDeviceInfo info;
    if (!OpenHidDevice(m_hid, record.interfacePath, info))
        return std::nullopt;
    NotificationHandle notification = m_hid.RegisterHandleNotification(window, info.handle);
    if (!notification) {
        // Unwatched, a later unplug would go unnoticed: it stays closed.
        CloseHidDevice(m_hid, info);
        return std::nullopt;
    }
    const NotificationHandle old = record.notification;
    record.hid = std::move(info);
    record.identity = record.hid.handle; // the notifications name the new handle
    record.notification = notification;
    record.openFlag = 1;
    if (m_mapping[*slot].deviceHandle)
        m_mapping[*slot].deviceHandle = record.hid.handle;
    return old;
}

std::optional<RemovalResult> CDeviceManager::RemoveComplete(DeviceHandle handle)
{
    RemovalResult result;
    {
        std::lock_guard lock(m_mutex);
        auto slot = FindSlotLocked(handle);
        if (!slot)
            return std::nullopt;
        const unsigned i = *slot;
        result.slot = i;
        if (m_slots[i]->openFlag)
            CloseHidDevice(m_hid, m_slots[i]->hid);
        m_slots[i].reset();
        m_mapping[i].monitorNumber = -1;
        // Close the gap: later records move down one slot with their monitors.
        for (unsigned j = i + 1; j < kMaxTouchScreens && m_slots[j]; ++j) {
            m_slots[j - 1] = std::move(m_slots[j]);
            m_mapping[j - 1] =
                MappingEntry{m_slots[j - 1]->hid.handle, m_mapping[j].monitorNumber, static_cast<std::int32_t>(j - 1)};
            m_mapping[j] = MappingEntry{};
        }
        --m_count;
        result.remainingCount = m_count;
    }
    m_messenger.PostToOwnWindows(WM_TOUCHSCREEN_REMOVED, RemovalNoticeKey(), static_cast<std::intptr_t>(result.slot));
    if (result.remainingCount == 0)
        m_messenger.PostQuit(0);
    return result;
}

CDeviceManager& GetDeviceManager()
{
    static CDeviceManager* manager = [] {
        const PlatformServices& platform = GetPlatform();
        return new CDeviceManager(*platform.hid, *platform.monitors, *platform.messenger);
    }();
    return *manager;
}
