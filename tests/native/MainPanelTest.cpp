// The main dialog's behaviour against virtual frames, the real device
// thread and a configuration library that keeps its records in memory. The test
// plays the window: it takes what is posted to it and hands it to the panel
// as the dialog's message table does.

#include "app/MainPanel.h"
#include "FakeConfigurationLibrary.h"
#include "FrameLog.h"
#include "MainPanelRouting.h"
#include "app/ConsoleMailbox.h"
#include "calibration/CalibratePanel.h"
#include "calibration/CalibrationResult.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/DeviceBroadcast.h"
#include "platform/MemoryRegistry.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"
#include "tests/support/CalibratedRecord.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x7001);

// The window's message queue: what the device thread, the panel's jobs and
// the virtual frames post to the window; and what goes to every window.
class CWindowQueue : public CConsoleMailbox {
public:
    CWindowQueue() : CConsoleMailbox(kWindow) {}
    void PostToOwnWindows(unsigned message, std::uintptr_t, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mutex);
        if (message == WM_TOUCHSCREEN_REMOVED)
            removedSlots.push_back(static_cast<int>(lParam));
    }
    void PostQuit(int) override
    {
        std::lock_guard lock(m_mutex);
        ++quits;
    }

    std::vector<int> removedSlots;
    int quits = 0;

private:
    std::mutex m_mutex;
};

class CRecordingView : public IMainPanelView {
public:
    void ShowTouchScreens(const std::vector<TouchScreenListItem>& shown, int selectedItem) override
    {
        items = shown;
        selected = selectedItem;
    }
    void EnableActions(const MainActions& enabled) override
    {
        // A test may ask for a save from the job thread, as the window would at that moment.
        std::lock_guard lock(m_actionsMutex);
        actions = enabled;
        actionsEnabled = enabled.touchScreen;
    }
    void ListReady() override { ++readyCount; }
    void ShowNote(const std::wstring& text) override { note = text; }

    std::vector<TouchScreenListItem> items;
    std::wstring note; // the line under the list
    int selected = -2;
    bool actionsEnabled = true; // Calibrate and Region Calibrate
    MainActions actions;
    int readyCount = 0;

private:
    std::mutex m_actionsMutex;
};

// Sleeps as the system does; a test may hook the start of each job thread,
// or have none start.
class CJobHookSystem : public CStandardSystem {
public:
    std::function<void()> onJobThreadStart;
    bool refuseThreads = false;
    void RaiseCurrentThreadPriority() override
    {
        if (onJobThreadStart)
            onJobThreadStart();
    }
    bool StartThread(std::thread& thread, std::function<void()> body) override
    {
        return !refuseThreads && CStandardSystem::StartThread(thread, std::move(body));
    }
};

SimScenario Frames(unsigned count, const std::function<void(unsigned, SimFrameSetup&)>& edit = {})
{
    SimScenario scenario = MakeCountedScenario(count);
    if (edit)
        for (unsigned i = 0; i < count; ++i)
            edit(i, scenario.frames[i]);
    return scenario;
}

