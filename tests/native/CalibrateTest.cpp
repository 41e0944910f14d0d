// Calibration against virtual frames, the real device thread and the
// configuration library over the in-memory registry. The test plays the
// calibration window and the main window: it takes what is posted and hands
// it to the panels as their message tables do.

#include "FakeConfigurationLibrary.h"
#include "FrameLog.h"
#include "SimEngine.h"
#include "app/ConsoleMailbox.h"
#include "app/MainPanel.h"
#include "calibration/ApplyCalibration.h"
#include "calibration/CalibratePanel.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationRefit.h"
#include "calibration/InterruptedCalibration.h"
#include "calibration/RegionCalibrationPanel.h"
#include "calibration/RegionSelection.h"
#include "calibration/TouchSetCheck.h"
#include "config/DeviceKey.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/DeviceBroadcast.h"
#include "platform/MemoryRegistry.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/Platform.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

namespace {

using namespace std::chrono_literals;
WindowHandle const kMainWindow = reinterpret_cast<WindowHandle>(0x7001);
WindowHandle const kCalibrationWindow = reinterpret_cast<WindowHandle>(0x7002);

using Posted = CConsoleMailbox::Message;

// Both windows' queue; removal notices go to the calibration window.
struct CQueue : CConsoleMailbox {
    CQueue() : CConsoleMailbox(kMainWindow) { AlsoAnswerTo(kCalibrationWindow); }
    void PostToOwnWindows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        Post(kCalibrationWindow, message, wParam, lParam);
    }
};

// Records what the panel shows, and every command it sends, in one sequence.
class CView : public ICalibrateView {
public:
    std::vector<std::string> events;
    bool buttons = false, pointer = true, countdown = false, ended = false, kept = false, closePosted = false;
    bool instructions = true;
    std::vector<std::wstring> cancelTexts;
    std::wstring notice;
    std::vector<TrailSegment> trail;
    int removedBoxes = 0;
    int hookStops = 0;
    ScreenRect window{0, 0, 1920, 1080};

    void ShowHints(Hints hints, bool shown) override
    {
        instructions = shown;
        events.push_back(hints == Hints::Review ? "review hints" : "collecting hints");
    }
    void ShowReviewButtons(bool show) override
    {
        buttons = show;
        events.push_back(show ? "buttons" : "no buttons");
    }
    void SetCancelText(const std::wstring& text) override { cancelTexts.push_back(text); }
    void ShowNotice(const std::wstring& text) override { notice = text; }
    void DrawTrail(const TrailSegment& piece) override { trail.push_back(piece); }
    void ShowPointer(bool show) override { pointer = show; }
    void StartCountdown() override { countdown = true; }
    void StopCountdown() override { countdown = false; }
    void Redraw() override {}
    ScreenRect WindowRect() override { return window; }
    ScreenSize PrimaryScreenSize() override { return {1920, 1080}; }
    void ShowRemovedMessage() override { ++removedBoxes; }
    void EndDialog(bool keep) override
    {
        ended = true;
        kept = keep;
    }
    void PostClose() override { closePosted = true; }
};

