#pragma once
// The main dialog's behaviour, without a window: the start-up query of every
// touchscreen, the decoding of its replies into the records, the touchscreen
// list and its labels, which actions are enabled, the selection, unplugging,
// and writing a new mapping into the touchscreens.
//
// Threads: every member function is called on the window thread, except the
// two background jobs (the start-up query and the mapping save). A job talks
// to every touchscreen at once, each on a lane of its own (a thread, its
// exchange event, the reply it awaits), each touchscreen's exchanges in
// their order. The jobs share only atomics and the lanes (under a small
// mutex) with the window thread; they post requests and, when they are done,
// post a message to the window instead of touching the list themselves.
// Close ends them (within one step of theirs, since each of their waits is
// cut short by it) before the window goes.

#include "calibration/CalibrationRefit.h"
#include "calibration/DeviceMatchPanel.h"
#include "device/DeviceRequest.h"
#include "device/Exchange.h"
#include "device/ManualResetEvent.h"
#include "platform/Handles.h"
#include "platform/SeamResult.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CCalibratePanel;
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

// The label of a touchscreen in the list: its number and its monitor's.
std::wstring TouchScreenLabel(std::int32_t touchScreenNumber, std::int32_t monitorNumber);

// The language key of the box Help shows for the shell's result of opening
// the manual: "73" not found (2), "74" no program for it (31), else none.
std::optional<std::wstring> HelpFailureTextKey(std::intptr_t shellResult);

// The list's images, in the order of the dialog's image list.
enum ListImage : int {
    kListImageNotCalibrated = 0, // also: needs calibrating again after a display change
    kListImageCalibrated = 1,
    kListImageMonitorGone = 2, // mapped to a monitor that is not connected now
    kListImageRefitted = 3,    // re-fitted to a changed display, not calibrated since
};

struct TouchScreenListItem {
    std::wstring text;
    int image = kListImageNotCalibrated;
    // The line under the list while this touchscreen is selected; empty: the usual hint.
    std::wstring note{};
    bool operator==(const TouchScreenListItem&) const = default;
};

// Which of the main dialog's actions may start now.
struct MainActions {
    bool touchScreen = false; // Calibrate, Region Calibrate: the selected touchscreen's number is known
    bool diagnostics = false; // as touchScreen, and no mapping save runs
    bool mapping = false;     // the list is ready and no mapping save runs
    bool settings = false;    // driver-wide: at least one touchscreen
    bool operator==(const MainActions&) const = default;
};

// What the panel shows; the dialog implements it. Called on the window thread only.
class IMainPanelView {
public:
    virtual ~IMainPanelView() = default;
    // Replaces the list's items; `selected` is the item to select and focus, or -1.
    virtual void ShowTouchScreens(const std::vector<TouchScreenListItem>& items, int selected) = 0;
    // Mapping, Calibrate, Region Calibrate, Settings and Diagnostics.
    virtual void EnableActions(const MainActions& actions) = 0;
    // The list has been filled: the wait cursor goes.
    virtual void ListReady() = 0;
    // The line under the list: the selected touchscreen's note, else the usual hint.
    virtual void ShowNote(const std::wstring& text) { (void)text; }
};

// The calibrations re-fitted to the display as it is, run on the window
// thread when the start-up query has read the touchscreens' numbers and on
// each display change; empty: none (the console's listing).
struct MainPanelRefit {
    // One outcome per touchscreen; each tells whether the record is marked
    // re-fitted, so that the list needs no second read of the records.
    std::function<std::vector<RefitOutcome>()> run;
};

// The re-fit over these services (references that outlive the panel).
MainPanelRefit MakeMainPanelRefit(const RefitServices& services);

struct MainPanelServices {
    CDeviceManager& devices;
    CProtocolState& state;
    IHidPort& hid;
    IWindowMessenger& messenger;
    RequestPoster postRequest;
    ISystem& system; // the jobs' threads, pauses and priority
    IConfigurationLibrary& configuration;
    MainPanelRefit refit{};
};