struct PanelRig {
    // `refit`: the calibrations are re-fitted to the monitors (kept displays in memory).
    explicit PanelRig(SimScenario scenario, bool refit = false)
        : port(std::move(scenario), &window), devices(port, monitors, window),
          thread(port, window, devices, state, deviceSystem),
          panel(MainPanelServices{devices, state, port, window,
                                  [this](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); },
                                  system, configuration,
                                  refit ? MakeMainPanelRefit({devices, configuration, registry, {}, {}})
                                        : MainPanelRefit{}},
                view)
    {
        thread.Start();
    }
    ~PanelRig()
    {
        panel.Close();
        thread.Stop();
    }

    // Plays the window until the condition holds; false after the time-out.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s)
    {
        for (auto end = Clock::now() + timeout; !done();) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (left <= 0ms)
                return false;
            if (auto m = window.Take(std::min<std::chrono::milliseconds>(left, 50ms)))
                Dispatch(*m);
        }
        return true;
    }
    bool PumpUntilReady(int readyCount = 1, std::chrono::milliseconds timeout = 10s)
    {
        return PumpUntil([&] { return view.readyCount >= readyCount; }, timeout);
    }

    void Dispatch(const CWindowQueue::Message& m)
    {
        if (RouteToMainPanel(panel, m))
            return;
        switch (m.message) {
        case WM_PANEL_SAVE_FAILED:
            saveFailures.push_back(static_cast<unsigned>(m.wParam));
            return;
        case WM_UNREGISTER_NOTIFICATION:
            unregistered.push_back(reinterpret_cast<NotificationHandle>(m.lParam));
            return panel.OnUnregisterNotification(reinterpret_cast<NotificationHandle>(m.lParam));
        case kWmDeviceChange:
            return panel.OnDeviceChange(m.wParam, reinterpret_cast<const DeviceBroadcastHandle*>(m.lParam)->handle);
        default:
            FAIL() << "unexpected message " << m.message;
        }
    }

    TouchScreenRecord Record(unsigned slot)
    {
        TouchScreenRecord copy;
        devices.WithRecord(slot, [&](const TouchScreenRecord& r) {
            copy.calibrationState = r.calibrationState;
            copy.touchScreenNumber = r.touchScreenNumber;
            copy.monitorNumber = r.monitorNumber;
            copy.serialPart1 = r.serialPart1;
            copy.serialPart2 = r.serialPart2;
            copy.serialPart3 = r.serialPart3;
            copy.notification = r.notification;
            copy.numberUnknown = r.numberUnknown;
            copy.boundInMapping = r.boundInMapping;
            std::copy(std::begin(r.hardwareVersion), std::end(r.hardwareVersion), copy.hardwareVersion);
        });
        return copy;
    }

    bool AnyStopped()
    {
        for (unsigned slot = 0; slot < devices.Count(); ++slot)
            if (state.Stopped(devices.HandleOf(slot)))
                return true;
        return false;
    }

    std::vector<std::int32_t> Version(unsigned slot)
    {
        TouchScreenRecord r = Record(slot);
        return std::vector<std::int32_t>(r.hardwareVersion, r.hardwareVersion + 4);
    }

    // Feeds an answer to a reply handler as the device thread would.
    std::unique_ptr<DeviceReply> Answer(unsigned slot, std::initializer_list<std::uint8_t> bytes)
    {
        auto reply = std::make_unique<DeviceReply>();
        reply->slot = static_cast<std::int32_t>(slot);
        reply->deviceHandle = devices.HandleOf(slot);
        std::size_t i = 1;
        for (std::uint8_t b : bytes)
            reply->report[i++] = b;
        return reply;
    }

    // Stores {number, monitor, calibrated} parameter records, as the
    // calibration or the mapping would.
    void Store(std::initializer_list<std::array<std::int32_t, 3>> records)
    {
        for (const auto& r : records) {
            DeviceConfig config{};
            config.TouchScreenNumber = r[0];
            config.MonitorID = r[1];
            config.IsCalibrate = r[2];
            configuration.devices[r[0]] = config;
        }
    }

    // As a mapping leaves the touchscreens it bound.
    void MarkBound(std::initializer_list<unsigned> slots)
    {
        for (unsigned slot : slots)
            devices.WithRecord(slot, [](TouchScreenRecord& r) { r.boundInMapping = true; });
    }

    CWindowQueue window;
    CSimHidPort port;
    CFixedMonitors monitors;
    CDeviceManager devices;
    CProtocolState state;
    CStandardSystem deviceSystem;
    CDeviceThread thread;
    CRecordingView view;
    CJobHookSystem system;
    CFakeConfigurationLibrary configuration;
    CMemoryRegistry registry;
    CMainPanel panel;
    std::vector<unsigned> saveFailures;
    std::vector<NotificationHandle> unregistered;
};

} // namespace