// Both windows' queue is the first base so that it outlives the device
// thread, which starts once the platform is set.
struct Rig : CQueue, SimEngine {
    explicit Rig(unsigned frames, std::vector<SimTouch> touches = {}, const std::wstring& log = {})
        : SimEngine(Scenario(frames, std::move(touches), log), *this, false),
          main(MainPanelServices{devices, state, port, queue, Poster(), system, configuration}, mainView)
    {
        PlatformServices platform;
        platform.registry = &registry;
        SetPlatform(platform);
        thread.Start();
        for (unsigned slot = 0; slot < frames; ++slot)
            devices.WithRecord(slot, [&](TouchScreenRecord& r) { r.touchScreenNumber = static_cast<int>(slot) + 4; });
        DriverConfig driver{};
        driver.EnableTouch = 1;
        driver.BeepFrequency = 2000;
        configuration.SetDriverConfig(driver);
        for (unsigned slot = 0; slot < frames; ++slot) {
            configuration.SetDeviceConfig(Key(slot), Previous(static_cast<int>(slot) + 4));
            before.push_back(ToSlots(Stored(static_cast<int>(slot) + 4)));
        }
    }
    ~Rig()
    {
        Forget();
        thread.Stop();
        SetPlatform(PlatformServices{});
    }
    static SimScenario Scenario(unsigned frames, std::vector<SimTouch> touches, const std::wstring& log)
    {
        SimScenario scenario = MakeCountedScenario(frames);
        for (SimFrameSetup& frame : scenario.frames) {
            frame.touches = touches;
            frame.logFile = log;
        }
        return scenario;
    }
    // A stored record with every slot its own value: what a calibration must carry or put back.
    static DeviceConfig Previous(int number)
    {
        DeviceConfigSlots slots{};
        for (std::size_t i = 0; i < slots.size(); ++i)
            slots[i] = static_cast<std::int32_t>(100 + i);
        DeviceConfig config = FromSlots(slots);
        config.TouchScreenNumber = number;
        config.IsCalibrate = 0;
        return config;
    }
    std::uint32_t Key(unsigned slot)
    {
        std::uint32_t key = 0;
        devices.WithRecord(slot,
                           [&](const TouchScreenRecord& r) { key = DeviceKeyFromObjectName(r.deviceObjectName); });
        return key;
    }
    RequestPoster Poster()
    {
        return [this](std::unique_ptr<DeviceRequest> r) {
            view.events.push_back("send " + std::to_string(CommandOf(r->report)));
            return thread.PostRequest(std::move(r));
        };
    }
    void Open(unsigned slot, bool instructions = true)
    {
        calibration = std::make_unique<CCalibratePanel>(CalibratePanelServices{devices, state, Poster(), queue,
                                                                               configuration, kMainWindow,
                                                                               [this] { ++view.hookStops; }, &registry},
                                                        view, slot, instructions);
        main.SetOpenCalibration(calibration.get());
        calibration->Open(kCalibrationWindow);
    }
    // The dialog goes without an end message (the program ends).
    void Forget()
    {
        main.SetOpenCalibration(nullptr);
        calibration.reset();
    }
    DeviceConfig Stored(int number)
    {
        DeviceConfig config{};
        config.TouchScreenNumber = number;
        configuration.GetDeviceConfig(config);
        return config;
    }
    std::int32_t Mode()
    {
        DriverConfig driver{};
        configuration.GetDriverConfig(driver);
        return driver.Mode;
    }
    std::unique_ptr<DeviceReply> Touch(unsigned slot, std::uint16_t x, std::uint16_t y)
    {
        auto reply = std::make_unique<DeviceReply>();
        reply->deviceHandle = devices.HandleOf(slot);
        reply->report = {
            0x30, 'T', kTouchAnswer, std::uint8_t(x), std::uint8_t(x >> 8), std::uint8_t(y), std::uint8_t(y >> 8)};
        return reply;
    }
    // The four targets of a frame mounted upright.
    void TouchFour(unsigned slot)
    {
        for (auto [x, y] : {std::pair{300, 400}, {3800, 410}, {310, 3700}, {3790, 3690}})
            calibration->OnTouchPoint(Touch(slot, std::uint16_t(x), std::uint16_t(y)));
    }
    // Plays both windows until the condition holds; false after the time-out.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s)
    {
        for (auto end = std::chrono::steady_clock::now() + timeout; !done();) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            if (auto p = queue.Take(20ms))
                Dispatch(*p);
        }
        return true;
    }
    void Dispatch(const Posted& p)
    {
        if (p.message == WM_TOUCH_POINT) {
            std::unique_ptr<DeviceReply> reply = CConsoleMailbox::TakeReply(p);
            ++touchesDelivered;
            if (calibration)
                calibration->OnTouchPoint(std::move(reply));
        } else if (p.window == kMainWindow && (p.message == WM_CALIBRATION_BEGIN || p.message == WM_CALIBRATION_END)) {
            toMain.push_back(p);
            if (p.message == WM_CALIBRATION_END) {
                // As the main window does: the list, then the dialog goes.
                main.OnCalibrationEnd(p.wParam, p.lParam);
                calibration.reset();
            }
        } else if (p.message == WM_TOUCHSCREEN_REMOVED && calibration) {
            calibration->OnRemovalNotice();
        }
    }
    std::vector<Posted> Ends() const
    {
        std::vector<Posted> ends;
        for (const Posted& p : toMain)
            if (p.message == WM_CALIBRATION_END)
                ends.push_back(p);
        return ends;
    }
    std::size_t Count(const std::string& event) const
    {
        return std::count(view.events.begin(), view.events.end(), event);
    }

    CMemoryRegistry registry;
    CSarnetLibrary configuration;
    CQueue& queue = *this;
    struct : IMainPanelView {
        void ShowTouchScreens(const std::vector<TouchScreenListItem>& shown, int) override { items = shown; }
        void EnableActions(const MainActions&) override {}
        void ListReady() override {}
        std::vector<TouchScreenListItem> items;
    } mainView;
    CMainPanel main;
    CView view;
    std::unique_ptr<CCalibratePanel> calibration;
    std::vector<Posted> toMain;
    int touchesDelivered = 0;
    std::vector<DeviceConfigSlots> before; // each slot's stored record before the test
};

const std::string kStart = "send " + std::to_string(Command::StartTouch);
const std::string kStop = "send " + std::to_string(Command::StopTouch);

} // namespace