class CMainPanel {
public:
    CMainPanel(MainPanelServices services, IMainPanelView& view);
    ~CMainPanel(); // closes
    CMainPanel(const CMainPanel&) = delete;
    CMainPanel& operator=(const CMainPanel&) = delete;

    // The dialog opens: device notifications for the window, touchscreen 0
    // selected, every touchscreen's number unknown, the start-up query started.
    void Open(WindowHandle window);
    // Open without the device notifications: touchscreen 0 selected, every
    // number unknown, the start-up query started, its replies and its end
    // posted to `window` (the console's listing, which has no real window).
    void StartQuery(WindowHandle window);
    // The dialog goes: ends the jobs and waits for them.
    void Close();

    // Replies of the device thread, each owned by its handler. A reply names
    // its touchscreen by slot and handle; it changes a record only while the
    // slot still holds that touchscreen, and ends only the exchange awaited
    // from that touchscreen.
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

    // What the dialogs it opens are built from (the properties box, the update dialog).
    const MainPanelServices& Services() const { return m_services; }

    // The manual in the program folder that Help opens, in the shown language.
    std::wstring ManualPath() const;

    // WM_DISPLAYCHANGE: a monitor came, went or changed. An open calibration
    // is cancelled as Esc cancels it (its targets stood on the old display;
    // its previous record comes back); the monitor table is enumerated
    // again and, once the start-up query has filled the list, the
    // calibrations are re-fitted and the list shows which touchscreens were
    // re-fitted, which need calibrating and whose monitors are gone.
    void OnDisplayChange();

    // The list's selection changed to this item (-1: none).
    void OnSelectionChanged(int item);
    int Selected() const { return m_selected; }
    // The touchscreen's actions need one selected whose number is known and
    // whose calibration state is 0 or 1, after the start-up query; Mapping
    // needs the list ready; neither Diagnostics nor Mapping while a mapping
    // save runs.
    MainActions Actions() const;
    // Diagnostics runs from Begin to End. A mapping save asked for meanwhile
    // starts when it ends: both use the touchscreens' opening answers.
    void DiagnosticsBegin();
    void DiagnosticsEnd();
    bool ListIsReady() const { return m_listReady; }

    // WM_DEVICECHANGE for a device handle: a query-remove closes the
    // touchscreen's device, a refused removal opens it again; a
    // remove-pending or remove-complete drops it.
    void OnDeviceChange(std::uintptr_t event, DeviceHandle handle);
    // The notification of an unplugged touchscreen is unregistered.
    void OnUnregisterNotification(NotificationHandle notification);
    // WM_MAPPING_CLOSED with a record: writes the mapping into the touchscreens.
    void OnMappingClosed();
    // Mapping: the monitor table is enumerated again; the mapping dialog
    // works on this dialog's touchscreens, configuration and device thread.
    DeviceMatchServices BeginMapping();
    // WM_CALIBRATION_END: result 0 marks the slot's touchscreen calibrated,
    // but only while the slot still holds the open calibration's
    // touchscreen; the list then shows the calibration state stored.
    void OnCalibrationEnd(std::uintptr_t result, std::intptr_t slot);
    // The calibration window open now (null: none). Unplugging tells it when
    // its touchscreen goes, and when the slots move under it.
    void SetOpenCalibration(CCalibratePanel* calibration) { m_calibration = calibration; }
    // Called when a refused removal opened a touchscreen again under a new
    // handle (its identity), after the open calibration was re-bound: the
    // dialog re-binds its other open windows (mapping, Diagnostics).
    void SetReopenedHandler(std::function<void(DeviceHandle before, DeviceHandle after)> handler)
    {
        m_reopened = std::move(handler);
    }