TEST(MainPanel, ListsEveryTouchScreenByItsStoredNumbersAndSelectsTheFirst)
{
    const std::wstring log0 = FreshFrameLog("panel_list0"), log1 = FreshFrameLog("panel_list1");
    PanelRig rig(Frames(3, [&](unsigned i, SimFrameSetup& f) {
        f.touchScreenNumber = static_cast<int>(5 + 2 * i); // 5, 7, 9
        f.versionText = std::string("A1b") + char('0' + i);
        if (i == 0)
            f.logFile = log0;
        if (i == 1)
            f.logFile = log1;
    }));
    rig.Store({{5, 1, 1}, {7, 0, 0}, {9, 2, 1}});

    rig.panel.Open(kWindow);
    EXPECT_FALSE(rig.panel.ListIsReady());
    EXPECT_EQ(rig.view.actions, (MainActions{false, false, false, true})) << "only Settings while no number is known";
    ASSERT_TRUE(rig.PumpUntilReady());
    EXPECT_EQ(rig.view.actions, (MainActions{true, true, true, true}));

    EXPECT_EQ(rig.view.items, (std::vector<TouchScreenListItem>{{L"TouchScreen No.5 \n   Monitor     No.1", 1},
                                                                {L"TouchScreen No.7 \n   Monitor     No.0", 0},
                                                                {L"TouchScreen No.9 \n   Monitor     No.2", 1}}));
    EXPECT_EQ(rig.view.selected, 0);
    EXPECT_EQ(rig.panel.Selected(), 0);
    EXPECT_TRUE(rig.view.actionsEnabled);
    EXPECT_TRUE(rig.panel.ListIsReady());
    EXPECT_FALSE(rig.AnyStopped());

    for (unsigned i = 0; i < 3; ++i) {
        TouchScreenRecord r = rig.Record(i);
        EXPECT_EQ(rig.Version(i), (std::vector<std::int32_t>{'A', '1', 'b', '0' + static_cast<int>(i)}));
        EXPECT_EQ(r.serialPart1, 0);
        EXPECT_EQ(r.serialPart2, 0);
        EXPECT_EQ(r.serialPart3, 0xFFFF);
        EXPECT_EQ(r.touchScreenNumber, static_cast<std::int32_t>(5 + 2 * i));
        EXPECT_NE(r.notification, nullptr);
    }
    EXPECT_EQ(rig.devices.Mapping(2), (MappingEntry{rig.devices.HandleOf(2), 2, 9}));
    EXPECT_EQ(rig.devices.Mapping(1), (MappingEntry{rig.devices.HandleOf(1), 0, 7}));

    // Each touchscreen is opened itself; each guarded command is preceded by
    // its opening answer sent back ("OK").
    const std::vector<std::string> query = {"31 6F 00", "31 4F 4B", "31 76 76", "31 4F 4B",
                                            "31 76 73", "31 4F 4B", "31 76 31"};
    EXPECT_EQ(FrameCommands(log0), query);
    EXPECT_EQ(FrameCommands(log1), query);
    std::filesystem::remove(log0);
    std::filesystem::remove(log1);
}

