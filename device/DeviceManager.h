#pragma once
// The one process-wide table of attached touchscreens, the monitors and the
// per-slot mapping entries. Touchscreens are named by slot everywhere; live
// records occupy slots 0 .. count - 1 without gaps. One mutex guards the
// table; callbacks given to the With* functions run under it and must be short.

#include "device/TouchScreenRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class IHidPort;
class IMonitorSource;
class IWindowMessenger;

constexpr unsigned kMaxTouchScreens = 64;
constexpr unsigned kMaxMonitors = 64;

struct MonitorEntry {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t index = 0; // position in enumeration order, 0-based
    // Quarter turns of the picture against the monitor's own orientation,
    // counter-clockwise (DMDO_DEFAULT 0 to DMDO_270 3): a portrait kiosk is 1 or 3.
    std::int32_t orientation = 0;
};

struct MappingEntry {
    DeviceHandle deviceHandle = nullptr;
    std::int32_t monitorNumber = -1;
    std::int32_t touchScreenNumber = -1;
    bool operator==(const MappingEntry&) const = default;
};

// What RemoveComplete did, for the main dialog's follow-up.
struct RemovalResult {
    unsigned slot = 0; // the slot the touchscreen had
    unsigned remainingCount = 0;
};

class CDeviceManager {
public:
    // Scans the touchscreens and enumerates the monitors once.
    CDeviceManager(IHidPort& hid, IMonitorSource& monitors, IWindowMessenger& messenger);
    ~CDeviceManager();
    CDeviceManager(const CDeviceManager&) = delete;
    CDeviceManager& operator=(const CDeviceManager&) = delete;

    unsigned Count() const;
    // True when the scan reached the end of the interface list.
    bool ScanCompleted() const { return m_scanCompleted; }

    // Runs f(record) under the lock when the slot is live; false otherwise.
    template <class F> bool WithRecord(unsigned slot, F&& f)
    {
        std::lock_guard lock(m_mutex);
        if (slot >= m_count || !m_slots[slot])
            return false;
        f(*m_slots[slot]);
        return true;
    }
    // As WithRecord, but only while the slot still holds the touchscreen of
    // that handle: a write for a touchscreen removed meanwhile is dropped.
    template <class F> bool WithRecord(unsigned slot, DeviceHandle handle, F&& f)
    {
        return WithRecordAndMapping(slot, handle, [&](TouchScreenRecord& record, MappingEntry&) { f(record); });
    }
    // Runs f(record) under the lock for the touchscreen of that identity,
    // wherever it is now; its slot, or nothing when it is gone.
    template <class F> std::optional<unsigned> WithRecordOf(DeviceHandle identity, F&& f)
    {
        std::lock_guard lock(m_mutex);
        auto slot = FindSlotLocked(identity);
        if (slot)
            f(*m_slots[*slot]);
        return slot;
    }
    // As WithRecord by handle, with the slot's mapping entry too: f(record, mapping).
    template <class F> bool WithRecordAndMapping(unsigned slot, DeviceHandle handle, F&& f)
    {
        std::lock_guard lock(m_mutex);
        if (slot >= m_count || !m_slots[slot] || m_slots[slot]->identity != handle)
            return false;
        f(*m_slots[slot], m_mapping[slot]);
        return true;
    }
    // The HID handle of a slot; the invalid handle when the slot is empty.
    DeviceHandle HandleOf(unsigned slot) const;
    // The identities of the touchscreens in slot order: a job that goes
    // through them all finds each one again by FindSlot, wherever unplugging
    // moved it.
    std::vector<DeviceHandle> Identities() const;
    // The slot of the touchscreen with this handle (its identity).
    std::optional<unsigned> FindSlot(DeviceHandle handle) const;

    MappingEntry Mapping(unsigned slot) const;
    void SetMapping(unsigned slot, const MappingEntry& entry);

    std::vector<MonitorEntry> Monitors() const;
    unsigned MonitorCount() const;
    // Enumerates the monitors again; entries are numbered anew from 0.
    void RefreshMonitors();

    // Registers a device-handle notification per touchscreen, addressed to
    // the window; a touchscreen whose registration fails is closed and dropped.
    void RegisterNotifications(WindowHandle window);
    // Query-remove: closes the touchscreen's device; the record stays listed.
    void QueryRemove(DeviceHandle handle);
    // The removal was refused after all: the closed touchscreen is opened
    // again and its notification registered anew for the window; its new
    // handle becomes its identity. Gives the old notification, for the
    // window to unregister; nothing when no closed record has the handle or
    // it cannot be opened again (it then stays listed, closed).
    std::optional<NotificationHandle> QueryRemoveFailed(DeviceHandle handle, WindowHandle window);
    // Remove-complete: drops the record, announces the removal to the
    // program's own top-level windows (device/RemovalNotice.h), ends the
    // program when none is left, and moves the later slots down. Nothing
    // when no record has the handle.
    std::optional<RemovalResult> RemoveComplete(DeviceHandle handle);

private:
    std::optional<unsigned> FindSlotLocked(DeviceHandle handle) const;
    void RemoveSlotLocked(unsigned slot);
    void EnumerateMonitorsLocked();

    IHidPort& m_hid;
    IMonitorSource& m_monitorSource;
    IWindowMessenger& m_messenger;

    mutable std::mutex m_mutex;
    std::array<std::unique_ptr<TouchScreenRecord>, kMaxTouchScreens> m_slots;
    unsigned m_count = 0;
    std::array<MonitorEntry, kMaxMonitors> m_monitors{};
    unsigned m_monitorCount = 0;
    std::array<MappingEntry, kMaxTouchScreens> m_mapping{};
    bool m_scanCompleted = false;
};

// The process-wide manager over the platform's seams, created on first use
// and never destroyed.
CDeviceManager& GetDeviceManager();