TEST(ApplyCalibration, StoresPointsAreaAndMonitorAndCarriesEveryOtherSlot)
{
    struct Case {
        const char* name;
        std::vector<MonitorRect> monitors; // enumerated anew by the store
        ScreenRect window;
        std::int32_t mappedMonitor;
        ClickModeAfterStore clickMode;
        // slots 0, 1, 2, 3, 19, 20, 22, 30, 31, 32, 33; driver Mode after
        std::array<std::int32_t, 12> expected;
    };
    const Case cases[] = {
        {"full monitor, mode kept",
         {{0, 0, 1920, 1080}},
         {0, 0, 1920, 1080},
         0,
         ClickModeAfterStore::Keep,
         {65536, 65536, 1920, 1080, 0, 0, 0, 0, 0, 65536, 65536, 1}},
        {"region, mode restored",
         {{0, 0, 1920, 1080}},
         {480, 270, 1440, 810},
         0,
         ClickModeAfterStore::Restore,
         {32768, 32768, 960, 540, 16384, 16384, 0, 16384, 16384, 49152, 49152, 2}},
        {"second monitor",
         {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}},
         {1920, 0, 3840, 1080},
         1,
         ClickModeAfterStore::Keep,
         {65536, 65536, 1920, 1080, 65536, 0, 1, 65536, 0, 131072, 65536, 1}},
        {"unset mapping",
         {{0, 0, 1920, 1080}},
         {0, 0, 1920, 1080},
         -1,
         ClickModeAfterStore::Keep,
         {65536, 65536, 1920, 1080, 0, 0, -1, 0, 0, 65536, 65536, 1}},
    };
    for (const Case& c : cases) {
        Rig rig(1);
        DriverConfig driver{};
        driver.Mode = 1;
        driver.BeepFrequency = 2000;
        rig.configuration.SetDriverConfig(driver);
        rig.monitors.monitors = c.monitors;
        rig.devices.SetMapping(0, {rig.devices.HandleOf(0), c.mappedMonitor, 4});
        const std::array<RawTouchPoint, 4> points{{{1, 65535}, {4000, 2}, {3, 3999}, {4095, 4094}}};
        const bool stored = ApplyCalibration({rig.devices, rig.configuration}, {0, rig.devices.Identities()[0]}, points,
                                             c.window, {1920, 1080}, 2, c.clickMode);
        EXPECT_TRUE(stored) << c.name;
        const DeviceConfig r = rig.Stored(4);
        EXPECT_EQ((std::array<std::int32_t, 12>{r.AreaWidthScaled, r.AreaHeightScaled, r.AreaWidth, r.AreaHeight,
                                                r.OriginXScaled, r.OriginYScaled, r.MonitorID, r.AreaLeftScaled,
                                                r.AreaTopScaled, r.AreaRightScaled, r.AreaBottomScaled, rig.Mode()}),
                  c.expected)
            << c.name;
        EXPECT_EQ((std::array{r.M1X, r.M1Y, r.M2X, r.M2Y, r.M3X, r.M3Y, r.M4X, r.M4Y}),
                  (std::array{1, 65535, 4000, 2, 3, 3999, 4095, 4094}))
            << c.name;
        EXPECT_EQ(r.IsCalibrate, 1);
        DriverConfig after{};
        rig.configuration.GetDriverConfig(after);
        EXPECT_EQ(after.BeepFrequency, 2000) << c.name;
        // Every slot the calibration does not name is what was stored before.
        const DeviceConfigSlots before = rig.before[0], now = ToSlots(r);
        for (std::size_t slot : {4, 5, 6, 15, 16, 17, 18, 21, 24, 25, 26, 27, 28, 29})
            EXPECT_EQ(now[slot], before[slot]) << c.name << " slot " << slot;
    }
}

TEST(ApplyCalibration, StoresNothingForATouchScreenUnpluggedMeanwhile)
{
    Rig rig(2);
    const DeviceHandle first = rig.devices.Identities()[0];
    rig.devices.RemoveComplete(first);
    // Slot 0 now holds the second touchscreen: its record must not change.
    EXPECT_FALSE(ApplyCalibration({rig.devices, rig.configuration}, {0, first}, {}, {0, 0, 1920, 1080}, {1920, 1080}, 0,
                                  ClickModeAfterStore::Keep));
    EXPECT_EQ(ToSlots(rig.Stored(5)), rig.before[1]);
}