TEST(MainPanel, ASilentTouchScreenIsListedWithItsEarlierValuesAndTheOthersAnswer)
{
    // A silent frame in slot 0 and a garbled one in slot 1: the others are
    // opened themselves, so they answer as if those were not there.
    PanelRig rig(Frames(4, [](unsigned i, SimFrameSetup& f) {
        f.touchScreenNumber = i == 2 ? 5 : 7;
        f.silent = i == 0;
        f.garbage = i == 1;
    }));
    rig.Store({{5, 1, 1}, {7, 2, 0}, {0, 3, 1}});

    const auto start = Clock::now();
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady(1, 20s));
    const auto elapsed = Clock::now() - start;

    // The two whose numbers could not be read are listed with what they had,
    // not with touchscreen 0's stored record, and their actions are disabled.
    EXPECT_EQ(rig.view.items, (std::vector<TouchScreenListItem>{{L"TouchScreen No.0 \n   Monitor     No.0", 0},
                                                                {L"TouchScreen No.0 \n   Monitor     No.0", 0},
                                                                {L"TouchScreen No.5 \n   Monitor     No.1", 1},
                                                                {L"TouchScreen No.7 \n   Monitor     No.2", 0}}));
    for (int item : {0, 1, 2, 3}) {
        rig.panel.OnSelectionChanged(item);
        EXPECT_EQ(rig.view.actionsEnabled, item >= 2) << item;
    }
    EXPECT_EQ(rig.Version(0), (std::vector<std::int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(rig.Record(0).serialPart3, 0);
    EXPECT_EQ(rig.devices.Mapping(0), MappingEntry{});
    EXPECT_EQ(rig.devices.Mapping(1), MappingEntry{});
    EXPECT_EQ(rig.devices.Mapping(2), (MappingEntry{rig.devices.HandleOf(2), 1, 5}));
    EXPECT_EQ(rig.devices.Mapping(3), (MappingEntry{rig.devices.HandleOf(3), 2, 7}));
    EXPECT_EQ(rig.Record(3).hardwareVersion[0], 'V') << "the touchscreens after the faulty ones were queried";
    EXPECT_EQ(rig.Record(3).serialPart3, 0xFFFF);
    for (const auto& call : rig.configuration.calls)
        EXPECT_NE(call.touchScreen, 0) << "no stored record is read for a touchscreen whose number is unknown";
    // Two bounded waits of 3 s and the 500 ms pause after each, on top of
    // the four touchscreens' own pauses.
    EXPECT_LT(elapsed, 2 * (3000ms + 500ms) + 4 * 600ms + 1500ms);
    EXPECT_FALSE(rig.AnyStopped());
}

TEST(MainPanel, TheStartupQueryAsksEveryRemainingTouchScreenOnceWhenOneIsUnpluggedDuringIt)
{
    std::vector<std::wstring> logs;
    for (int i = 0; i < 4; ++i)
        logs.push_back(FreshFrameLog("panel_unplugged" + std::to_string(i)));
    PanelRig rig(Frames(4, [&](unsigned i, SimFrameSetup& f) { f.logFile = logs[i]; }));
    rig.Store({{1, 1, 0}, {2, 2, 1}, {3, 0, 0}});

    rig.panel.Open(kWindow);
    // Touchscreen 0 goes while touchscreen 2 is being asked: the later ones move down a slot.
    bool unplugged = false;
    ASSERT_TRUE(rig.PumpUntil([&] {
        if (!unplugged && !FrameCommands(logs[2]).empty()) {
            rig.port.Unplug(0);
            unplugged = true;
        }
        return rig.view.readyCount >= 2; // the list after the unplug, then after the query
    }));
    const std::vector<std::string> query = {"31 6F 00", "31 4F 4B", "31 76 76", "31 4F 4B",
                                            "31 76 73", "31 4F 4B", "31 76 31"};
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(FrameCommands(logs[i]), query) << "touchscreen " << i << " asked once";
    EXPECT_EQ(rig.view.items, (std::vector<TouchScreenListItem>{{L"TouchScreen No.1 \n   Monitor     No.1", 0},
                                                                {L"TouchScreen No.2 \n   Monitor     No.2", 1},
                                                                {L"TouchScreen No.3 \n   Monitor     No.0", 0}}));
    for (const std::wstring& log : logs)
        std::filesystem::remove(log);
}

TEST(MainPanel, RepliesPostedBeforeAnUnplugThatMovedTheSlotsChangeNoRecord)
{
    PanelRig rig(Frames(3));
    rig.Store({{12, 3, 1}});
    // Replies of the touchscreen in slot 1, on their way when the one in slot 0 goes.
    auto version = rig.Answer(1, {'V', 'v', '2', '1', '0', 'x'});
    auto serial = rig.Answer(1, {'V', 's', 'X'});
    auto number = rig.Answer(1, {'V', '1', 12});
    const DeviceHandle second = rig.devices.HandleOf(1), third = rig.devices.HandleOf(2);
    ASSERT_TRUE(rig.devices.RemoveComplete(rig.devices.HandleOf(0)));

    rig.panel.OnVersionReply(std::move(version));
    rig.panel.OnSerialReply(std::move(serial));
    rig.panel.OnNumberReadReply(std::move(number));
    for (unsigned slot : {0u, 1u}) {
        const TouchScreenRecord r = rig.Record(slot);
        EXPECT_EQ(rig.Version(slot), (std::vector<std::int32_t>{0, 0, 0, 0})) << slot;
        EXPECT_EQ(r.serialPart3, 0) << slot;
        EXPECT_EQ(r.touchScreenNumber, 0) << slot;
        EXPECT_EQ(r.monitorNumber, 0) << slot;
        EXPECT_EQ(r.calibrationState, 0) << slot;
    }
    EXPECT_EQ(rig.devices.Mapping(0), (MappingEntry{second, -1, 0}));
    EXPECT_EQ(rig.devices.Mapping(1), (MappingEntry{third, -1, 1}));
}

TEST(MainPanel, RepliesAreDecodedIntoTheRecord)
{
    PanelRig rig(Frames(2));
    rig.Store({{12, 3, 1}});
    rig.devices.WithRecord(1, [](TouchScreenRecord& r) { r.hardwareVersion[3] = 9; });

    rig.panel.OnVersionReply(rig.Answer(1, {'V', 'v', '2', '1', '0', 'x'}));
    EXPECT_EQ(rig.Version(1), (std::vector<std::int32_t>{'2', '1', '0', 'x'}));
    rig.panel.OnVersionReply(rig.Answer(1, {'V', 'v', ' ', '1', '0', 'x'})); // a blank: no version
    EXPECT_EQ(rig.Version(1), (std::vector<std::int32_t>{1, 0, 0, 'x'}));

    rig.panel.OnNumberReadReply(rig.Answer(1, {'V', '1', 12}));
    EXPECT_EQ(rig.Record(1).touchScreenNumber, 12);
    EXPECT_EQ(rig.Record(1).monitorNumber, 3);
    EXPECT_EQ(rig.Record(1).calibrationState, 1);
    EXPECT_EQ(rig.devices.Mapping(1), (MappingEntry{rig.devices.HandleOf(1), 3, 12}));
    for (std::uint8_t none : {std::uint8_t(' '), std::uint8_t(0xFF)}) {
        rig.panel.OnNumberReadReply(rig.Answer(1, {'V', '1', none}));
        EXPECT_EQ(rig.Record(1).touchScreenNumber, 0);
    }
    // 255: never given a number, so not the real number 0: unknown until a mapping.
    EXPECT_TRUE(rig.Record(1).numberUnknown);
    EXPECT_EQ(rig.Record(1).calibrationState, kCalibrationStateUnknown);
    // An end reply changes no record, and ends no exchange while none is awaited.
    rig.panel.OnNumberReadReply(rig.Answer(0, {'A', 'v', '0', '0', '0', 0, 0, 0}));
    EXPECT_EQ(rig.Record(0).touchScreenNumber, 0);
    EXPECT_EQ(rig.devices.Mapping(0), MappingEntry{});
}

TEST(MainPanel, RefreshingARecordKeepsNumbersAndMonitorsInRange)
{
    PanelRig rig(Frames(1));
    rig.Store({{0, 300, 1}});
    rig.devices.WithRecord(0, [](TouchScreenRecord& r) { r.touchScreenNumber = 255; });
    rig.panel.RefreshRecord(0);
    EXPECT_EQ(rig.Record(0).touchScreenNumber, 0);
    EXPECT_EQ(rig.Record(0).monitorNumber, 0) << "monitor 300 is taken as 0";
    EXPECT_EQ(rig.Record(0).calibrationState, 1);

    rig.Store({{0, 255, 0}});
    rig.panel.RefreshRecord(0);
    EXPECT_EQ(rig.Record(0).monitorNumber, 255);
    rig.Store({{0, -1, 0}});
    rig.panel.RefreshRecord(0);
    EXPECT_EQ(rig.Record(0).monitorNumber, 0) << "-1 is above 255 unsigned";
}

TEST(MainPanel, AMonitorThatGoesIsShownByIconAndNoteAndCalibrateTakesThePrimary)
{
    // Without language files a text is its key: "190" is the note, "10" the usual line.
    PanelRig rig(Frames(2, [](unsigned i, SimFrameSetup& f) { f.touchScreenNumber = static_cast<int>(5 + 2 * i); }));
    rig.Store({{5, 1, 1}, {7, 0, 1}});
    const MonitorRect second{1280, 0, 2560, 1024};
    rig.monitors.monitors = {{0, 0, 1280, 1024}, second};
    rig.devices.RefreshMonitors();
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    const TouchScreenListItem onFirst{L"TouchScreen No.7 \n   Monitor     No.0", kListImageCalibrated};
    const TouchScreenListItem onSecond{L"TouchScreen No.5 \n   Monitor     No.1", kListImageCalibrated};
    EXPECT_EQ(rig.view.items, (std::vector{onSecond, onFirst}));
    EXPECT_EQ(rig.view.note, L"10");

    // Unplugged while the program runs: WM_DISPLAYCHANGE refreshes the list,
    // the label stays, the icon and the line under the list tell.
    rig.monitors.monitors.pop_back();
    const std::size_t calls = rig.configuration.calls.size();
    rig.panel.OnDisplayChange();
    TouchScreenListItem gone = onSecond;
    gone.image = kListImageMonitorGone;
    gone.note = L"190";
    EXPECT_EQ(rig.view.items, (std::vector{gone, onFirst}));
    EXPECT_EQ(rig.view.note, L"190");
    rig.panel.OnSelectionChanged(1);
    EXPECT_EQ(rig.view.note, L"10");
    rig.panel.OnSelectionChanged(0);
    EXPECT_EQ(rig.view.note, L"190");
    EXPECT_TRUE(rig.view.actionsEnabled) << "it can be calibrated";
    EXPECT_FALSE(FullScreenCalibrationRect(rig.devices, rig.configuration, 0)) << "over the primary monitor";
    for (std::size_t i = calls; i < rig.configuration.calls.size(); ++i)
        EXPECT_NE(rig.configuration.calls[i].name, "SetDeviceConfig") << "nothing stored";
    EXPECT_EQ(rig.configuration.devices[5].MonitorID, 1);

    // Plugged in again.
    rig.monitors.monitors.push_back(second);
    rig.panel.OnDisplayChange();
    EXPECT_EQ(rig.view.items, (std::vector{onSecond, onFirst}));
    EXPECT_EQ(rig.view.note, L"10");
}

TEST(MainPanel, TheRefitAtStartAndOnADisplayChangeReachesTheList)
{
    // 5 calibrated on a 1280 x 1024 monitor, 7 holding no consistent
    // calibration, 9 never calibrated; the monitor is 1920 x 1080 now.
    PanelRig rig(Frames(3, [](unsigned i, SimFrameSetup& f) { f.touchScreenNumber = static_cast<int>(5 + 2 * i); }),
                 true);
    rig.Store({{7, 0, 1}, {9, 0, 0}});
    rig.configuration.devices[5] =
        RecordCalibratedOn(1280, 1024, {{{100, 110}, {3995, 120}, {130, 3900}, {4000, 3990}}}, 5);
    rig.monitors.monitors = {{0, 0, 1920, 1080}};
    auto stores = [&] {
        return std::count_if(rig.configuration.calls.begin(), rig.configuration.calls.end(),
                             [](const auto& call) { return call.name == "SetDeviceConfig"; });
    };

    // Without language files a text is its key ("185": the re-fit's reason).
    rig.panel.Open(kWindow);
    EXPECT_EQ(stores(), 0) << "not before the numbers are known";
    ASSERT_TRUE(rig.PumpUntilReady());
    EXPECT_EQ(rig.view.items, (std::vector<TouchScreenListItem>{
                                  {L"TouchScreen No.5 \n   Monitor     No.0", kListImageRefitted, L"191"},
                                  {L"TouchScreen No.7 \n   Monitor     No.0", kListImageNotCalibrated, L"192"},
                                  {L"TouchScreen No.9 \n   Monitor     No.0", kListImageNotCalibrated}}));
    EXPECT_EQ(rig.view.note, L"191");
    EXPECT_EQ(stores(), 1) << "5 re-fitted once";
    EXPECT_EQ(rig.configuration.devices[5].AreaWidth, 1920);

    // Back to 1280 x 1024 while the program runs: re-fitted again, still
    // shown so; an unchanged display then writes nothing.
    rig.monitors.monitors = {{0, 0, 1280, 1024}};
    rig.panel.OnDisplayChange();
    EXPECT_EQ(rig.configuration.devices[5].AreaWidth, 1280);
    EXPECT_EQ(rig.view.items[0].image, kListImageRefitted);
    EXPECT_EQ(rig.view.items[1].note, L"192");
    rig.panel.OnDisplayChange();
    EXPECT_EQ(stores(), 2);
}

TEST(MainPanel, ActionsNeedASelectedTouchScreenWhoseCalibrationStateIsZeroOrOne)
{
    PanelRig rig(Frames(3));
    rig.Store({{0, 0, 2}, {1, 0, 1}, {2, 0, 0}});
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    EXPECT_EQ(rig.panel.Selected(), 0);
    EXPECT_FALSE(rig.view.actionsEnabled) << "calibration state 2";
    rig.panel.OnSelectionChanged(1);
    EXPECT_TRUE(rig.view.actionsEnabled);
    rig.panel.OnSelectionChanged(2);
    EXPECT_TRUE(rig.view.actionsEnabled);
    rig.panel.OnSelectionChanged(-1);
    EXPECT_FALSE(rig.view.actionsEnabled);
}

TEST(MainPanel, UnpluggingTheSelectedTouchScreenClearsTheSelection)
{
    PanelRig rig(Frames(3));
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    const NotificationHandle notification = rig.Record(0).notification;
    ASSERT_TRUE(rig.view.actionsEnabled);

    rig.port.Unplug(0);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.view.items.size() == 2 && !rig.unregistered.empty(); }));
    EXPECT_EQ(rig.panel.Selected(), -1);
    EXPECT_EQ(rig.view.selected, -1);
    EXPECT_FALSE(rig.view.actionsEnabled);
    EXPECT_EQ(rig.window.removedSlots, std::vector<int>{0});
    EXPECT_EQ(rig.unregistered, std::vector<NotificationHandle>{notification});
    EXPECT_EQ(rig.view.items[0].text, L"TouchScreen No.1 \n   Monitor     No.0") << "the later ones moved down";

    // Picking one again enables the actions; unplugging another keeps it.
    rig.panel.OnSelectionChanged(1);
    EXPECT_TRUE(rig.view.actionsEnabled);
    rig.port.Unplug(1);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.view.items.size() == 1; }));
    EXPECT_EQ(rig.panel.Selected(), 0) << "the list selects its first item again";
    EXPECT_TRUE(rig.view.actionsEnabled);
    EXPECT_EQ(rig.window.quits, 0);

    rig.port.Unplug(2);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.view.items.empty(); }));
    EXPECT_EQ(rig.window.quits, 1) << "the last one unplugged ends the program";
    EXPECT_FALSE(rig.view.actionsEnabled);
}

