#pragma once
// The HID interfaces through SetupDi, HidD, HidP and overlapped reads (Windows build only).

#include "platform/HidPort.h"

#include <windows.h>

class CWin32HidPort : public IHidPort {
public:
    ~CWin32HidPort() override;
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

private:
    void* m_deviceSet = nullptr;                 // HDEVINFO of the running scan
    std::vector<unsigned char> m_deviceInfoData; // SP_DEVINFO_DATA of the last interface found
};

// An overlapped read of any file handle opened with FILE_FLAG_OVERLAPPED
// (the HID seam's read; tests use it on a named pipe). Null when it cannot start.
std::unique_ptr<IHidPendingRead> StartOverlappedRead(HANDLE file, std::uint8_t* buffer, std::size_t length);