// The re-fit over the stored records: a calibration on 1280 x 1024 follows
// its monitor to 1920 x 1080, is marked and logged once, is right from then
// on, and a new calibration clears the mark.
TEST(CalibrationRefit, StoresKeepsAndMarksUntilCalibratedAgain)
{
    Rig rig(2);
    rig.monitors.monitors = {{0, 0, 1280, 1024}};
    rig.devices.SetMapping(0, {rig.devices.HandleOf(0), 0, 4});
    auto calibrate = [&](const ScreenRect& window) {
        const std::array<RawTouchPoint, 4> points{{{300, 400}, {3800, 410}, {310, 3700}, {3790, 3690}}};
        return ApplyCalibration({rig.devices, rig.configuration, &rig.registry}, {0, rig.devices.Identities()[0]},
                                points, window, {1280, 1024}, 0, ClickModeAfterStore::Keep);
    };
    ASSERT_TRUE(calibrate({0, 0, 1280, 1024}));
    std::vector<std::wstring> log;
    const RefitServices services{
        rig.devices, rig.configuration, rig.registry, [&](std::wstring_view line) { log.emplace_back(line); }, {}};
    EXPECT_EQ(RefitCalibrations(services)[0].state, RefitState::AlreadyRight);

    rig.monitors.monitors = {{0, 0, 1920, 1080}};
    const std::vector<RefitOutcome> outcomes = RefitCalibrations(services);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].state, RefitState::Refitted);
    EXPECT_EQ(outcomes[1].state, RefitState::NotCalibrated);
    EXPECT_EQ(log, std::vector<std::wstring>{L"TouchScreen No.4 re-fitted: 1280x1024 at 0,0 -> 1920x1080 at 0,0"});
    const std::map<std::wstring_view, std::wstring> texts = {{L"180", L"No.%d: %s"}, {L"181", L"re-fitted (%s)"}};
    EXPECT_EQ(RefitOutcomeLine(outcomes[0], [&](std::wstring_view key) { return texts.at(key); }),
              L"No.4: re-fitted (1280x1024 at 0,0 -> 1920x1080 at 0,0)");
    EXPECT_EQ(rig.Stored(4).AreaWidth, 1920);
    EXPECT_TRUE(IsMarkedRefitted(services, 0));
    EXPECT_FALSE(IsMarkedRefitted(services, 1));

    const DeviceConfigSlots refitted = ToSlots(rig.Stored(4));
    EXPECT_EQ(RefitCalibrations(services)[0].state, RefitState::AlreadyRight);
    EXPECT_EQ(ToSlots(rig.Stored(4)), refitted);
    EXPECT_EQ(log.size(), 1u);

    ASSERT_TRUE(calibrate({0, 0, 1920, 1080}));
    EXPECT_FALSE(IsMarkedRefitted(services, 0));
}

TEST(CalibrationLayout, TargetsButtonsAndHintsOfAFullHdWindow)
{
    const std::array<int, 4> radii{24, 16, 8, 33};
    const std::pair<int, int> centres[] = {{240, 180}, {1680, 180}, {240, 900}, {1680, 900}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CalibrationTarget(i, 1920, 1080), (TargetShape{centres[i].first, centres[i].second, 33, radii}));
    const ButtonLayout buttons = LayOutButtons(1920, 1080, 86, 58);
    EXPECT_EQ(buttons.ok, (LayoutRect{917, 511, 86, 58}));
    EXPECT_EQ(buttons.reCalibrate, (LayoutRect{811, 511, 86, 58}));
    EXPECT_EQ(buttons.cancel, (LayoutRect{1023, 511, 86, 58}));
    const auto hints = LayOutHints(1920, 1080, 58, {480, 28, 28, 55, 31, 31, 16});
    EXPECT_EQ(hints[0], (LayoutRect{720, 466, 480, 28}));
    EXPECT_EQ(hints[3], (LayoutRect{720, 466 + 28 + 28 + 55, 480, 25}));
    EXPECT_EQ(hints[6], (LayoutRect{720, 540 + 58 + 31 + 16, 480, 31}));
    // The notice above the first hint; in a small region, inside it.
    EXPECT_EQ(LayOutNotice(1920, 1080, {480, 28, 28, 55, 31, 31, 16}, 33), (LayoutRect{720, 423, 480, 33}));
    EXPECT_EQ(LayOutNotice(200, 200, {480, 28, 28, 55, 31, 31, 16}, 33), (LayoutRect{0, 0, 200, 33}));
}

TEST(RegionSelection, DragsFromEitherCornerAndKeepsOnlyLargeEnoughRegions)
{
    struct Case {
        ScreenPoint from, to;
        std::optional<ScreenRect> region;
    };
    const Case cases[] = {
        {{900, 700}, {300, 200}, ScreenRect{300, 200, 900, 700}},
        {{100, 100}, {300, 300}, ScreenRect{100, 100, 300, 300}}, // exactly 200 x 200
        {{0, 0}, {199, 400}, std::nullopt},
        {{400, 0}, {0, 199}, std::nullopt},
        {{1800, 100}, {2100, 500}, ScreenRect{1800, 100, 2100, 500}}, // over two monitors
    };
    for (const Case& c : cases) {
        CRegionSelection selection;
        EXPECT_FALSE(selection.OnMove(c.from)); // not started: no hint
        selection.Start();
        EXPECT_EQ(selection.OnMove({5, 7}), (LayoutRect{15, 27, 182, 54}));
        EXPECT_TRUE(selection.OnDown(c.from));
        EXPECT_FALSE(selection.OnMove(c.to)); // the hint is gone after the press
        auto region = selection.OnUp(c.to);
        ASSERT_EQ(region.has_value(), c.region.has_value());
        if (region) {
            EXPECT_EQ((std::array{region->left, region->top, region->right, region->bottom}),
                      (std::array{c.region->left, c.region->top, c.region->right, c.region->bottom}));
        }
        EXPECT_EQ(selection.CurrentState(), CRegionSelection::State::Idle);
    }
}