TEST(MainPanel, SavingTheMappingWritesTheSlotIntoEachBoundTouchScreen)
{
    const std::wstring log = FreshFrameLog("panel_save1");
    PanelRig rig(Frames(3, [&](unsigned i, SimFrameSetup& f) {
        f.touchScreenNumber = 40 + static_cast<int>(i);
        if (i == 1)
            f.logFile = log;
    }));
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    // As the mapping dialog leaves them: slot 1 is not bound.
    rig.devices.SetMapping(0, {rig.devices.HandleOf(0), 1, 7});
    rig.devices.SetMapping(1, {rig.devices.HandleOf(1), 2, 8});
    rig.devices.SetMapping(2, {rig.devices.HandleOf(2), 0, 9});
    rig.MarkBound({0, 2});
    std::filesystem::remove(log);

    rig.panel.OnMappingClosed();
    ASSERT_TRUE(rig.PumpUntilReady(2));
    EXPECT_TRUE(rig.saveFailures.empty());
    EXPECT_EQ(rig.port.FrameAt(0)->StoredNumber(), 0);
    EXPECT_EQ(rig.port.FrameAt(1)->StoredNumber(), 41) << "not bound: left alone";
    EXPECT_EQ(rig.port.FrameAt(2)->StoredNumber(), 2);
    EXPECT_TRUE(FrameCommands(log).empty());
    EXPECT_EQ(rig.Record(0).boundInMapping, false) << "saved once";
    EXPECT_EQ(rig.view.items[0].text, L"TouchScreen No.7 \n   Monitor     No.0");
    EXPECT_EQ(rig.view.items[2].text, L"TouchScreen No.9 \n   Monitor     No.0");
    EXPECT_FALSE(rig.AnyStopped());
}