    // Test seam: runs on the job thread right after it gave up the running
    // state, before it ends. Set before Open.
    void SetJobReleasedHook(std::function<void()> hook) { m_jobReleasedHook = std::move(hook); }

private:
    enum class Job { StartupQuery, SaveMapping };
    struct AwaitedReply {
        unsigned message = 0;
        DeviceHandle touchScreen = nullptr;
        bool operator==(const AwaitedReply&) const = default;
    };
    // One touchscreen's part of a job.
    struct Lane {
        explicit Lane(DeviceHandle identity) : touchScreen(identity) {}
        const DeviceHandle touchScreen; // its identity
        CManualResetEvent exchangeEnded;
        AwaitedReply awaited; // under m_lanesMutex: the end reply that ends its running exchange
        // Only the lane's thread uses these.
        DeviceHandle stopped = nullptr; // the handle whose stop flag a time-out set
        std::int64_t stopSetAtMs = 0;
        bool failed = false;
        SeamResult failure; // the lane's first exchange that did not end, for Main.Log
    };

    void StartJob(Job job);
    // What a job that could not be started would have ended with.
    void JobNotStarted(Job job);
    void RunJobs(Job first);
    void RunStartupQuery();
    void RunSaveMapping();
    // Runs `part` for each touchscreen on a lane of its own, side by side.
    void RunLanes(const std::vector<DeviceHandle>& touchScreens, void (CMainPanel::*part)(Lane&));
    void QueryTouchScreen(Lane& lane);
    void SaveTouchScreen(Lane& lane);

    // One exchange with the lane's touchscreen, at its slot of the moment:
    // resets the lane's event, posts the command and waits for its end
    // reply; on a time-out sets that touchscreen's stop flag. False on a
    // time-out, a close, or when the touchscreen is gone.
    bool Exchange(Lane& lane, std::uint16_t command, std::initializer_list<std::uint8_t> arguments = {});
    // Sleeps (noticing a close within 50 ms); false when the panel is closing.
    bool Pause(unsigned milliseconds);
    // Clears the stop flag a time-out of the lane set, but not before the
    // workers it stopped saw it.
    void ClearStopFlag(Lane& lane);
    bool IsAwaited(unsigned message, DeviceHandle touchScreen);
    // An end reply: ends the exchange waited for, if it is this one's.
    void EndReply(const DeviceReply& reply, unsigned message);
    // True for an end reply (handled) or none; false for a data reply.
    bool IsEndReply(const DeviceReply* reply, unsigned message);
    void UpdateActions();
    // The line under the list for the selected item.
    void ShowSelectedNote();
    // Runs the re-fit and keeps, by touchscreen, why one was left as it is.
    void Refit();
    bool Closing() const { return m_closing; }

    MainPanelServices m_services;
    IMainPanelView& m_view;
    WindowHandle m_window = nullptr;

    std::atomic<int> m_selected{0};
    std::vector<std::wstring> m_notes; // each listed item's note
    // The touchscreens the last re-fit left as they were, and why, until
    // they are calibrated again.
    std::map<DeviceHandle, std::wstring> m_leftAsIs;
    // The touchscreens whose record the last re-fit found marked re-fitted.
    std::set<DeviceHandle> m_refitted;
    // The start-up query has read the numbers: the list re-fits first.
    std::atomic<bool> m_refitDue{false};
    std::atomic<bool> m_listReady{false}; // read by the job thread when a test asks for a save from it
    bool m_diagnosticsRunning = false;
    bool m_saveDeferred = false; // asked for while Diagnostics ran
    // Mapping saves asked for, and how many of those asks a finished save
    // covered: a save runs (or waits to) while they differ.
    std::atomic<unsigned> m_savesAsked{0};
    std::atomic<unsigned> m_savesCovered{0};
    CCalibratePanel* m_calibration = nullptr;

    // Shared with the jobs.
    std::mutex m_lanesMutex;
    std::vector<std::unique_ptr<Lane>> m_lanes; // the running job's
    std::atomic<bool> m_closing{false};
    // Bit 0: a job runs; bit 1: a mapping save is wanted after it.
    std::atomic<unsigned> m_jobs{0};
    // The newest job thread; each one first joins the one before it.
    std::thread m_jobThread;
    std::function<void()> m_jobReleasedHook;
    std::function<void(DeviceHandle, DeviceHandle)> m_reopened;
};
