#include "app/MainPanel.h"

#include "calibration/CalibratePanel.h"
#include "common/LanguageText.h"
#include "common/MainLog.h"
#include "config/ConfigurationLibrary.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/DeviceBroadcast.h"
#include "platform/HidPort.h"
#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

namespace {

// An exchange that did not end, named for Main.Log: the command, and whether
// its request could not be queued for the device thread (code 0: the queue
// gives none) or the touchscreen did not answer in time (ERROR_TIMEOUT).
SeamResult ExchangeFailure(std::uint16_t command, bool posted)
{
    constexpr unsigned kTimeout = 1460;
    const char* name = command == Command::Open          ? (posted ? "Open" : "Open (request not queued)")
                       : command == Command::WriteNumber ? (posted ? "WriteNumber" : "WriteNumber (request not queued)")
                                                         : (posted ? "Exchange" : "Exchange (request not queued)");
    return SeamResult::Failed(name, posted ? kTimeout : 0);
}

constexpr unsigned kJobRunning = 1;
constexpr unsigned kSaveWanted = 2;

// The pauses of the start-up query and the mapping save.
constexpr unsigned kBeforeOpeningMs = 200;
constexpr unsigned kBetweenCommandsMs = 20;
constexpr unsigned kAfterFailureMs = 500;
constexpr unsigned kBeforeSaveMs = 100;
// Workers look at the stop flag every 60 ms: once set, it stays set this
// long before it is cleared, so that every worker it was meant for sees it.
constexpr std::int64_t kStopHoldMs = 200;
// A pause notices a close within this time.
constexpr unsigned kPauseSliceMs = 50;

// The line under the list: its usual hint, and the notes of a touchscreen
// whose monitor is not connected ("%d": the monitor's number).
constexpr wchar_t kListHintKey[] = L"10";
constexpr wchar_t kMonitorGoneNoteKey[] = L"190";
constexpr wchar_t kRefittedNoteKey[] = L"191";
constexpr wchar_t kLeftAsIsNoteKey[] = L"192"; // "%s": the re-fit's reason

// The notes' language texts, each read from the language file once (a
// read costs about a millisecond under Wine, and a list has 64 items).
class CNoteTexts {
public:
    // The text of the key with its first `field` ("%d", "%s") replaced.
    std::wstring With(const wchar_t* key, std::wstring_view field = {}, const std::wstring& value = {})
    {
        auto [read, added] = m_texts.try_emplace(key);
        if (added)
            read->second = GetLanguageText(key);
        std::wstring text = read->second;
        if (const auto at = text.find(field); !field.empty() && at != std::wstring::npos)
            text.replace(at, field.size(), value);
        return text;
    }

private:
    std::map<std::wstring_view, std::wstring> m_texts;
};

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

std::wstring TouchScreenLabel(std::int32_t touchScreenNumber, std::int32_t monitorNumber)
{
    return L"TouchScreen No." + std::to_wstring(touchScreenNumber) + L" \n   Monitor     No." +
           std::to_wstring(monitorNumber);
}

MainPanelRefit MakeMainPanelRefit(const RefitServices& services)
{
    auto shared = std::make_shared<RefitServices>(services);
    return MainPanelRefit{[shared] { return RefitCalibrations(*shared); }};
}

std::optional<std::wstring> HelpFailureTextKey(std::intptr_t shellResult)
{
    if (shellResult == 2) // the file was not found
        return L"73";
    if (shellResult == 31) // no program is associated with it
        return L"74";
    return std::nullopt;
}

CMainPanel::CMainPanel(MainPanelServices services, IMainPanelView& view) : m_services(std::move(services)), m_view(view)
{
}

CMainPanel::~CMainPanel() { Close(); }

void CMainPanel::Open(WindowHandle window)
{
    m_services.devices.RegisterNotifications(window);
    m_services.hid.RegisterInterfaceNotification(window);
    StartQuery(window);
}

void CMainPanel::StartQuery(WindowHandle window)
{
    m_window = window;
    m_selected = 0;
    // No number is known until the start-up query read it.
    for (DeviceHandle touchScreen : m_services.devices.Identities())
        m_services.devices.WithRecordOf(touchScreen, [](TouchScreenRecord& record) { record.numberUnknown = true; });
    UpdateActions(); // nothing that needs a number until the query read it
    StartJob(Job::StartupQuery);
}

void CMainPanel::Close()
{
    m_closing = true;
    {
        std::lock_guard lock(m_lanesMutex);
        for (auto& lane : m_lanes)
            lane->exchangeEnded.Set();
    }
    if (m_jobThread.joinable())
        m_jobThread.join();
}

// ---- the jobs

void CMainPanel::StartJob(Job job)
{
    if (m_closing)
        return;
    unsigned expected = m_jobs.load();
    for (;;) {
        if (expected & kJobRunning) {
            // Only the mapping save can come while a job runs: it runs after it.
            if (m_jobs.compare_exchange_weak(expected, expected | kSaveWanted))
                return;
        } else if (m_jobs.compare_exchange_weak(expected, kJobRunning)) {
            break;
        }
    }
    // The previous job thread has given up the running state and is ending:
    // the new thread joins it first, so that the window thread never waits.
    auto previous = std::make_shared<std::thread>(std::move(m_jobThread));
    const bool started = m_services.system.StartThread(m_jobThread, [this, job, previous] {
        if (previous->joinable())
            previous->join();
        RunJobs(job);
    });
    if (!started) {
        if (previous->joinable())
            previous->join();
        m_jobs = 0;
        JobNotStarted(job);
    }
}

void CMainPanel::JobNotStarted(Job job)
{
    if (job == Job::SaveMapping) {
        m_savesCovered = m_savesAsked.load();
        // The system's thread start gives no code.
        LogShownFailure(kSaveMappingFailedText, SeamResult::Failed("StartThread", 0));
        m_services.messenger.Post(m_window, WM_PANEL_SAVE_FAILED, 0, 0);
        m_services.messenger.Post(m_window, WM_PANEL_REFRESH_LIST, 0, 0);
        return;
    }
    // No touchscreen was asked: the list shows them with their numbers unknown.
    m_services.messenger.Post(m_window, WM_PANEL_REFRESH_LIST, 0, 0);
}

void CMainPanel::RunJobs(Job first)
{
    m_services.system.RaiseCurrentThreadPriority();
    for (Job job = first;; job = Job::SaveMapping) {
        if (job == Job::StartupQuery)
            RunStartupQuery();
        else
            RunSaveMapping();
        if (Closing()) {
            m_jobs = 0; // nothing starts once closing
            return;
        }
        unsigned expected = kJobRunning;
        if (m_jobs.compare_exchange_strong(expected, 0)) {
            // From here on a new job may start at any moment: this thread
            // touches the job state no more.
            if (m_jobReleasedHook)
                m_jobReleasedHook();
            return;
        }
        m_jobs.fetch_and(~kSaveWanted); // a save was asked for meanwhile: run it now
    }
}

void CMainPanel::RunStartupQuery()
{
    // Each touchscreen is asked once: it is found again by its identity
    // before every exchange, wherever unplugging another one moved it.
    RunLanes(m_services.devices.Identities(), &CMainPanel::QueryTouchScreen);
    if (!Closing()) {
        m_refitDue = true;
        m_services.messenger.Post(m_window, WM_PANEL_REFRESH_LIST, 0, 0);
    }
}

void CMainPanel::QueryTouchScreen(Lane& lane)
{
    if (!Pause(kBeforeOpeningMs))
        return;
    bool answered = Exchange(lane, Command::Open);
    answered = answered && Pause(kBetweenCommandsMs) && Exchange(lane, Command::ReadVersion);
    answered = answered && Pause(kBetweenCommandsMs) && Exchange(lane, Command::ReadSerial);
    if (!m_services.devices.FindSlot(lane.touchScreen)) {
        // unplugged meanwhile: nothing failed
    } else if (answered) {
        if (!Pause(kBetweenCommandsMs))
            return;
        if (!Exchange(lane, Command::ReadNumber) && !Pause(kBetweenCommandsMs))
            return;
    } else if (!Pause(kAfterFailureMs)) {
        return;
    }
    ClearStopFlag(lane);
}

void CMainPanel::RunSaveMapping()
{
    // A save asked for from here on runs again after this one.
    const unsigned asked = m_savesAsked;
    if (!Pause(kBeforeSaveMs))
        return;
    const std::vector<DeviceHandle> touchScreens = m_services.devices.Identities();
    RunLanes(touchScreens, &CMainPanel::SaveTouchScreen);
    if (Closing())
        return;
    // The failures are reported in slot order, whichever touchscreen answered first.
    std::vector<unsigned> failedSlots;
    {
        std::lock_guard lock(m_lanesMutex);
        for (const auto& lane : m_lanes)
            if (lane->failed)
                if (const auto slot = m_services.devices.FindSlot(lane->touchScreen)) {
                    failedSlots.push_back(*slot);
                    LogShownFailure(kSaveMappingFailedText, lane->failure);
                }
    }
    std::sort(failedSlots.begin(), failedSlots.end());
    for (unsigned slot : failedSlots)
        m_services.messenger.Post(m_window, WM_PANEL_SAVE_FAILED, slot, 0);
    m_savesCovered = asked;
    m_services.messenger.Post(m_window, WM_PANEL_REFRESH_LIST, 0, 0);
}

void CMainPanel::SaveTouchScreen(Lane& lane)
{
    const DeviceHandle touchScreen = lane.touchScreen;
    const auto slot = m_services.devices.FindSlot(touchScreen);
    if (!slot)
        return; // unplugged meanwhile
    const MappingEntry entry = m_services.devices.Mapping(*slot);
    bool bound = false;
    m_services.devices.WithRecordOf(touchScreen, [&](TouchScreenRecord& record) {
        bound = record.boundInMapping;
        record.boundInMapping = false; // saved once
    });
    if (!bound || entry.monitorNumber < 0 || !entry.deviceHandle)
        return;
    const bool opened = Exchange(lane, Command::Open);
    bool written = false;
    // The touchscreen is given the number of its slot of the moment.
    if (const auto now = m_services.devices.WithRecordOf(
            touchScreen, [&](TouchScreenRecord& record) { record.touchScreenNumber = entry.touchScreenNumber; }))
        written = Exchange(lane, Command::WriteNumber, {static_cast<std::uint8_t>(*now)});
    if (Closing())
        return;
    // After a failure the number stored in the touchscreen is not known:
    // nothing may be written under the one the record now holds.
    const bool saved = opened && written;
    if (m_services.devices.WithRecordOf(touchScreen,
                                        [&](TouchScreenRecord& record) { record.numberUnknown = !saved; }) &&
        !saved) {
        if (!Pause(kAfterFailureMs))
            return;
        lane.failed = true;
    }
    ClearStopFlag(lane);
}

void CMainPanel::RunLanes(const std::vector<DeviceHandle>& touchScreens, void (CMainPanel::*part)(Lane&))
{
    std::vector<Lane*> lanes;
    {
        std::lock_guard lock(m_lanesMutex);
        m_lanes.clear();
        for (DeviceHandle touchScreen : touchScreens)
            lanes.push_back(m_lanes.emplace_back(std::make_unique<Lane>(touchScreen)).get());
    }
    RunSideBySide(
        static_cast<unsigned>(lanes.size()), [&](unsigned i) { (this->*part)(*lanes[i]); }, m_services.system);
}

bool CMainPanel::Exchange(Lane& lane, std::uint16_t command, std::initializer_list<std::uint8_t> arguments)
{
    const auto slot = m_services.devices.FindSlot(lane.touchScreen);
    if (!slot)
        return false;
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = m_services.devices.HandleOf(*slot); // invalid while a query-remove holds it closed
    request->slot = static_cast<std::int32_t>(*slot);
    request->replyWindow = m_window;
    request->report = MakeCommandReport(command, arguments);
    const DeviceHandle handle = request->deviceHandle;
    const AwaitedReply awaited{ReplyMessageFor(request->report), handle};
    auto arm = [&] {
        // Close sets the event: looked at after the reset, a close is never missed.
        if (Closing())
            return false;
        std::lock_guard lock(m_lanesMutex);
        lane.awaited = awaited;
        return true;
    };
    bool posted = true;
    auto post = [&](std::unique_ptr<DeviceRequest> queued) {
        return posted = m_services.postRequest(std::move(queued));
    };
    const bool ended = PostAndWait(lane.exchangeEnded, post, std::move(request), arm) && !Closing();
    {
        std::lock_guard lock(m_lanesMutex);
        lane.awaited = {};
    }
    if (!ended && !Closing()) {
        // The worker may read on for ever: stop it, and it alone.
        m_services.state.SetStop(handle, true);
        lane.stopped = handle;
        lane.stopSetAtMs = NowMs();
        if (lane.failure)
            lane.failure = ExchangeFailure(command, posted);
    }
    return ended;
}

bool CMainPanel::Pause(unsigned milliseconds)
{
    // The system's sleep keeps to the mandated pauses more closely than a
    // timed wait does (under Wine about 1.5 ms a wait); slices of at most
    // 50 ms keep a close prompt.
    while (milliseconds > 0 && !Closing()) {
        const unsigned slice = std::min(milliseconds, kPauseSliceMs);
        m_services.system.Sleep(slice);
        milliseconds -= slice;
    }
    return !Closing();
}

void CMainPanel::ClearStopFlag(Lane& lane)
{
    if (!lane.stopped)
        return;
    const std::int64_t held = NowMs() - lane.stopSetAtMs;
    if (held < kStopHoldMs)
        Pause(static_cast<unsigned>(kStopHoldMs - held));
    m_services.state.SetStop(lane.stopped, false);
    lane.stopped = nullptr;
}

// ---- replies (window thread)

bool CMainPanel::IsAwaited(unsigned message, DeviceHandle touchScreen)
{
    std::lock_guard lock(m_lanesMutex);
    return std::any_of(m_lanes.begin(), m_lanes.end(), [&](const auto& lane) {
        return lane->awaited == AwaitedReply{message, touchScreen};
    });
}

void CMainPanel::EndReply(const DeviceReply& reply, unsigned message)
{
    // A late end reply of an exchange that timed out, or one from another
    // touchscreen, ends nothing.
    std::lock_guard lock(m_lanesMutex);
    for (auto& lane : m_lanes)
        if (lane->awaited == AwaitedReply{message, reply.deviceHandle}) {
            lane->awaited = {};
            lane->exchangeEnded.Set();
        }
}

bool CMainPanel::IsEndReply(const DeviceReply* reply, unsigned message)
{
    if (!reply)
        return true;
    if (IsDataReply(reply->Answer()))
        return false;
    EndReply(*reply, message);
    return true;
}

void CMainPanel::OnOpeningReply(std::unique_ptr<DeviceReply> reply)
{
    if (IsEndReply(reply.get(), WM_OPENING_REPLY))
        return;
    // Held for the guarded commands that follow it, as the answer of its own
    // touchscreen, and only while that touchscreen is being opened.
    if (IsAwaited(WM_OPENING_REPLY, reply->deviceHandle)) {
        const DeviceHandle touchScreen = reply->deviceHandle;
        m_services.state.SetOpeningAnswer(touchScreen, std::move(reply));
    }
}

void CMainPanel::OnVersionReply(std::unique_ptr<DeviceReply> reply)
{
    if (IsEndReply(reply.get(), WM_VERSION_REPLY))
        return;
    const auto version = DecodeVersion(reply->Answer());
    m_services.devices.WithRecord(static_cast<unsigned>(reply->slot), reply->deviceHandle,
                                  [&](TouchScreenRecord& record) {
                                      if (version) {
                                          for (int i = 0; i < 4; ++i)
                                              record.hardwareVersion[i] = (*version)[i];
                                      } else {
                                          // No version: 1, 0, 0; the fourth value stays.
                                          record.hardwareVersion[0] = 1;
                                          record.hardwareVersion[1] = 0;
                                          record.hardwareVersion[2] = 0;
                                      }
                                  });
}

void CMainPanel::OnSerialReply(std::unique_ptr<DeviceReply> reply)
{
    if (IsEndReply(reply.get(), WM_SERIAL_REPLY))
        return;
    // The answer's contents are not decoded: any answer means "no serial number".
    m_services.devices.WithRecord(static_cast<unsigned>(reply->slot), reply->deviceHandle,
                                  [](TouchScreenRecord& record) {
                                      record.serialPart1 = 0;
                                      record.serialPart2 = 0;
                                      record.serialPart3 = 0xFFFF;
                                  });
}

void CMainPanel::OnNumberReadReply(std::unique_ptr<DeviceReply> reply)
{
    if (IsEndReply(reply.get(), WM_NUMBER_READ_REPLY))
        return;
    if (reply->slot < 0)
        return;
    const DeviceHandle handle = reply->deviceHandle;
    if (ReportsNoTouchScreenNumber(reply->Answer())) {
        // A frame never given a number: not 0, which may be another's. It
        // stays unknown until a mapping gives it one.
        m_services.devices.WithRecord(static_cast<unsigned>(reply->slot), handle, [](TouchScreenRecord& record) {
            record.touchScreenNumber = 0;
            record.numberUnknown = true;
            record.calibrationState = kCalibrationStateUnknown;
        });
        return;
    }
    DeviceConfig config{};
    config.TouchScreenNumber = DecodeTouchScreenNumber(reply->Answer());
    m_services.configuration.GetDeviceConfig(config); // a record it cannot read stays as it was
    m_services.devices.WithRecordAndMapping(
        static_cast<unsigned>(reply->slot), handle, [&](TouchScreenRecord& record, MappingEntry& mapping) {
            mapping = MappingEntry{handle, config.MonitorID, config.TouchScreenNumber};
            record.calibrationState = config.IsCalibrate;
            record.touchScreenNumber = config.TouchScreenNumber;
            record.monitorNumber = config.MonitorID;
            record.numberUnknown = false;
        });
}

void CMainPanel::OnNumberWriteReply(std::unique_ptr<DeviceReply> reply)
{
    if (reply)
        EndReply(*reply, WM_NUMBER_WRITE_REPLY); // any answer ends the exchange
}

// ---- the list

void CMainPanel::RefreshRecord(unsigned slot)
{
    std::int32_t number = 0;
    DeviceHandle identity = nullptr;
    bool numberUnknown = false;
    if (!m_services.devices.WithRecord(slot, [&](TouchScreenRecord& record) {
            if (record.touchScreenNumber < 0 || record.touchScreenNumber > 254)
                record.touchScreenNumber = 0;
            number = record.touchScreenNumber;
            identity = record.identity;
            numberUnknown = record.numberUnknown;
            if (numberUnknown)
                record.calibrationState = kCalibrationStateUnknown;
        }))
        return;
    // Its number may be another touchscreen's: their stored parameters are not its own.
    if (numberUnknown)
        return;
    DeviceConfig config{};
    config.TouchScreenNumber = number;
    m_services.configuration.GetDeviceConfig(config);
    m_services.devices.WithRecord(slot, identity, [&](TouchScreenRecord& record) {
        record.monitorNumber = static_cast<std::uint32_t>(config.MonitorID) > 255 ? 0 : config.MonitorID;
        record.calibrationState = config.IsCalibrate;
    });
}

void CMainPanel::Refit()
{
    if (!m_services.refit.run)
        return;
    m_leftAsIs.clear();
    m_refitted.clear();
    for (const RefitOutcome& outcome : m_services.refit.run()) {
        if (outcome.state != RefitState::LeftAsIs && !outcome.markedRefitted)
            continue;
        m_services.devices.WithRecord(outcome.slot, [&](const TouchScreenRecord& record) {
            if (outcome.markedRefitted)
                m_refitted.insert(record.identity);
            else
                m_leftAsIs[record.identity] = outcome.detail;
        });
    }
}

void CMainPanel::RefreshList()
{
    if (m_refitDue.exchange(false))
        Refit();
    std::vector<TouchScreenListItem> items;
    CNoteTexts texts;
    const unsigned count = m_services.devices.Count();
    const auto monitors = static_cast<std::int32_t>(m_services.devices.MonitorCount());
    for (unsigned i = 0; i < count; ++i) {
        RefreshRecord(i);
        TouchScreenListItem item{};
        std::int32_t goneMonitor = -1;
        bool calibrated = false;
        DeviceHandle identity = nullptr;
        if (!m_services.devices.WithRecord(i, [&](const TouchScreenRecord& record) {
                item.text = TouchScreenLabel(record.touchScreenNumber, record.monitorNumber);
                calibrated = record.calibrationState == 1;
                // Mapped to a monitor the table no longer holds (with no table
                // at all nothing can be told); an unknown number has no monitor.
                if (!record.numberUnknown && monitors > 0 && record.monitorNumber >= monitors)
                    goneMonitor = record.monitorNumber;
                identity = record.identity;
            }))
            continue;
        // The notes read the language file outside the table's lock.
        item.image = calibrated ? kListImageCalibrated : kListImageNotCalibrated;
        if (goneMonitor >= 0) {
            item.image = kListImageMonitorGone;
            item.note = texts.With(kMonitorGoneNoteKey, L"%d", std::to_wstring(goneMonitor));
        } else if (const auto left = m_leftAsIs.find(identity); left != m_leftAsIs.end()) {
            item.image = kListImageNotCalibrated;
            item.note = texts.With(kLeftAsIsNoteKey, L"%s", left->second);
        } else if (calibrated && m_refitted.contains(identity)) {
            item.image = kListImageRefitted;
            item.note = texts.With(kRefittedNoteKey);
        }
        items.push_back(std::move(item));
    }
    m_notes.clear();
    for (const TouchScreenListItem& item : items)
        m_notes.push_back(item.note);
    // The list selects its first item, unless unplugging took the selection away.
    if (m_selected >= 0)
        m_selected = items.empty() ? -1 : 0;
    m_view.ShowTouchScreens(items, m_selected);
    m_listReady = true;
    UpdateActions();
    ShowSelectedNote();
    m_view.ListReady();
}

void CMainPanel::ShowSelectedNote()
{
    const int selected = m_selected;
    if (selected >= 0 && static_cast<std::size_t>(selected) < m_notes.size() && !m_notes[selected].empty())
        m_view.ShowNote(m_notes[selected]);
    else
        m_view.ShowNote(GetLanguageText(kListHintKey));
}

std::wstring CMainPanel::ManualPath() const { return ::ManualPath(m_services.system); }

void CMainPanel::OnSelectionChanged(int item)
{
    m_selected = item;
    UpdateActions();
    ShowSelectedNote();
}

MainActions CMainPanel::Actions() const
{
    MainActions actions;
    const bool saveRunning = m_savesCovered != m_savesAsked;
    actions.settings = m_services.devices.Count() > 0;
    actions.mapping = m_listReady && actions.settings && !saveRunning;
    const int selected = m_selected;
    if (!m_listReady || selected < 0)
        return actions;
    // A touchscreen whose number is unknown (not read yet, 255, a failed
    // save) would have another's stored parameters read and overwritten.
    m_services.devices.WithRecord(static_cast<unsigned>(selected), [&](const TouchScreenRecord& record) {
        actions.touchScreen = !record.numberUnknown && (record.calibrationState == 0 || record.calibrationState == 1);
    });
    actions.diagnostics = actions.touchScreen && !saveRunning;
    return actions;
}

void CMainPanel::UpdateActions() { m_view.EnableActions(Actions()); }

void CMainPanel::DiagnosticsBegin() { m_diagnosticsRunning = true; }

void CMainPanel::DiagnosticsEnd()
{
    m_diagnosticsRunning = false;
    if (std::exchange(m_saveDeferred, false))
        OnMappingClosed();
}

// ---- device changes and the other dialogs

void CMainPanel::OnDeviceChange(std::uintptr_t event, DeviceHandle handle)
{
    if (event == kDbtDeviceQueryRemove) {
        m_services.devices.QueryRemove(handle);
        return;
    }
    if (event == kDbtDeviceQueryRemoveFailed) {
        // The touchscreen stays: open it again, so that it is usable rather
        // than listed with a closed handle. The old notification goes as
        // a removed touchscreen's does, outside this notification's handling.
        const auto slot = m_services.devices.FindSlot(handle);
        auto old = m_services.devices.QueryRemoveFailed(handle, m_window);
        if (!old || !slot)
            return;
        m_services.messenger.Post(m_window, WM_UNREGISTER_NOTIFICATION, 0, reinterpret_cast<std::intptr_t>(*old));
        // Its new handle is its identity now: the open dialogs follow it.
        DeviceHandle reopened = nullptr;
        m_services.devices.WithRecord(*slot, [&](const TouchScreenRecord& record) { reopened = record.identity; });
        if (m_calibration)
            m_calibration->TouchScreenReopened(handle, reopened);
        if (m_reopened)
            m_reopened(handle, reopened);
        return;
    }
    if (event != kDbtDeviceRemovePending && event != kDbtDeviceRemoveComplete)
        return;
    const auto slot = m_services.devices.FindSlot(handle);
    if (!slot)
        return;
    NotificationHandle notification = nullptr;
    m_services.devices.WithRecord(*slot, [&](const TouchScreenRecord& record) { notification = record.notification; });
    m_services.messenger.Post(m_window, WM_UNREGISTER_NOTIFICATION, 0, reinterpret_cast<std::intptr_t>(notification));
    // The diagnostics dialog bound to the slot is closed here once it exists.
    if (m_calibration && m_calibration->TouchScreen().identity == handle)
        m_calibration->TouchScreenRemoving();
    if (static_cast<int>(*slot) == m_selected)
        m_selected = -1;
    m_services.devices.RemoveComplete(handle);
    if (m_calibration)
        m_calibration->SlotsMoved();
    RefreshList(); // updates the actions too
}

void CMainPanel::OnDisplayChange()
{
    if (m_calibration)
        m_calibration->OnEscape(); // WM_CALIBRATION_END follows, as after Esc
    m_services.devices.RefreshMonitors();
    // Before the start-up query has ended the list has nothing to show yet:
    // its end re-fits against the table as it is then.
    if (!m_listReady)
        return;
    Refit();
    RefreshList();
}

void CMainPanel::OnUnregisterNotification(NotificationHandle notification)
{
    m_services.hid.UnregisterNotification(notification);
}

void CMainPanel::OnMappingClosed()
{
    if (m_closing)
        return;
    if (m_diagnosticsRunning) {
        m_saveDeferred = true;
        return;
    }
    ++m_savesAsked;
    UpdateActions();
    StartJob(Job::SaveMapping);
}

DeviceMatchServices CMainPanel::BeginMapping()
{
    m_services.devices.RefreshMonitors();
    return DeviceMatchServices{m_services.devices, m_services.configuration, m_services.postRequest,
                               m_services.messenger};
}

void CMainPanel::OnCalibrationEnd(std::uintptr_t result, std::intptr_t slot)
{
    if (result == 0 && m_calibration && slot >= 0)
        m_services.devices.WithRecord(static_cast<unsigned>(slot), m_calibration->TouchScreen().identity,
                                      [](TouchScreenRecord& record) { record.calibrationState = 1; });
    // Whether a touchscreen left as it was or marked re-fitted is calibrated
    // now, the re-fit tells.
    if (!m_leftAsIs.empty() || !m_refitted.empty())
        m_refitDue = true;
    m_calibration = nullptr;
    // Whatever ended it (a time-out and a close report 0 too), the list
    // shows what is stored now.
    if (m_services.devices.Count() > 0)
        RefreshList();
}