TEST(MainPanel, OneFrameReceivesTheRecordedBytesForTheQueryAndTheSave)
{
    // Asked at once, each of four frames receives what one frame alone does, in its order.
    std::vector<std::wstring> logs;
    for (int i = 0; i < 4; ++i)
        logs.push_back(FreshFrameLog("panel" + std::to_string(i)));
    PanelRig rig(Frames(4, [&](unsigned i, SimFrameSetup& f) { f.logFile = logs[i]; }));
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    for (const std::wstring& log : logs) {
        ExpectFrameLogAsRecorded(log, "startup-query");
        std::filesystem::remove(log);
    }
    rig.devices.SetMapping(0, {rig.devices.HandleOf(0), 0, 3});
    rig.MarkBound({0});
    rig.panel.OnMappingClosed();
    ASSERT_TRUE(rig.PumpUntilReady(2));
    ExpectFrameLogAsRecorded(logs[0], "mapping-save");
}

TEST(MainPanel, AFailedSaveIsReportedAndTheNextTouchScreenIsStillWritten)
{
    PanelRig rig(Frames(2, [](unsigned i, SimFrameSetup& f) {
        f.touchScreenNumber = 40 + static_cast<int>(i);
        if (i == 0)
            f.ignoredCommands = {Command::WriteNumber};
    }));
    rig.MarkBound({0, 1});
    rig.panel.Open(kWindow);
    // Closed while the start-up query runs: the save follows the query.
    rig.panel.OnMappingClosed();
    rig.panel.OnMappingClosed(); // asked twice meanwhile: saved once
    ASSERT_TRUE(rig.PumpUntilReady(2, 15s));
    EXPECT_EQ(rig.saveFailures, std::vector<unsigned>{0});
    std::ifstream log("Main.Log");
    std::string line, last;
    while (std::getline(log, line))
        last = line;
    EXPECT_TRUE(last.ends_with("Save Match info failed! (WriteNumber failed with error 1460)")) << last;
    EXPECT_EQ(rig.port.FrameAt(0)->StoredNumber(), 40);
    EXPECT_EQ(rig.port.FrameAt(1)->StoredNumber(), 1);
    EXPECT_FALSE(rig.AnyStopped());
    EXPECT_FALSE(rig.PumpUntilReady(3, 1s));
    // Which number the failed one holds is not known: nothing may be written under one.
    rig.panel.OnSelectionChanged(0);
    EXPECT_FALSE(rig.view.actionsEnabled);
    rig.panel.OnSelectionChanged(1);
    EXPECT_TRUE(rig.view.actionsEnabled);
}

