#pragma once
// The Win32 implementations of the seams (Windows build only).

#include "platform/Console.h"
#include "platform/HidPort.h"
#include "platform/Monitors.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"

#include <windows.h>

class CWin32Profile : public IProfile {
public:
    std::wstring GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                           std::wstring_view defaultValue) override;
    bool WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) override;
    std::vector<std::wstring> GetSectionNames(const std::wstring& file) override;
    std::optional<ProfileEntries> GetSection(const std::wstring& file, std::wstring_view section) override;
    ProfileFileStatus CheckFile(const std::wstring& file) override;
};

class CWin32Registry : public IRegistry {
public:
    bool KeyExists(RegistryRoot root, const std::wstring& path) override;
    bool CreateKey(RegistryRoot root, const std::wstring& path) override;
    unsigned CreateKeyCode(RegistryRoot root, const std::wstring& path) override;
    std::optional<std::uint32_t> GetDword(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    bool SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name, std::uint32_t value) override;
    std::vector<std::optional<std::uint32_t>> GetDwords(RegistryRoot root, const std::wstring& path,
                                                        const std::vector<std::wstring>& names) override;
    bool SetDwords(RegistryRoot root, const std::wstring& path,
                   const std::vector<std::pair<std::wstring, std::uint32_t>>& values) override;
    std::optional<std::wstring> GetString(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    bool SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& value) override;
    std::vector<std::wstring> GetSubkeys(RegistryRoot root, const std::wstring& path) override;
};

class CWin32Console : public IConsole {
public:
    void Attach() override;
    void SetTitle(std::wstring_view title) override;
    bool IsConsole() override;
    void SetCursorPosition(int column, int row) override;
    void Clear() override;
    void Write(std::string_view text) override;

private:
    HANDLE m_output = nullptr;
};

class CWin32Monitors : public IMonitorSource {
public:
    std::vector<MonitorRect> Enumerate() override;
};

class CWin32Messenger : public IWindowMessenger {
public:
    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Broadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostQuit(int exitCode) override;
};

class CWin32System : public ISystem {
public:
    unsigned DefaultLanguageId() override;
    std::wstring ProgramFolder() override;
    void Sleep(unsigned milliseconds) override;
    void RaiseCurrentThreadPriority() override;
};

class CWin32HidPort : public IHidPort {
public:
    ~CWin32HidPort() override;
    bool BeginScan() override;
    HidEnumStatus NextInterface(unsigned index, std::wstring& path) override;
    HidPropertyStatus ReadDeviceObjectName(std::wstring& name, unsigned& errorCode) override;
    void EndScan() override;

    bool OpenForQuery(const std::wstring& path, HidDeviceInfo& info) override;
    bool CompleteOpen(const std::wstring& path, HidDeviceInfo& info) override;
    void Close(HidDeviceInfo& info) override;

    bool SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override;
    bool SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override;
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

// The full path of the running executable.
std::wstring ModulePath(HMODULE module);

// The process's current directory, however long.
std::wstring CurrentDirectory();

// A file or section name as the console face prints it: in the ANSI code page.
std::string ToConsoleText(std::wstring_view text);
