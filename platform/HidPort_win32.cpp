#include "platform/HidPort_win32.h"

#include "platform/DeviceBroadcast.h"
#include "platform/UniqueHandle_win32.h"

#include <cstddef>
#include <dbt.h>
#include <setupapi.h>
#include <utility>

// The HID headers need this order: base types, usages, parser, class driver.
// clang-format off
#include <ntdef.h>
extern "C" {
#include <hidusage.h>
#include <hidpi.h>
#include <hidsdi.h>
}
// clang-format on

namespace {

GUID HidGuid()
{
    GUID guid;
    HidD_GetHidGuid(&guid);
    return guid;
}

// The call that just failed, with the thread's error code.
SeamResult LastError(const char* call) { return SeamResult::Failed(call, GetLastError()); }

// A HID parser call's status: anything but success names the call.
SeamResult ParserStatus(const char* call, NTSTATUS status)
{
    return status == HIDP_STATUS_SUCCESS ? SeamResult() : SeamResult::Failed(call, static_cast<unsigned>(status));
}

HANDLE OpenPath(const std::wstring& path, DWORD flags)
{
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, flags, nullptr);
}

// Fills one report type's buffer, capability arrays and data entries. A
// capability read the parser refuses fails the whole: its counts and
// arrays would describe nothing.
SeamResult FillReportType(HIDP_REPORT_TYPE type, USHORT reportLength, USHORT buttonCount, USHORT valueCount,
                          PHIDP_PREPARSED_DATA preparsed, HidReportTypeInfo& report)
{
    report.reportBuffer.assign(reportLength, 0);

    report.buttonCaps.assign(std::size_t(buttonCount) * sizeof(HIDP_BUTTON_CAPS), std::byte{0});
    auto* buttons = reinterpret_cast<HIDP_BUTTON_CAPS*>(report.buttonCaps.data());
    USHORT buttonsRead = buttonCount;
    if (buttonCount)
        if (SeamResult read = ParserStatus("HidP_GetSpecificButtonCaps",
                                           HidP_GetSpecificButtonCaps(type, 0, 0, 0, buttons, &buttonsRead, preparsed));
            !read)
            return read;
    report.buttonCapCount = buttonsRead;

    report.valueCaps.assign(std::size_t(valueCount) * sizeof(HIDP_VALUE_CAPS), std::byte{0});
    auto* values = reinterpret_cast<HIDP_VALUE_CAPS*>(report.valueCaps.data());
    USHORT valuesRead = valueCount;
    if (valueCount)
        if (SeamResult read = ParserStatus("HidP_GetSpecificValueCaps",
                                           HidP_GetSpecificValueCaps(type, 0, 0, 0, values, &valuesRead, preparsed));
            !read)
            return read;
    report.valueCapCount = valuesRead;

    for (USHORT i = 0; i < buttonsRead; ++i) {
        const HIDP_BUTTON_CAPS& caps = buttons[i];
        HidDataEntry entry;
        entry.isButton = true;
        entry.usagePage = caps.UsagePage;
        entry.reportId = caps.ReportID;
        entry.usageMin = caps.IsRange ? caps.Range.UsageMin : caps.NotRange.Usage;
        entry.usageMax = caps.IsRange ? caps.Range.UsageMax : caps.NotRange.Usage;
        entry.maxUsageListLength = HidP_MaxUsageListLength(type, caps.UsagePage, preparsed);
        entry.usages.assign(entry.maxUsageListLength, 0);
        report.dataEntries.push_back(std::move(entry));
    }
    for (USHORT i = 0; i < valuesRead; ++i) {
        const HIDP_VALUE_CAPS& caps = values[i];
        USHORT first = caps.IsRange ? caps.Range.UsageMin : caps.NotRange.Usage;
        USHORT last = caps.IsRange ? caps.Range.UsageMax : caps.NotRange.Usage;
        for (unsigned usage = first; usage <= last; ++usage) {
            HidDataEntry entry;
            entry.usagePage = caps.UsagePage;
            entry.reportId = caps.ReportID;
            entry.usage = static_cast<std::uint16_t>(usage);
            report.dataEntries.push_back(std::move(entry));
        }
    }
    report.dataEntryCount = static_cast<std::uint32_t>(report.dataEntries.size());
    return {};
}

// An overlapped ReadFile waited for through its event.
class CWin32PendingRead : public IHidPendingRead {
public:
    CWin32PendingRead(HANDLE file, std::uint8_t* buffer, std::size_t length) : m_file(file)
    {
        m_event = CUniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        m_overlapped.hEvent = m_event.Get();
        if (!m_event.Valid()) {
            m_state = State::Failed;
            return;
        }
        if (!ReadFile(file, buffer, static_cast<DWORD>(length), nullptr, &m_overlapped) &&
            GetLastError() != ERROR_IO_PENDING) {
            m_state = State::Failed; // nothing is in flight
            return;
        }
        m_state = State::Pending;
    }
    ~CWin32PendingRead() override
    {
        if (m_state == State::Pending) {
            // The read must be over before its buffer and event go.
            DWORD bytes = 0;
            CancelIoEx(m_file, &m_overlapped);
            GetOverlappedResult(m_file, &m_overlapped, &bytes, TRUE);
        }
    }
    bool Started() const { return m_state != State::Failed; }