TEST(MainPanel, ASaveAskedForJustAsAJobEndsKeepsTheJobsInOrder)
{
    PanelRig rig(Frames(1));
    // The save is asked for exactly between the query giving up the running
    // state and the end of its thread (the job threads run one after the other).
    bool asked = false;
    rig.panel.SetJobReleasedHook([&] {
        if (!std::exchange(asked, true))
            rig.panel.OnMappingClosed();
    });
    // The save's thread, once started, waits until the window asked twice more.
    std::mutex mutex;
    std::condition_variable changed;
    int threadsStarted = 0;
    bool go = false;
    rig.system.onJobThreadStart = [&] {
        std::unique_lock lock(mutex);
        if (++threadsStarted == 2) {
            changed.notify_all();
            changed.wait_for(lock, 10s, [&] { return go; });
        }
    };
    auto started = [&] {
        std::lock_guard lock(mutex);
        return threadsStarted;
    };
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntil([&] { return started() == 2; }));
    rig.panel.OnMappingClosed(); // while the save runs: one more save after it
    rig.panel.OnMappingClosed();
    {
        std::lock_guard lock(mutex);
        go = true;
    }
    changed.notify_all();

    ASSERT_TRUE(rig.PumpUntilReady(3)); // the query, the save, the one more save
    EXPECT_FALSE(rig.PumpUntilReady(4, 1s));
    EXPECT_EQ(started(), 2) << "a job started while another ran";
}

