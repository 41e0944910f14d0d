#pragma once
// The main dialog's behaviour, without a window: the start-up query of every
// touchscreen, the decoding of its replies into the records, the touchscreen
// list and its labels, which actions are enabled, the selection, unplugging,
// and writing a new mapping into the touchscreens.
//
// Threads: every member function is called on the window thread, except the
// two background jobs (the start-up query and the mapping save). They share
// only atomics and the exchange event with the window thread; they post
// requests and, when they are done, post a message to the window instead of
// touching the list themselves. Close ends them (within one step of theirs,
// since each of their waits is cut short by it) before the window goes.

#include "device/DeviceRequest.h"
#include "device/ManualResetEvent.h"
#include "platform/Handles.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CDeviceManager;
class CProtocolState;
class IConfigurationLibrary;
class IHidPort;
class ISystem;
class IWindowMessenger;

// Private messages from the panel's jobs to its window (WM_APP range).
constexpr unsigned WM_PANEL_REFRESH_LIST = 0x8000 + 0x10;
constexpr unsigned WM_PANEL_SAVE_FAILED = 0x8000 + 0x11; // wParam: the slot

// The box the window shows for WM_PANEL_SAVE_FAILED.
constexpr wchar_t kSaveMappingFailedText[] = L"Save Match info failed!";

// How long a job waits for the end of one exchange.
constexpr unsigned kExchangeTimeoutMs = 3000;

// The label of a touchscreen in the list: its number and its monitor's.
std::wstring TouchScreenLabel(std::int32_t touchScreenNumber, std::int32_t monitorNumber);

// The language key of the box Help shows for the shell's result of opening
// the manual: "73" not found (2), "74" no program for it (31), else none.
std::optional<std::wstring> HelpFailureTextKey(std::intptr_t shellResult);

struct TouchScreenListItem {
    std::wstring text;
    int image = 0; // 0 not calibrated, 1 calibrated
    bool operator==(const TouchScreenListItem&) const = default;
};

// What the panel shows; the dialog implements it. Called on the window thread only.
class IMainPanelView {
public:
    virtual ~IMainPanelView() = default;
    // Replaces the list's items; `selected` is the item to select and focus, or -1.
    virtual void ShowTouchScreens(const std::vector<TouchScreenListItem>& items, int selected) = 0;
    // Mapping, Calibrate, Region Calibrate, Settings and Diagnostics together.
    virtual void EnableActions(bool enable) = 0;
    // The list has been filled: the wait cursor goes.
    virtual void ListReady() = 0;
};

struct MainPanelServices {
    CDeviceManager& devices;
    CProtocolState& state;
    IHidPort& hid;
    IWindowMessenger& messenger;
    // Queues a request for the device thread; the request is freed when it cannot.
    std::function<bool(std::unique_ptr<DeviceRequest>)> postRequest;
    ISystem& system; // the jobs' pauses and priority
    IConfigurationLibrary& configuration;
};

class CMainPanel {
public:
    CMainPanel(MainPanelServices services, IMainPanelView& view);
    ~CMainPanel(); // closes
    CMainPanel(const CMainPanel&) = delete;
    CMainPanel& operator=(const CMainPanel&) = delete;

    // The dialog opens: device notifications for the window, touchscreen 0
    // selected, the start-up query started.
    void Open(WindowHandle window);
    // The dialog goes: ends the jobs and waits for them.
    void Close();

    // Replies of the device thread, each owned by its handler.
    void OnOpeningReply(std::unique_ptr<DeviceReply> reply);
    void OnVersionReply(std::unique_ptr<DeviceReply> reply);
    void OnSerialReply(std::unique_ptr<DeviceReply> reply);
    void OnNumberReadReply(std::unique_ptr<DeviceReply> reply);
    void OnNumberWriteReply(std::unique_ptr<DeviceReply> reply);

    // Refreshes every record from its stored parameters and shows the list
    // (the jobs ask for it with WM_PANEL_REFRESH_LIST).
    void RefreshList();
    // Takes the touchscreen's monitor and calibration state from its stored parameters.
    void RefreshRecord(unsigned slot);

    // "UserManual.pdf" in the program folder, which Help opens.
    std::wstring ManualPath() const;

    // The list's selection changed to this item (-1: none).
    void OnSelectionChanged(int item);
    int Selected() const { return m_selected; }
    // At least one touchscreen, one selected, its calibration state 0 or 1.
    bool ActionsEnabled() const;
    bool ListIsReady() const { return m_listReady; }

    // WM_DEVICECHANGE for a device handle: a query-remove closes the
    // touchscreen's device; a remove-pending or remove-complete drops it.
    void OnDeviceChange(std::uintptr_t event, DeviceHandle handle);
    // The notification of an unplugged touchscreen is unregistered.
    void OnUnregisterNotification(NotificationHandle notification);
    // WM_MAPPING_CLOSED with a record: writes the mapping into the touchscreens.
    void OnMappingClosed();
    // WM_CALIBRATION_END: result 0 marks the slot's touchscreen calibrated.
    void OnCalibrationEnd(std::uintptr_t result, std::intptr_t slot);

private:
    enum class Job { StartupQuery, SaveMapping };

    void StartJob(Job job);
    void RunJobs(Job first);
    void RunStartupQuery();
    void RunSaveMapping();

    // Resets the exchange event, posts the command and waits for its end
    // reply; on a time-out sets the stop flag. False on a time-out or close.
    bool Exchange(unsigned slot, DeviceHandle handle, std::uint16_t command,
                  std::initializer_list<std::uint8_t> arguments = {});
    // The opening command goes to the selected touchscreen, as slot 0.
    bool OpenExchange();
    // Sleeps (noticing a close within 50 ms); false when the panel is closing.
    bool Pause(unsigned milliseconds);
    // Clears the stop flag, but not before the workers it stopped saw it.
    void ClearStopFlag();
    // An end reply: ends the exchange waited for, if it is this message's.
    void EndReply(unsigned message);
    // True for an end reply (handled) or none; false for a data reply.
    bool IsEndReply(const DeviceReply* reply, unsigned message);
    void UpdateActions();
    bool Closing() const { return m_closing; }

    MainPanelServices m_services;
    IMainPanelView& m_view;
    WindowHandle m_window = nullptr;

    std::atomic<int> m_selected{0};
    bool m_listReady = false;

    // Shared with the jobs.
    CManualResetEvent m_exchangeEnded;
    std::atomic<unsigned> m_awaitedReply{0};
    std::atomic<bool> m_closing{false};
    // Bit 0: a job runs; bit 1: a mapping save is wanted after it.
    std::atomic<unsigned> m_jobs{0};
    std::thread m_jobThread;
    // Only the job thread uses these.
    bool m_stopSetByTimeout = false;
    std::int64_t m_stopSetAtMs = 0;
};