// Region Calibrate end to end: hook and hint while the drag goes on, the
// calibration opened for the touchscreen chosen at the start.
TEST(RegionCalibrationPanel, FollowsThePointerThenOpensTheRegionOfItsTouchScreen)
{
    struct View : IRegionCalibrationView {
        std::vector<std::string> calls;
        ScreenPoint pointer{5, 7};
        void StartPointerHook() override { calls.push_back("hook"); }
        void StopPointerHook() override { calls.push_back("unhook"); }
        bool CreateHint() override { return calls.push_back("hint"), true; }
        void ShowHintAt(const LayoutRect& at, bool) override { calls.push_back(std::to_string(at.left)); }
        void DestroyHint() override { calls.push_back("no hint"); }
        ScreenPoint PointerPosition() override { return pointer; }
        void OpenRegionCalibration(unsigned slot, const ScreenRect& r) override
        {
            calls.push_back("open " + std::to_string(slot) + " " + std::to_string(r.right - r.left));
        }
    };
    Rig rig(1);
    View view;
    CRegionCalibrationPanel panel(rig.devices, view);
    panel.Start(-1); // nothing selected
    panel.OnPointerEvent(RegionPointerEvent::Up);
    EXPECT_TRUE(view.calls.empty());
    panel.Start(0);
    view.pointer = {100, 100};
    panel.OnPointerEvent(RegionPointerEvent::Move);
    panel.OnPointerEvent(RegionPointerEvent::Down);
    view.pointer = {400, 300};
    panel.OnPointerEvent(RegionPointerEvent::Move); // the hint is gone after the press
    panel.OnPointerEvent(RegionPointerEvent::Up);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"hook", "no hint", "hint", "15", "110", "no hint", "no hint",
                                                    "unhook", "open 0 300"}));
    EXPECT_FALSE(panel.Running());
}

TEST(CalibratePanel, FourScriptedTouchesThenOkStoreTheCalibration)
{
    const std::wstring log = FreshFrameLog("calibration");
    Rig rig(1, {{20, 100, 110}, {20, 3995, 120}, {20, 130, 3900}, {20, 4000, 3990}}, log);
    rig.Open(0);
    EXPECT_EQ(rig.Mode(), 1);
    EXPECT_FALSE(rig.view.pointer);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.calibration->PointCount() == 4; }));
    // The stream stops before the buttons show; the result is in force meanwhile.
    const auto& e = rig.view.events;
    EXPECT_LT(std::find(e.begin(), e.end(), kStop), std::find(e.begin(), e.end(), "buttons"));
    EXPECT_TRUE(rig.view.pointer);
    EXPECT_TRUE(rig.view.countdown);
    EXPECT_EQ(rig.Stored(4).IsCalibrate, 1);
    EXPECT_EQ(rig.Mode(), 1);
    // A report that still arrives is not a fifth point.
    rig.calibration->OnTouchPoint(rig.Touch(0, 1, 1));
    EXPECT_EQ(rig.calibration->PointCount(), 4);

    rig.calibration->OnOk();
    const DeviceConfig stored = rig.Stored(4);
    EXPECT_EQ(
        (std::array{stored.M1X, stored.M1Y, stored.M2X, stored.M2Y, stored.M3X, stored.M3Y, stored.M4X, stored.M4Y}),
        (std::array{100, 110, 3995, 120, 130, 3900, 4000, 3990}));
    EXPECT_EQ(stored.AreaWidth, 1920);
    EXPECT_EQ(rig.Mode(), 0);
    EXPECT_TRUE(rig.view.ended && rig.view.kept);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.Ends().size() == 1; }));
    EXPECT_EQ(rig.Ends()[0].wParam, 0u);
    EXPECT_EQ(rig.toMain[0].message, WM_CALIBRATION_BEGIN);
    ASSERT_EQ(rig.mainView.items.size(), 1u);
    EXPECT_EQ(rig.mainView.items[0].image, 1);
    ExpectFrameLogAsRecorded(log, "calibration");
}

