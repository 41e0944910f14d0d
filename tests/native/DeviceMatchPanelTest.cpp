// The mapping dialog's behaviour against virtual frames and the real device
// thread, its 30-second timer driven by a clock of the test's own. The test
// plays both windows: the mapping window's touches go to the mapping panel,
// the main window's messages are recorded.

#include "calibration/DeviceMatchPanel.h"
#include "FakeConfigurationLibrary.h"
#include "app/ConsoleMailbox.h"
#include "calibration/MappingClosedRecord.h"
#include "config/DeviceKey.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <optional>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

WindowHandle const kMainWindow = reinterpret_cast<WindowHandle>(0x7001);
WindowHandle const kMappingWindow = reinterpret_cast<WindowHandle>(0x7002);

// The mapping window as the panel sees it, with a clock that fires its
// timer: WM_TIMER comes every period until the timer is stopped.
class CClockedView : public IDeviceMatchView {
public:
    void CoverMonitor(const MonitorEntry& monitor) override { covered.push_back(monitor.index); }
    void HideCursor() override { --cursorCount; }
    void ShowCursor() override { ++cursorCount; }
    void StartTimer(unsigned id, unsigned ms) override { timer = Timer{id, ms, now + ms}; }
    // Moves the clock on, firing the timer at each of its periods.
    void StopTimer(unsigned id) override
    {
        if (timer && timer->id == id)
            timer.reset();
    }
    void Close() override { ++closeRequests; }

    void Elapse(CDeviceMatchPanel& panel, std::int64_t ms)
    {
        const std::int64_t until = now + ms;
        while (timer && timer->due <= until) {
            now = timer->due;
            timer->due += timer->period;
            panel.OnTimer(timer->id);
        }
        now = until;
    }

    struct Timer {
        unsigned id;
        std::int64_t period, due;
    };
    std::optional<Timer> timer;
    std::int64_t now = 0;
    std::vector<int> covered;
    int cursorCount = 0; // 0 shown, below 0 hidden
    int closeRequests = 0;
};

struct MappingRig {
    MappingRig(unsigned frames, unsigned monitorCount, std::int32_t enableTouch = 1)
        : port(Numbered(frames), &windows), devices(port, Monitors(monitorCount), windows),
          thread(port, windows, devices, state, system),
          panel(
              DeviceMatchServices{devices, configuration,
                                  [this](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); },
                                  windows},
              view)
    {
        windows.AlsoAnswerTo(kMappingWindow);
        configuration.driver.EnableTouch = enableTouch;
        thread.Start();
    }
    ~MappingRig() { thread.Stop(); }

    static SimScenario Numbered(unsigned count)
    {
        SimScenario scenario = MakeCountedScenario(count);
        for (unsigned i = 0; i < count; ++i)
            scenario.frames[i].touchScreenNumber = 40 + static_cast<int>(i);
        return scenario;
    }
    CFixedMonitors& Monitors(unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
            monitors.monitors.push_back({int(i) * 1280, 0, int(i + 1) * 1280, 1024});
        return monitors;
    }
    bool AllFrames(bool streaming)
    {
        for (auto end = Clock::now() + 5s; Clock::now() < end; std::this_thread::sleep_for(5ms)) {
            bool all = true;
            for (unsigned i = 0; i < devices.Count(); ++i)
                all = all && port.FrameAt(i)->Streaming() == streaming;
            if (all)
                return true;
        }
        return false;
    }
    void Open()
    {
        panel.Open(kMappingWindow, kMainWindow);
        ASSERT_TRUE(AllFrames(true));
    }
    // Frame `index` is touched; its touch is handed to the panel as the
    // mapping window's table would.
    void Touch(unsigned index)
    {
        port.FrameAt(index)->QueueTouch(100, 200);
        for (auto end = Clock::now() + 5s; Clock::now() < end;) {
            auto m = windows.Take(50ms);
            if (!m)
                continue;
            if (m->window == kMappingWindow && m->message == WM_TOUCH_POINT) {
                panel.OnTouchPoint(CConsoleMailbox::TakeReply(*m));
                return;
            }
            Keep(*m);
        }
        FAIL() << "no touch from frame " << index;
    }
    // The main window's messages so far, other than touches.
    void Drain()
    {
        while (auto m = windows.Take(0ms))
            Keep(*m);
    }
    void Keep(const CConsoleMailbox::Message& m)
    {
        if (m.window == kMainWindow && (m.message == WM_MAPPING_END || m.message == WM_MAPPING_CLOSED))
            toMain.push_back(m.message);
        if (m.message == WM_MAPPING_CLOSED)
            lastMonitor = reinterpret_cast<MappingClosedRecord*>(m.lParam)->lastMonitor;
        CConsoleMailbox::Free(m);
    }
    std::vector<std::int32_t> SetDeviceCalls()
    {
        std::vector<std::int32_t> numbers;
        for (const auto& call : configuration.calls)
            if (call.name == "SetDeviceConfig")
                numbers.push_back(call.touchScreen);
        return numbers;
    }

    CConsoleMailbox windows{kMainWindow};
    CFixedMonitors monitors;
    CSimHidPort port;
    CDeviceManager devices;
    CProtocolState state;
    CStandardSystem system;
    CDeviceThread thread;
    CFakeConfigurationLibrary configuration;
    CClockedView view;
    CDeviceMatchPanel panel;
    std::vector<unsigned> toMain;
    int lastMonitor = -1;
};

