#pragma once
// Seam: the system's HID interfaces (or the virtual touchscreens standing in
// for them). The acceptance rules live in portable code (device/HidScan);
// the port only performs the system calls.

#include "platform/HidDeviceInfo.h"
#include "platform/SeamResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class HidEnumStatus { Found, NoMoreItems, Failed };
enum class HidPropertyStatus { Ok, NoMemory, Failed };

enum class HidWaitResult { Completed, TimedOut, Failed };

// An overlapped input-report read in progress. Destroying it cancels a read
// still pending and waits for the cancellation, so that the caller's buffer
// may be released right after.
class IHidPendingRead {
public:
    virtual ~IHidPendingRead() = default;
    // Waits at most this long; Completed fills bytesRead. A read that timed
    // out stays pending and may be waited for again.
    virtual HidWaitResult Wait(unsigned milliseconds, std::size_t& bytesRead) = 0;
};

class IHidPort {
public:
    virtual ~IHidPort() = default;

    // Enumeration of the present HID interfaces. BeginScan fails when the
    // interface set cannot be created; EndScan releases it.
    virtual SeamResult BeginScan() = 0;
    virtual HidEnumStatus NextInterface(unsigned index, std::wstring& path) = 0;
    // The physical-device-object name of the interface NextInterface found last.
    virtual HidPropertyStatus ReadDeviceObjectName(std::wstring& name, unsigned& errorCode) = 0;
    virtual void EndScan() = 0;

    // First half of opening: a handle for queries, the descriptor data and the
    // attributes. A failure means rejected, with nothing held.
    virtual SeamResult OpenForQuery(const std::wstring& path, HidDeviceInfo& info) = 0;
    // Second half: capabilities, the three report types, and the overlapped
    // handle that is kept. A failure means rejected; the caller then closes.
    virtual SeamResult CompleteOpen(const std::wstring& path, HidDeviceInfo& info) = 0;
    // Releases everything the info holds; safe on a partly filled info.
    virtual void Close(HidDeviceInfo& info) = 0;

    // Report I/O on an open (overlapped) handle.
    virtual SeamResult SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) = 0;
    virtual SeamResult SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) = 0;
    // Starts reading one input report into the buffer, which must outlive the
    // returned read. Null when the read cannot be started.
    virtual std::unique_ptr<IHidPendingRead> StartRead(DeviceHandle handle, std::uint8_t* buffer,
                                                       std::size_t length) = 0;

    // Device-change notifications for one open handle, and for the arrival
    // of any HID interface. Null when registration failed.
    virtual NotificationHandle RegisterHandleNotification(WindowHandle window, DeviceHandle handle) = 0;
    virtual NotificationHandle RegisterInterfaceNotification(WindowHandle window) = 0;
    virtual void UnregisterNotification(NotificationHandle notification) = 0;
};