TEST(CalibratePanel, EveryWayOutRestoresModeAndRecordOnce)
{
    enum class Way { Cancel, Escape, TimeOut, Close };
    struct Case {
        const char* name;
        bool review;
        Way way;
        std::uintptr_t result;
    };
    const Case cases[] = {
        {"Cancel in review", true, Way::Cancel, 1},      {"Esc in review", true, Way::Escape, 1},
        {"Esc while collecting", false, Way::Escape, 1}, {"31st tick", true, Way::TimeOut, 0},
        {"close in review", true, Way::Close, 0},        {"close while collecting", false, Way::Close, 0},
    };
    for (const Case& c : cases) {
        Rig rig(1);
        rig.Open(0, false);
        if (c.review)
            rig.TouchFour(0);
        ASSERT_EQ(rig.Stored(4).IsCalibrate, c.review ? 1 : 0) << c.name;
        switch (c.way) {
        case Way::Cancel:
            rig.calibration->OnCancel();
            break;
        case Way::Escape:
            rig.calibration->OnEscape();
            break;
        case Way::TimeOut:
            for (int tick = 0; tick < 31; ++tick)
                rig.calibration->OnTick();
            EXPECT_EQ(rig.view.cancelTexts.size(), 30u) << c.name;
            EXPECT_EQ(rig.view.cancelTexts.front(), L"39(30)") << c.name;
            EXPECT_EQ(rig.view.cancelTexts.back(), L"39(1)") << c.name;
            break;
        case Way::Close:
            rig.calibration->OnClose();
            break;
        }
        // Every later way out finds the dialog ended.
        rig.calibration->OnClose();
        rig.calibration->OnEscape();
        rig.calibration->OnTick();

        EXPECT_EQ(ToSlots(rig.Stored(4)), rig.before[0]) << c.name;
        EXPECT_EQ(rig.Mode(), 0) << c.name;
        EXPECT_TRUE(rig.view.pointer && !rig.view.countdown && rig.view.ended && !rig.view.kept) << c.name;
        EXPECT_EQ(rig.Count(kStop), 1u) << c.name;
        EXPECT_EQ(rig.view.hookStops, c.way == Way::Escape ? 1 : 0) << c.name;
        EXPECT_FALSE(rig.view.instructions) << c.name;
        ASSERT_TRUE(rig.PumpUntil([&] { return !rig.Ends().empty(); })) << c.name;
        rig.PumpUntil([] { return false; }, 30ms);
        EXPECT_FALSE(rig.calibration);
        ASSERT_EQ(rig.Ends().size(), 1u) << c.name;
        EXPECT_EQ(rig.Ends()[0].wParam, c.result) << c.name;
        EXPECT_EQ(rig.mainView.items.at(0).image, 0) << c.name; // the list shows what is stored
        EXPECT_FALSE(RestoreInterruptedCalibration(rig.registry, rig.configuration)) << c.name << ": nothing kept";
    }
}

TEST(CalibratePanel, AKilledCalibrationIsPutBackAtTheNextStart)
{
    for (bool review : {false, true}) {
        Rig rig(1);
        rig.Open(0);
        if (review)
            rig.TouchFour(0);
        ASSERT_EQ(rig.Mode(), 1);
        // The process dies here: the next start finds what memory held.
        EXPECT_TRUE(RestoreInterruptedCalibration(rig.registry, rig.configuration));
        EXPECT_EQ(rig.Mode(), 0) << review;
        EXPECT_EQ(ToSlots(rig.Stored(4)), rig.before[0]) << review;
        EXPECT_FALSE(RestoreInterruptedCalibration(rig.registry, rig.configuration)) << "put back once";
    }
    // What cannot be read is dropped, not written.
    CMemoryRegistry registry;
    for (const wchar_t* name : {L"ClickMode", L"Record"})
        registry.SetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, name, L"1 2x");
    CFakeConfigurationLibrary configuration;
    EXPECT_FALSE(RestoreInterruptedCalibration(registry, configuration));
    EXPECT_TRUE(configuration.calls.empty());
}

TEST(CalibratePanel, ProgramEndingDuringACalibrationPutsTheDriverBack)
{
    for (bool review : {false, true}) {
        Rig rig(1);
        rig.Open(0);
        if (review)
            rig.TouchFour(0);
        rig.Forget();
        EXPECT_EQ(rig.Mode(), 0);
        EXPECT_EQ(ToSlots(rig.Stored(4)), rig.before[0]);
        EXPECT_EQ(rig.Count(kStop), 1u);
    }
}

TEST(CalibratePanel, ReCalibrateRunsOneStreamAndCountsEachTouchOnce)
{
    Rig rig(1, {{10, 100, 100}, {10, 400, 100}, {10, 100, 400}, {10, 400, 400}});
    rig.Open(0);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.calibration->PointCount() == 4; }));
    rig.calibration->OnReCalibrate();
    EXPECT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Collecting);
    EXPECT_FALSE(rig.view.pointer);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.calibration->PointCount() == 4; }));
    rig.PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(rig.touchesDelivered, 8);
    EXPECT_EQ(rig.Count(kStart), 2u);
    EXPECT_EQ(rig.Count(kStop), 2u);
    EXPECT_FALSE(rig.state.streams.Streaming());
}