TEST(MainPanel, AJobThatCannotStartEndsAsAFailedOne)
{
    PanelRig rig(Frames(2));
    rig.Store({{0, 1, 1}, {1, 0, 0}});
    rig.system.refuseThreads = true;
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady()) << "the list comes, without the query";
    EXPECT_EQ(rig.view.items.size(), 2u);
    for (int item : {0, 1}) {
        rig.panel.OnSelectionChanged(item);
        EXPECT_FALSE(rig.view.actionsEnabled) << "no number was read: " << item;
    }
    rig.panel.OnMappingClosed();
    ASSERT_TRUE(rig.PumpUntil([&] { return !rig.saveFailures.empty(); }));
}

TEST(MainPanel, ClosingEndsAWaitingQueryAtOnce)
{
    PanelRig rig(Frames(2, [](unsigned, SimFrameSetup& f) { f.silent = true; }));
    rig.panel.Open(kWindow);
    std::this_thread::sleep_for(400ms); // waiting for the first opening answer
    const auto start = Clock::now();
    rig.panel.Close();
    EXPECT_LT(Clock::now() - start, 200ms);
    rig.panel.OnMappingClosed(); // starts nothing once closed
    EXPECT_FALSE(rig.panel.ListIsReady());
}

TEST(MainPanel, HelpReportsAMissingManualAndAMissingReader)
{
    EXPECT_EQ(HelpFailureTextKey(2), L"73");
    EXPECT_EQ(HelpFailureTextKey(31), L"74");
    EXPECT_EQ(HelpFailureTextKey(33), std::nullopt);
    EXPECT_EQ(HelpFailureTextKey(5), std::nullopt);
}

TEST(MainPanel, DiagnosticsAndAMappingSaveNeverRunTogether)
{
    PanelRig rig(Frames(2, [](unsigned i, SimFrameSetup& f) { f.touchScreenNumber = 40 + static_cast<int>(i); }));
    rig.panel.Open(kWindow);
    ASSERT_TRUE(rig.PumpUntilReady());
    // A save running: neither Diagnostics nor another mapping may start.
    rig.MarkBound({0});
    rig.panel.OnMappingClosed();
    EXPECT_EQ(rig.view.actions, (MainActions{true, false, false, true}));
    ASSERT_TRUE(rig.PumpUntilReady(2));
    EXPECT_EQ(rig.view.actions, (MainActions{true, true, true, true}));

    // Diagnostics running: a save asked for waits until it ends.
    rig.MarkBound({1});
    rig.panel.DiagnosticsBegin();
    rig.panel.OnMappingClosed();
    EXPECT_FALSE(rig.PumpUntilReady(3, 500ms));
    EXPECT_EQ(rig.port.FrameAt(1)->StoredNumber(), 41);
    rig.panel.DiagnosticsEnd();
    ASSERT_TRUE(rig.PumpUntilReady(3));
    EXPECT_EQ(rig.port.FrameAt(1)->StoredNumber(), 1) << "saved once Diagnostics ended";
    EXPECT_TRUE(rig.saveFailures.empty());
}