    HidWaitResult Wait(unsigned milliseconds, std::size_t& bytesRead) override
    {
        if (m_state == State::Failed)
            return HidWaitResult::Failed;
        if (m_state == State::Pending) {
            DWORD wait = WaitForSingleObject(m_overlapped.hEvent, milliseconds);
            if (wait == WAIT_TIMEOUT)
                return HidWaitResult::TimedOut;
            DWORD bytes = 0;
            bool ok = wait == WAIT_OBJECT_0 && GetOverlappedResult(m_file, &m_overlapped, &bytes, FALSE);
            m_state = ok ? State::Done : State::Failed;
            m_bytes = bytes;
            if (!ok)
                return HidWaitResult::Failed;
        }
        bytesRead = m_bytes;
        return HidWaitResult::Completed;
    }

private:
    enum class State { Pending, Done, Failed };
    HANDLE m_file;
    CUniqueHandle m_event; // closed after the destructor's body waited for the read
    OVERLAPPED m_overlapped{};
    State m_state = State::Failed;
    DWORD m_bytes = 0;
};

} // namespace

std::unique_ptr<IHidPendingRead> StartOverlappedRead(HANDLE file, std::uint8_t* buffer, std::size_t length)
{
    auto read = std::make_unique<CWin32PendingRead>(file, buffer, length);
    if (!read->Started())
        return nullptr;
    return read;
}

SeamResult CWin32HidPort::SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length)
{
    std::vector<std::uint8_t> copy(report, report + length);
    if (!HidD_SetOutputReport(static_cast<HANDLE>(handle), copy.data(), static_cast<ULONG>(copy.size())))
        return LastError("HidD_SetOutputReport");
    return {};
}

SeamResult CWin32HidPort::SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length)
{
    std::vector<std::uint8_t> copy(report, report + length);
    if (!HidD_SetFeature(static_cast<HANDLE>(handle), copy.data(), static_cast<ULONG>(copy.size())))
        return LastError("HidD_SetFeature");
    return {};
}

std::unique_ptr<IHidPendingRead> CWin32HidPort::StartRead(DeviceHandle handle, std::uint8_t* buffer, std::size_t length)
{
    return StartOverlappedRead(static_cast<HANDLE>(handle), buffer, length);
}

CWin32HidPort::~CWin32HidPort() { EndScan(); }

SeamResult CWin32HidPort::BeginScan()
{
    EndScan();
    GUID guid = HidGuid();
    HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return LastError("SetupDiGetClassDevsW");
    m_deviceSet = set;
    return {};
}

HidEnumStatus CWin32HidPort::NextInterface(unsigned index, std::wstring& path)
{
    if (!m_deviceSet)
        return HidEnumStatus::Failed;
    GUID guid = HidGuid();
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    if (!SetupDiEnumDeviceInterfaces(m_deviceSet, nullptr, &guid, index, &interfaceData))
        return GetLastError() == ERROR_NO_MORE_ITEMS ? HidEnumStatus::NoMoreItems : HidEnumStatus::Failed;

    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailW(m_deviceSet, &interfaceData, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return HidEnumStatus::Failed;
    std::vector<unsigned char> buffer(required, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    m_deviceInfoData.assign(sizeof(SP_DEVINFO_DATA), 0);
    auto* deviceInfo = reinterpret_cast<SP_DEVINFO_DATA*>(m_deviceInfoData.data());
    deviceInfo->cbSize = sizeof(SP_DEVINFO_DATA);
    if (!SetupDiGetDeviceInterfaceDetailW(m_deviceSet, &interfaceData, detail, required, nullptr, deviceInfo))
        return HidEnumStatus::Failed;
    path = detail->DevicePath;
    return HidEnumStatus::Found;
}

HidPropertyStatus CWin32HidPort::ReadDeviceObjectName(std::wstring& name, unsigned& errorCode)
{
    if (!m_deviceSet || m_deviceInfoData.empty())
        return HidPropertyStatus::Failed;
    auto* deviceInfo = reinterpret_cast<SP_DEVINFO_DATA*>(m_deviceInfoData.data());
    DWORD size = 0;
    SetupDiGetDeviceRegistryPropertyW(m_deviceSet, deviceInfo, SPDRP_PHYSICAL_DEVICE_OBJECT_NAME, nullptr, nullptr, 0,
                                      &size);
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (!SetupDiGetDeviceRegistryPropertyW(m_deviceSet, deviceInfo, SPDRP_PHYSICAL_DEVICE_OBJECT_NAME, nullptr,
                                           reinterpret_cast<BYTE*>(buffer.data()), size, nullptr)) {
        errorCode = GetLastError();
        return HidPropertyStatus::Failed;
    }
    name = buffer.data();
    return HidPropertyStatus::Ok;
}

void CWin32HidPort::EndScan()
{
    if (m_deviceSet)
        SetupDiDestroyDeviceInfoList(m_deviceSet);
    m_deviceSet = nullptr;
    m_deviceInfoData.clear();
}

SeamResult CWin32HidPort::OpenForQuery(const std::wstring& path, HidDeviceInfo& info)
{
    CUniqueHandle handle(OpenPath(path, 0));
    if (!handle.Valid())
        return LastError("CreateFileW");
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(handle.Get(), &preparsed))
        return LastError("HidD_GetPreparsedData");
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(handle.Get(), &attributes)) {
        const SeamResult failed = LastError("HidD_GetAttributes");
        HidD_FreePreparsedData(preparsed);
        return failed;
    }
    info.handle = handle.Release();
    info.preparsedData = preparsed;
    info.attributes = HidAttributes{static_cast<std::uint32_t>(attributes.Size), attributes.VendorID,
                                    attributes.ProductID, attributes.VersionNumber};
    return {};
}