const std::vector<unsigned> kEndThenClosed = {WM_MAPPING_END, WM_MAPPING_CLOSED};

TEST(DeviceMatchPanel, OneMonitorFirstTouchMapsEveryTouchScreenAndEndsAtOnce)
{
    MappingRig rig(3, 1);
    rig.Open();
    EXPECT_EQ(rig.view.cursorCount, -1);
    EXPECT_EQ(rig.view.covered, std::vector<int>{0});
    rig.Touch(1);
    EXPECT_EQ(rig.view.closeRequests, 1);
    EXPECT_EQ(rig.view.cursorCount, 0);
    for (std::int32_t slot = 0; slot < 3; ++slot) {
        const DeviceConfig& stored = rig.configuration.devices[slot];
        EXPECT_EQ(stored.MonitorID, 0);
        EXPECT_EQ(stored.IsCalibrate, 0) << "not calibrated before, not calibrated after";
        EXPECT_EQ(rig.devices.Mapping(unsigned(slot)), (MappingEntry{rig.devices.HandleOf(unsigned(slot)), 0, slot}))
            << "every touchscreen written gets its number saved";
    }
    EXPECT_EQ(rig.configuration.calls.back().deviceKey, DeviceKeyFromObjectName(L"\\Device\\USBPDO-5"));
    rig.panel.Finish(); // the WM_CLOSE the panel asked for
    EXPECT_TRUE(rig.AllFrames(false));
    rig.Drain();
    EXPECT_EQ(rig.toMain, kEndThenClosed);
}

TEST(DeviceMatchPanel, WithoutTouchEachMonitorIsShownThirtySecondsAndNothingIsStored)
{
    // EnableTouch 1 without a touch, and EnableTouch 0 with touches, end alike.
    for (std::int32_t enableTouch : {1, 0}) {
        MappingRig rig(2, 2, enableTouch);
        rig.Open();
        if (enableTouch == 0)
            rig.Touch(0);
        EXPECT_EQ(rig.panel.MonitorNumberText(), L"1");
        rig.view.Elapse(rig.panel, 29999);
        EXPECT_EQ(rig.panel.MonitorNumberText(), L"1");
        rig.view.Elapse(rig.panel, 1);
        EXPECT_EQ(rig.panel.MonitorNumberText(), L"2");
        EXPECT_EQ(rig.view.covered, (std::vector<int>{0, 1}));
        rig.view.Elapse(rig.panel, 30000);
        EXPECT_EQ(rig.view.closeRequests, 1);
        rig.panel.Finish();
        rig.view.Elapse(rig.panel, 90000);
        EXPECT_EQ(rig.view.covered.size(), 2u) << "the timer is stopped";
        EXPECT_TRUE(rig.SetDeviceCalls().empty());
        EXPECT_EQ(rig.devices.Mapping(0), MappingEntry{});
        EXPECT_TRUE(rig.AllFrames(false));
        rig.Drain();
        EXPECT_EQ(rig.toMain, kEndThenClosed) << "EnableTouch " << enableTouch;
        EXPECT_EQ(rig.lastMonitor, 2);
    }
}

TEST(DeviceMatchPanel, TheTenthMonitorShowsItsWholeNumber)
{
    MappingRig rig(1, 12);
    rig.Open();
    rig.view.Elapse(rig.panel, 9 * 30000);
    EXPECT_EQ(rig.panel.CurrentMonitor(), 9);
    EXPECT_EQ(rig.panel.MonitorNumberText(), L"10");
    rig.panel.Finish();
}

TEST(DeviceMatchPanel, EscOnTheFirstMonitorStopsEveryTouchScreenAndEndsOnce)
{
    MappingRig rig(3, 2);
    rig.Open();
    rig.panel.Finish(); // Esc
    rig.panel.Finish(); // the window's WM_CLOSE or destruction after it
    EXPECT_EQ(rig.view.cursorCount, 0);
    EXPECT_FALSE(rig.view.timer);
    EXPECT_TRUE(rig.AllFrames(false));
    rig.Drain();
    EXPECT_EQ(rig.toMain, kEndThenClosed);
    EXPECT_EQ(rig.lastMonitor, 0);
}