TEST(CalibratePanel, UnpluggingClosesOnlyTheDialogOfTheTouchScreenRemoved)
{
    for (auto [unplugged, review] : {std::pair{0u, false}, {1u, false}, {1u, true}}) {
        Rig rig(2);
        rig.Open(1);
        if (review)
            rig.TouchFour(1);
        const DeviceHandle handle = rig.devices.Identities()[unplugged];
        rig.main.OnDeviceChange(kDbtDeviceRemoveComplete, handle);
        // The window's WM_CLOSE, when one was posted, comes before the removal notice.
        if (rig.view.closePosted)
            rig.calibration->OnClose();
        rig.PumpUntil([] { return false; }, 50ms);
        if (unplugged == 0) {
            // The calibrated touchscreen moved down a slot: still open, re-bound.
            EXPECT_FALSE(rig.view.closePosted);
            EXPECT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Collecting);
            EXPECT_EQ(rig.calibration->TouchScreen().slot, 0u);
            EXPECT_EQ(rig.view.removedBoxes, 0);
            rig.TouchFour(0);
            EXPECT_EQ(rig.calibration->PointCount(), 4);
            continue;
        }
        EXPECT_TRUE(rig.view.closePosted);
        EXPECT_TRUE(rig.view.ended);
        EXPECT_EQ(ToSlots(rig.Stored(5)), rig.before[1]) << "the unconfirmed calibration does not stay";
        EXPECT_EQ(rig.Count(kStop), review ? 1u : 0u); // nothing is sent to a touchscreen that is gone
        EXPECT_EQ(rig.Mode(), 0);
        ASSERT_EQ(rig.Ends().size(), 1u);
        EXPECT_EQ(rig.Ends()[0].wParam, 0u);
        EXPECT_EQ(rig.view.removedBoxes, 1);
    }
}

TEST(TouchSetCheck, AcceptsTheTargetsHoweverTheFrameIsMountedAndRejectsSlips)
{
    struct Case {
        const char* name;
        std::array<RawTouchPoint, 4> points; // top left, top right, bottom left, bottom right
        bool plausible;
    };
    const Case cases[] = {
        {"upright", {{{300, 400}, {3800, 400}, {300, 3700}, {3800, 3700}}}, true},
        {"mirrored left to right", {{{3800, 400}, {300, 400}, {3800, 3700}, {300, 3700}}}, true},
        {"upside down", {{{300, 3700}, {3800, 3700}, {300, 400}, {3800, 400}}}, true},
        {"turned a quarter", {{{400, 300}, {400, 3800}, {3700, 300}, {3700, 3800}}}, true},
        {"turned the other way", {{{3700, 300}, {3700, 3800}, {400, 300}, {400, 3800}}}, true},
        {"skewed within tolerance", {{{300, 400}, {3800, 520}, {860, 3700}, {3760, 3650}}}, true},
        {"a small region", {{{1000, 1000}, {1020, 1000}, {1000, 1020}, {1020, 1020}}}, true},
        // The left edge's two x differ by exactly a quarter of the gap (400), then by one more.
        {"at the tolerance", {{{0, 0}, {450, 0}, {100, 400}, {450, 400}}}, true},
        {"just beyond it", {{{0, 0}, {450, 0}, {101, 400}, {450, 400}}}, false},
        {"skewed beyond tolerance", {{{300, 400}, {3800, 520}, {1400, 3700}, {3760, 3650}}}, false},
        {"first target touched twice", {{{300, 400}, {300, 400}, {300, 3700}, {3800, 3700}}}, false},
        {"first two swapped", {{{3800, 400}, {300, 400}, {300, 3700}, {3800, 3700}}}, false},
        {"last touch in the middle", {{{300, 400}, {3800, 400}, {300, 3700}, {2050, 2050}}}, false},
        {"one spot four times", {{{2000, 2000}, {2003, 2001}, {2001, 2004}, {2004, 2003}}}, false},
        {"along a diagonal", {{{1000, 900}, {2000, 1800}, {3000, 2700}, {4000, 3600}}}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlausibleTouchSet(c.points), c.plausible) << c.name;
}

TEST(CalibratePanel, AWrongTouchSetStoresNothingAndTheNextGoodSetIsStored)
{
    // The second target touched where the first was, then the four targets.
    Rig rig(1, {{20, 100, 110},
                {20, 105, 112},
                {20, 130, 3900},
                {20, 4000, 3990},
                {20, 100, 110},
                {20, 3995, 120},
                {20, 130, 3900},
                {20, 4000, 3990}});
    rig.Open(0);
    ASSERT_TRUE(rig.PumpUntil([&] { return rig.touchesDelivered == 4; }));
    EXPECT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Collecting);
    EXPECT_EQ(rig.calibration->TargetShown(), 0);
    EXPECT_EQ(rig.view.notice, L"150"); // the key itself: no language file here
    EXPECT_EQ(ToSlots(rig.Stored(4)), rig.before[0]);
    EXPECT_EQ(rig.Count(kStop), 0u) << "the stream goes on";
    EXPECT_FALSE(rig.view.buttons);

    ASSERT_TRUE(rig.PumpUntil([&] { return rig.calibration->PointCount() == 4; }));
    EXPECT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Reviewing);
    EXPECT_EQ(rig.view.notice, L"");
    const DeviceConfig stored = rig.Stored(4);
    EXPECT_EQ((std::array{stored.M1X, stored.M2X, stored.M4Y, stored.IsCalibrate}), (std::array{100, 3995, 3990, 1}));
    EXPECT_EQ(rig.Count(kStart), 1u);
    EXPECT_EQ(rig.Count(kStop), 1u);
}