SeamResult CWin32HidPort::CompleteOpen(const std::wstring& path, HidDeviceInfo& info)
{
    auto preparsed = static_cast<PHIDP_PREPARSED_DATA>(info.preparsedData);
    HIDP_CAPS caps{};
    if (SeamResult read = ParserStatus("HidP_GetCaps", HidP_GetCaps(preparsed, &caps)); !read)
        return read;
    HidCapabilities& c = info.capabilities;
    c.usage = caps.Usage;
    c.usagePage = caps.UsagePage;
    c.inputReportByteLength = caps.InputReportByteLength;
    c.outputReportByteLength = caps.OutputReportByteLength;
    c.featureReportByteLength = caps.FeatureReportByteLength;
    c.numberLinkCollectionNodes = caps.NumberLinkCollectionNodes;
    c.numberInputButtonCaps = caps.NumberInputButtonCaps;
    c.numberInputValueCaps = caps.NumberInputValueCaps;
    c.numberInputDataIndices = caps.NumberInputDataIndices;
    c.numberOutputButtonCaps = caps.NumberOutputButtonCaps;
    c.numberOutputValueCaps = caps.NumberOutputValueCaps;
    c.numberOutputDataIndices = caps.NumberOutputDataIndices;
    c.numberFeatureButtonCaps = caps.NumberFeatureButtonCaps;
    c.numberFeatureValueCaps = caps.NumberFeatureValueCaps;
    c.numberFeatureDataIndices = caps.NumberFeatureDataIndices;

    const SeamResult filled[] = {
        FillReportType(HidP_Input, caps.InputReportByteLength, caps.NumberInputButtonCaps, caps.NumberInputValueCaps,
                       preparsed, info.reports[0]),
        FillReportType(HidP_Output, caps.OutputReportByteLength, caps.NumberOutputButtonCaps,
                       caps.NumberOutputValueCaps, preparsed, info.reports[1]),
        FillReportType(HidP_Feature, caps.FeatureReportByteLength, caps.NumberFeatureButtonCaps,
                       caps.NumberFeatureValueCaps, preparsed, info.reports[2]),
    };
    for (const SeamResult& report : filled)
        if (!report)
            return report;

    // The handle kept for report I/O is the overlapped one.
    CUniqueHandle(std::exchange(info.handle, kInvalidDeviceHandle)).Close();
    CUniqueHandle overlapped(OpenPath(path, FILE_FLAG_OVERLAPPED));
    if (!overlapped.Valid())
        return LastError("CreateFileW");
    info.handle = overlapped.Release();
    return {};
}

void CWin32HidPort::Close(HidDeviceInfo& info)
{
    CUniqueHandle(std::exchange(info.handle, kInvalidDeviceHandle)).Close();
    if (info.preparsedData)
        HidD_FreePreparsedData(static_cast<PHIDP_PREPARSED_DATA>(info.preparsedData));
    info.preparsedData = nullptr;
    for (HidReportTypeInfo& report : info.reports)
        report = HidReportTypeInfo{};
}

// The virtual touchscreens post this layout for a removal; it must match the system's.
static_assert(sizeof(DeviceBroadcastHandle) == sizeof(DEV_BROADCAST_HANDLE));
static_assert(offsetof(DeviceBroadcastHandle, handle) == offsetof(DEV_BROADCAST_HANDLE, dbch_handle));
static_assert(offsetof(DeviceBroadcastHandle, notification) == offsetof(DEV_BROADCAST_HANDLE, dbch_hdevnotify));
static_assert(offsetof(DeviceBroadcastHandle, nameOffset) == offsetof(DEV_BROADCAST_HANDLE, dbch_nameoffset));

NotificationHandle CWin32HidPort::RegisterHandleNotification(WindowHandle window, DeviceHandle handle)
{
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof filter;
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = static_cast<HANDLE>(handle);
    return RegisterDeviceNotificationW(static_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

NotificationHandle CWin32HidPort::RegisterInterfaceNotification(WindowHandle window)
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = HidGuid();
    return RegisterDeviceNotificationW(static_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void CWin32HidPort::UnregisterNotification(NotificationHandle notification)
{
    if (notification)
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(notification));
}