TEST(DeviceMatchPanel, AnUnpluggedTouchScreenLosesItsBindingAndTheOthersGoOn)
{
    MappingRig rig(3, 3);
    rig.Open();
    rig.Touch(2); // monitor 0
    const DeviceHandle third = rig.devices.HandleOf(2);
    rig.devices.RemoveComplete(rig.devices.HandleOf(0));
    rig.panel.OnTouchScreenRemoved();
    // The third touchscreen now lies in slot 1: stored again under number 1.
    EXPECT_EQ(rig.configuration.devices[1].MonitorID, 0);
    EXPECT_EQ(rig.devices.Mapping(1), (MappingEntry{third, 0, 1}));
    rig.Touch(1); // the second, now slot 0, on monitor 1
    EXPECT_EQ(rig.devices.Mapping(0), (MappingEntry{rig.devices.HandleOf(0), 1, 0}));
    EXPECT_EQ(rig.panel.CurrentMonitor(), 2);
    for (DeviceHandle t : rig.devices.Identities()) {
        rig.devices.RemoveComplete(t);
        rig.panel.OnTouchScreenRemoved();
    }
    EXPECT_TRUE(rig.panel.Finished()) << "no touchscreen left";
    EXPECT_EQ(rig.view.closeRequests, 1);
    EXPECT_EQ(rig.view.cursorCount, 0);
    rig.Drain();
    EXPECT_EQ(rig.toMain, kEndThenClosed);
}

TEST(DeviceMatchPanel, ALaterTouchRebindsAndOnlyWhatThisMappingBoundIsSaved)
{
    MappingRig rig(3, 3);
    rig.devices.SetMapping(1, {rig.devices.HandleOf(1), 0, 41}); // as the start-up query left it
    rig.Open();
    rig.Touch(0); // monitor 0
    rig.Touch(2); // monitor 1
    rig.Touch(0); // monitor 2: the later binding wins
    EXPECT_EQ(rig.SetDeviceCalls(), (std::vector<std::int32_t>{0, 2, 0}));
    EXPECT_EQ(rig.configuration.devices[0].MonitorID, 2);
    EXPECT_EQ(rig.configuration.devices[2].MonitorID, 1);
    EXPECT_EQ(rig.devices.Mapping(0), (MappingEntry{rig.devices.HandleOf(0), 2, 0}));
    EXPECT_EQ(rig.devices.Mapping(1), (MappingEntry{rig.devices.HandleOf(1), 0, 41})) << "not touched: kept";
    EXPECT_EQ(rig.devices.Mapping(2), (MappingEntry{rig.devices.HandleOf(2), 1, 2}));
    rig.panel.Finish();
}

TEST(DeviceMatchPanel, BindingsKeepOtherMonitorsAndMoveEachRecordWithItsNumber)
{
    constexpr int kTimeOut = -1;
    using Record = std::pair<std::int32_t, std::int32_t>; // M1X, IsCalibrate
    struct Case {
        const char* name;
        unsigned monitors;
        std::vector<std::int32_t> numbers;   // each slot's before the mapping; -1 unknown
        std::vector<int> touches;            // a frame, or a monitor's time running out
        std::vector<std::int32_t> monitorOf; // each slot's mapping entry afterwards
        std::map<std::int32_t, Record> after;
    };
    // Numbers 0 and 1 are stored calibrated, their M1X 100 + number.
    std::map<std::int32_t, DeviceConfig> stored;
    for (std::int32_t number : {0, 1})
        stored[number] =
            FromSlots({0, 0, 0, 0, 0, 0, 0, 100 + number, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, number, 0, 1});
    const Case cases[] = {
        {"numbers 1 and 0 swap", 2, {1, 0}, {0, 1}, {0, 1}, {{0, {101, 1}}, {1, {100, 1}}}},
        {"an uncalibrated one stays so", 2, {5, 0}, {0, 1}, {0, 1}, {{0, {0, 0}}, {1, {100, 1}}}},
        {"no number: nothing of its own", 2, {-1, 0}, {0, 1}, {0, 1}, {{0, {0, 0}}, {1, {100, 1}}}},
        {"an untouched one keeps its monitor", 2, {0, 1}, {0, kTimeOut}, {0, 1}, {{0, {100, 1}}, {1, {101, 1}}}},
        {"a touch after the last monitor", 2, {0, 1}, {1, 0, 1}, {1, 0}, {}},
        {"one monitor, a touch after it", 1, {0, 1}, {0, 1}, {0, 0}, {}},
    };
    for (const Case& c : cases) {
        MappingRig rig(2, c.monitors);
        rig.configuration.devices = stored;
        for (unsigned slot = 0; slot < 2; ++slot)
            rig.devices.WithRecord(slot, [&](TouchScreenRecord& r) {
                r.numberUnknown = c.numbers[slot] < 0;
                r.touchScreenNumber = std::max(c.numbers[slot], 0);
            });
        rig.devices.SetMapping(1, {rig.devices.HandleOf(1), 1, 41}); // as the start-up query left it
        rig.Open();
        for (int touch : c.touches)
            touch == kTimeOut ? rig.view.Elapse(rig.panel, kMappingTimePerMonitorMs) : rig.Touch(unsigned(touch));
        for (unsigned slot = 0; slot < 2; ++slot)
            EXPECT_EQ(rig.devices.Mapping(slot).monitorNumber, c.monitorOf[slot]) << c.name << ", slot " << slot;
        for (const auto& [number, expected] : c.after) {
            const DeviceConfig& record = rig.configuration.devices[number];
            EXPECT_EQ(Record(record.M1X, record.IsCalibrate), expected) << c.name << ", number " << number;
        }
        rig.panel.Finish();
    }
}

} // namespace