TEST(CalibratePanel, TheReviewKeepsThePointersStrokesUntilReCalibrate)
{
    Rig rig(1);
    rig.Open(0);
    rig.calibration->OnPointerMove({5, 5}); // collecting: no trail
    rig.TouchFour(0);
    ASSERT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Reviewing);
    // A finger under click-on-release: moves, then the release. Then a mouse
    // drag: press, moves (one repeated), release. Then a lone click.
    for (TrailPoint p : std::initializer_list<TrailPoint>{{10, 10}, {20, 12}})
        rig.calibration->OnPointerMove(p);
    rig.calibration->OnPointerRelease({30, 15});
    for (TrailPoint p : std::initializer_list<TrailPoint>{{100, 100}, {110, 100}, {110, 100}})
        rig.calibration->OnPointerMove(p);
    rig.calibration->OnPointerRelease({120, 100});
    rig.calibration->OnPointerRelease({7, 7});
    const std::vector<std::vector<TrailPoint>> strokes = {
        {{10, 10}, {20, 12}, {30, 15}}, {{100, 100}, {110, 100}, {120, 100}}, {{7, 7}}};
    EXPECT_EQ(rig.calibration->Trail().Strokes(), strokes);
    const std::vector<TrailSegment> pieces = {
        {{10, 10}, {10, 10}},     {{10, 10}, {20, 12}},     {{20, 12}, {30, 15}}, {{100, 100}, {100, 100}},
        {{100, 100}, {110, 100}}, {{110, 100}, {120, 100}}, {{7, 7}, {7, 7}},
    };
    EXPECT_EQ(rig.view.trail, pieces);

    rig.calibration->OnReCalibrate();
    EXPECT_TRUE(rig.calibration->Trail().Strokes().empty());
    rig.calibration->OnPointerMove({50, 50});
    EXPECT_TRUE(rig.calibration->Trail().Strokes().empty()) << "collecting again";
    rig.TouchFour(0);
    EXPECT_TRUE(rig.calibration->Trail().Strokes().empty()) << "a new review starts empty";
}

TEST(CalibratePanel, ARefusedRemovalKeepsTheCalibrationBoundToTheReopenedTouchScreen)
{
    Rig rig(2);
    rig.Open(1);
    rig.calibration->OnTouchPoint(rig.Touch(1, 300, 400));
    const DeviceHandle before = rig.devices.Identities()[1];
    rig.main.OnDeviceChange(kDbtDeviceQueryRemove, before);
    rig.main.OnDeviceChange(kDbtDeviceQueryRemoveFailed, before);
    const DeviceHandle after = rig.devices.Identities()[1];
    ASSERT_NE(after, before);
    EXPECT_EQ(rig.calibration->TouchScreen().identity, after);
    EXPECT_EQ(rig.Count(kStart), 2u) << "its stream started again on the new handle";
    // Touches of the reopened touchscreen count; another's removal leaves it open.
    for (auto [x, y] : {std::pair{3800, 410}, {310, 3700}, {3790, 3690}})
        rig.calibration->OnTouchPoint(rig.Touch(1, std::uint16_t(x), std::uint16_t(y)));
    EXPECT_EQ(rig.calibration->PointCount(), 4);
    rig.main.OnDeviceChange(kDbtDeviceRemoveComplete, rig.devices.Identities()[0]);
    rig.PumpUntil([] { return false; }, 50ms);
    EXPECT_EQ(rig.calibration->CurrentPhase(), CCalibratePanel::Phase::Reviewing);
    // Cancel puts the previous record back.
    rig.calibration->OnCancel();
    EXPECT_EQ(ToSlots(rig.Stored(5)), rig.before[1]);
}
