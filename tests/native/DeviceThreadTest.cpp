// The device thread and its workers against virtual frames.

#include "device/DeviceThread.h"
#include "FrameLog.h"
#include "SimEngine.h"
#include "device/DeviceManager.h"
#include "device/ProbeTouchScreens.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/DeviceBroadcast.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1000);
WindowHandle const kGoneWindow = reinterpret_cast<WindowHandle>(0xDEAD);

// Receives replies the way a window does: it owns and frees each one.
class CReplyCollector : public IWindowMessenger {
public:
    struct Received {
        unsigned message;
        std::unique_ptr<DeviceReply> reply;
    };
    bool Post(WindowHandle window, unsigned message, std::uintptr_t, std::intptr_t lParam) override
    {
        if (window == kGoneWindow)
            return false;
        std::lock_guard lock(m_mutex);
        if (message == kWmDeviceChange) {
            ++removals;
            lastRemoval = *reinterpret_cast<const DeviceBroadcastHandle*>(lParam);
            removalWindow = window;
        } else
            received.push_back({message, std::unique_ptr<DeviceReply>(reinterpret_cast<DeviceReply*>(lParam))});
        m_changed.notify_all();
        return true;
    }
    void PostToOwnWindows(unsigned, std::uintptr_t, std::intptr_t) override {}
    void PostQuit(int) override {}

    // Waits until at least n replies arrived.
    bool WaitForCount(std::size_t n, std::chrono::milliseconds timeout = 3000ms)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return received.size() >= n; });
    }
    int Removals()
    {
        std::lock_guard lock(m_mutex);
        return removals;
    }
    std::size_t Count()
    {
        std::lock_guard lock(m_mutex);
        return received.size();
    }
    // The raw X of every touch delivered, in order.
    std::vector<int> TouchXs()
    {
        std::lock_guard lock(m_mutex);
        std::vector<int> xs;
        for (const Received& r : received)
            if (r.message == WM_TOUCH_POINT)
                xs.push_back(r.reply->Answer()[2] | r.reply->Answer()[3] << 8);
        return xs;
    }
    // Waits until at least n touches arrived.
    bool WaitForTouches(std::size_t n, std::chrono::milliseconds timeout = 3000ms)
    {
        for (auto end = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < end;) {
            if (TouchXs().size() >= n)
                return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Received> received;
    int removals = 0;
    DeviceBroadcastHandle lastRemoval;
    WindowHandle removalWindow = nullptr;
};

// The collector is the first base so that it outlives the device thread.
struct Engine : CReplyCollector, SimEngine {
    explicit Engine(SimScenario scenario) : SimEngine(std::move(scenario), *this) {}

    void Send(unsigned slot, std::uint16_t command, WindowHandle window = kWindow,
              std::initializer_list<std::uint8_t> arguments = {})
    {
        SimEngine::Send(slot, command, window, arguments);
    }
    // Sets or clears the stop flag of every touchscreen, as time-outs do.
    void StopAll(bool stop)
    {
        for (unsigned slot = 0; slot < devices.Count(); ++slot)
            state.SetStop(devices.HandleOf(slot), stop);
    }
    // Holds an opening answer "OK" for every touchscreen.
    void HoldOpeningAnswers()
    {
        for (unsigned slot = 0; slot < devices.Count(); ++slot) {
            auto opening = std::make_unique<DeviceReply>();
            opening->report = MakeCommandReport(0x4F4B);
            state.SetOpeningAnswer(devices.HandleOf(slot), std::move(opening));
        }
    }
    bool WaitIdle(std::chrono::milliseconds timeout = 2000ms)
    {
        for (auto end = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < end;) {
            if (thread.OutstandingRequests() == 0)
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }

    CReplyCollector& collector = *this;
};

SimScenario OneFrame(std::function<void(SimFrameSetup&)> edit)
{
    SimScenario scenario = MakeCountedScenario(1);
    edit(scenario.frames[0]);
    return scenario;
}

// Starts threads as the system does, except the ones it is told to refuse.
class CRefusingSystem : public CStandardSystem {
public:
    std::atomic<int> refuseNext{0};
    bool StartThread(std::thread& thread, std::function<void()> body) override
    {
        if (refuseNext > 0) {
            --refuseNext;
            return false;
        }
        return CStandardSystem::StartThread(thread, std::move(body));
    }
};

} // namespace

TEST(DeviceThread, GuardedCommandWaitsForTheOpeningAnswerThenSendsItBackFirst)
{
    std::wstring log = FreshFrameLog("thread_guarded"), otherLog = FreshFrameLog("thread_guarded1");
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[0].logFile = log;
    scenario.frames[1].logFile = otherLog;
    Engine e(scenario);

    e.Send(0, Command::ReadVersion);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(FrameCommands(log).empty()) << "sent without an opening answer";
    EXPECT_EQ(e.collector.Count(), 0u);

    e.Send(0, Command::Open);
    ASSERT_TRUE(e.collector.WaitForCount(2));
    EXPECT_EQ(e.collector.received[0].message, WM_OPENING_REPLY);
    EXPECT_TRUE(IsDataReply(e.collector.received[0].reply->Answer()));
    EXPECT_FALSE(IsDataReply(e.collector.received[1].reply->Answer()));
    // The dialog's handler keeps the data reply as the opening answer.
    e.state.SetOpeningAnswer(e.devices.HandleOf(0), std::move(e.collector.received[0].reply));
    auto otherOpening = std::make_unique<DeviceReply>();
    otherOpening->report = MakeCommandReport(0x4F32); // "O2"
    e.state.SetOpeningAnswer(e.devices.HandleOf(1), std::move(otherOpening));

    // Asked at once, each touchscreen gets its own opening answer back.
    e.Send(1, Command::ReadSerial, nullptr);
    e.Send(0, Command::ReadVersion);
    ASSERT_TRUE(e.collector.WaitForCount(4));
    EXPECT_EQ(e.collector.received[2].message, WM_VERSION_REPLY);
    EXPECT_EQ(DecodeVersion(e.collector.received[2].reply->Answer()),
              (std::array<std::int32_t, 4>{'V', '2', '1', '0'}));
    EXPECT_EQ(e.collector.received[2].reply->slot, 0);
    ASSERT_TRUE(e.WaitIdle());
    // The opening answer ("OK...") went back, 80 ms before the command.
    EXPECT_EQ(FrameCommands(log), (std::vector<std::string>{"31 6F 00", "31 4F 4B", "31 76 76"}));
    EXPECT_EQ(FrameCommands(otherLog), (std::vector<std::string>{"31 4F 32", "31 76 73"}));
    std::filesystem::remove(log);
    std::filesystem::remove(otherLog);
}

TEST(DeviceThread, StreamingDeliversOnlyTouchesAndStopTouchEndsTheWorker)
{
    Engine e(OneFrame([](SimFrameSetup& f) { f.touches = {{10, 100, 200}, {10, 4095, 1}, {10, 0x1234, 0x0FED}}; }));
    e.Send(0, Command::StartTouch);
    ASSERT_TRUE(e.collector.WaitForCount(3));
    EXPECT_TRUE(e.state.streams.Streaming(e.devices.HandleOf(0)));
    const std::uint8_t* r = e.collector.received[2].reply->Answer();
    EXPECT_EQ(e.collector.received[2].message, WM_TOUCH_POINT);
    EXPECT_EQ(r[1], kTouchAnswer);
    EXPECT_EQ(r[2] | r[3] << 8, 0x1234);
    EXPECT_EQ(r[4] | r[5] << 8, 0x0FED);

    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(e.thread.OutstandingRequests(), 1u) << "the streaming worker keeps reading";
    e.Send(0, Command::StopTouch);
    EXPECT_TRUE(e.WaitIdle(500ms));
    EXPECT_FALSE(e.state.streams.Streaming());

    // While streaming, the answers to another command are not delivered
    // (whichever worker reads them).
    e.Send(0, Command::StartTouch);
    ASSERT_TRUE(e.collector.WaitForCount(6));
    e.Send(0, Command::ReadSerial, kWindow);
    e.Send(0, 0x1234);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(e.collector.Count(), 6u);
    e.Send(0, Command::StopTouch);
    e.StopAll(true);
    EXPECT_TRUE(e.WaitIdle(500ms));
}

TEST(DeviceThread, NumberReplyIsWrittenIntoTheRecordAndLostWindowsFreeTheirReplies)
{
    Engine e(OneFrame([](SimFrameSetup& f) { f.touchScreenNumber = 7; }));
    e.HoldOpeningAnswers();

    e.Send(0, Command::ReadNumber, kGoneWindow); // its replies cannot be posted
    ASSERT_TRUE(e.WaitIdle());
    e.devices.WithRecord(0, [](TouchScreenRecord& r) { EXPECT_EQ(r.touchScreenNumber, 7); });
    EXPECT_EQ(e.collector.Count(), 0u);

    e.Send(0, Command::WriteNumber, kWindow, {42});
    ASSERT_TRUE(e.collector.WaitForCount(1));
    EXPECT_EQ(e.collector.received[0].message, WM_NUMBER_WRITE_REPLY);
    EXPECT_EQ(e.port.FrameAt(0)->StoredNumber(), 42);
}

TEST(DeviceThread, StopFlagEndsAWorkerWaitingOnASilentFrame)
{
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[0].silent = true;
    scenario.frames[1].answerDelayMs = 300;
    Engine e(scenario);
    const DeviceHandle silent = e.devices.HandleOf(0);
    e.Send(0, Command::Open);
    for (int i = 0; i < 100 && e.port.FrameAt(0)->PendingReads() == 0; ++i)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(e.port.FrameAt(0)->PendingReads(), 1u);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(e.thread.OutstandingRequests(), 1u) << "a silent frame keeps its worker polling";

    // The silent touchscreen's time-out stops its worker alone: the other
    // touchscreen's exchange, running meanwhile, still ends with its replies.
    e.Send(1, Command::Open);
    auto start = std::chrono::steady_clock::now();
    e.state.SetStop(silent, true);
    for (int i = 0; i < 200 && e.port.FrameAt(0)->PendingReads() != 0; ++i)
        std::this_thread::sleep_for(2ms);
    auto took = std::chrono::steady_clock::now() - start;
    // One 60 ms slice, with room for a loaded machine and the sanitizers.
    EXPECT_LT(took, 400ms);
    EXPECT_EQ(e.port.FrameAt(0)->PendingReads(), 0u) << "the read was cancelled";
    ASSERT_TRUE(e.WaitIdle(2000ms));
    EXPECT_EQ(e.collector.Count(), 2u);

    // Shutting down ends a worker still waiting within the slice, and leaves
    // no stop flag set: the next device thread's workers read as usual.
    e.state.SetStop(silent, false);
    e.Send(0, Command::Open);
    for (int i = 0; i < 100 && e.port.FrameAt(0)->PendingReads() == 0; ++i)
        std::this_thread::sleep_for(5ms);
    start = std::chrono::steady_clock::now();
    e.thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 400ms);
    EXPECT_EQ(e.thread.OutstandingRequests(), 0u);
    EXPECT_FALSE(e.state.Stopped(silent));
    CDeviceThread next(e.port, e.collector, e.devices, e.state, e.system);
    ASSERT_TRUE(next.Start());
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = e.devices.HandleOf(1);
    request->replyWindow = kWindow;
    request->report = MakeCommandReport(Command::Open);
    next.PostRequest(std::move(request));
    EXPECT_TRUE(e.collector.WaitForCount(4));
    next.Stop();
}

TEST(DeviceThread, CollectingProbeFillsVersionsAndTimesOutOnASilentFrame)
{
    Engine e(MakeCountedScenario(2));
    for (unsigned slot = 0; slot < 2; ++slot)
        e.state.StartCollecting(e.devices.HandleOf(slot));
    RequestPoster post = [&](std::unique_ptr<DeviceRequest> r) { return e.thread.PostRequest(std::move(r)); };
    EXPECT_TRUE(ProbeTouchScreens(e.devices, e.state, post, e.system));
    EXPECT_TRUE(e.state.HasOpeningAnswer(e.devices.HandleOf(0)) && e.state.HasOpeningAnswer(e.devices.HandleOf(1)));
    e.devices.WithRecord(1, [](TouchScreenRecord& r) {
        EXPECT_EQ(r.hardwareVersion[0], 'V' * 324 + '2');
        EXPECT_EQ(r.hardwareVersion[1], '1' * 324 + '0');
        EXPECT_EQ(r.hardwareVersion[2], 0);
    });
    EXPECT_EQ(e.collector.Count(), 0u) << "collected answers reach no window";

    Engine silent(OneFrame([](SimFrameSetup& f) { f.silent = true; }));
    silent.state.StartCollecting(silent.devices.HandleOf(0));
    RequestPoster postSilent = [&](std::unique_ptr<DeviceRequest> r) {
        return silent.thread.PostRequest(std::move(r));
    };
    EXPECT_FALSE(ProbeTouchScreens(silent.devices, silent.state, postSilent, silent.system));
    EXPECT_TRUE(silent.state.Stopped(silent.devices.HandleOf(0)));
    EXPECT_TRUE(silent.WaitIdle());

    // Without a device thread (the console face) a request is freed unsent.
    SetCurrentDeviceThread(nullptr);
    EXPECT_FALSE(PostDeviceRequest(std::make_unique<DeviceRequest>()));
}

TEST(DeviceThread, StressMixedTrafficWithUnplugsFreesEverything)
{
    SimScenario scenario = MakeCountedScenario(8);
    for (SimFrameSetup& f : scenario.frames)
        f.touches = {{1, 10, 20}, {1, 30, 40}};
    scenario.frames[3].answerDelayMs = 5;
    scenario.frames[5].garbage = true;
    Engine e(scenario);
    e.HoldOpeningAnswers();

    const std::uint16_t commands[] = {Command::Open,       Command::ReadVersion, Command::ReadSerial,
                                      Command::ReadNumber, Command::WriteNumber, 0x1234,
                                      Command::StartTouch, Command::StopTouch};
    std::vector<std::thread> senders;
    for (int t = 0; t < 4; ++t)
        senders.emplace_back([&, t] {
            std::mt19937 random(t);
            for (int i = 0; i < 75; ++i) {
                unsigned slot = random() % 8;
                e.Send(slot, commands[random() % 8], random() % 5 ? kWindow : kGoneWindow, {std::uint8_t(slot)});
                if (i % 20 == 19)
                    e.state.SetStop(e.devices.HandleOf(slot), false);
                std::this_thread::sleep_for(std::chrono::milliseconds(random() % 3));
            }
        });
    std::thread unplugger([&] {
        for (unsigned frame : {2u, 6u}) {
            std::this_thread::sleep_for(40ms);
            e.port.Unplug(frame);
            e.devices.RemoveComplete(e.devices.HandleOf(frame == 6 ? 5 : 2));
        }
    });
    for (std::thread& s : senders)
        s.join();
    unplugger.join();
    for (unsigned slot = 0; slot < e.devices.Count(); ++slot)
        e.Send(slot, Command::StopTouch); // each stop ends its own touchscreen's stream
    e.StopAll(true);                      // garbage frames never end their exchanges
    // Under ThreadSanitizer on a busy machine the device thread may still
    // hold most of the 300 requests here (measured: 2.4 s to idle with both
    // cores loaded); the bound only guards against a hang.
    EXPECT_TRUE(e.WaitIdle(10000ms));
    EXPECT_EQ(e.devices.Count(), 6u);
    EXPECT_GT(e.collector.Count(), 0u);
}

TEST(DeviceThread, UnpluggedFrameEndsItsReadsAndNotifiesTheRegisteredWindow)
{
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[1].unplugAfterMs = 150;
    Engine e(scenario);
    e.devices.RegisterNotifications(kWindow);
    DeviceHandle handle = e.devices.HandleOf(1);
    NotificationHandle notification = nullptr;
    e.devices.WithRecord(1, [&](TouchScreenRecord& r) { notification = r.notification; });

    e.HoldOpeningAnswers();
    e.Send(1, Command::StartTouch); // reads until the frame goes
    for (int i = 0; i < 100 && e.collector.Removals() == 0; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(e.collector.Removals(), 1);
    EXPECT_EQ(e.collector.removalWindow, kWindow);
    EXPECT_EQ(e.collector.lastRemoval.deviceType, kDbtDevTypeHandle);
    EXPECT_EQ(e.collector.lastRemoval.handle, handle);
    EXPECT_EQ(e.collector.lastRemoval.notification, notification);
    // Its pending reads failed, so its workers are gone without the stop flag.
    EXPECT_TRUE(e.WaitIdle(500ms));
    EXPECT_FALSE(e.state.Stopped(handle));
    EXPECT_FALSE(e.state.streams.Streaming()) << "the stream ended with its reader";
}

TEST(DeviceThread, AStreamEndsOnlyAtItsOwnStop)
{
    SimScenario scenario = MakeCountedScenario(2);
    for (std::uint16_t x = 1; x <= 6; ++x)
        scenario.frames[0].touches.push_back({80, x, 0});
    Engine e(scenario);
    e.Send(0, Command::StartTouch);
    ASSERT_TRUE(e.collector.WaitForTouches(1));

    // Another touchscreen's exchange is answered while touchscreen 0 streams:
    // its data reply and its end reply, each naming that touchscreen.
    e.Send(1, Command::Open);
    auto openings = [&] {
        std::lock_guard lock(e.collector.m_mutex);
        std::vector<std::pair<int, DeviceHandle>> named;
        for (const auto& r : e.collector.received)
            if (r.message == WM_OPENING_REPLY)
                named.emplace_back(r.reply->slot, r.reply->deviceHandle);
        return named;
    };
    for (int i = 0; i < 300 && openings().size() < 2; ++i)
        std::this_thread::sleep_for(1ms);
    const std::pair<int, DeviceHandle> second{1, e.devices.HandleOf(1)};
    EXPECT_EQ(openings(), (std::vector<std::pair<int, DeviceHandle>>{second, second}));
    // A time-out sets the stop flag for a while; another touchscreen's stop
    // comes too. Neither ends this stream.
    e.StopAll(true);
    std::this_thread::sleep_for(150ms);
    e.StopAll(false);
    e.Send(1, Command::StopTouch);

    ASSERT_TRUE(e.collector.WaitForTouches(6));
    EXPECT_EQ(e.collector.TouchXs(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(e.state.streams.Streaming(e.devices.HandleOf(0)));
    e.Send(0, Command::StopTouch);
    EXPECT_TRUE(e.WaitIdle(500ms));
}

TEST(DeviceThread, StopThenStartAtOnceLeavesOneStreamAndNothingReadAfterAStopIsATouch)
{
    Engine e(OneFrame([](SimFrameSetup& f) { f.touches = {{20, 1, 0}, {20, 2, 0}, {20, 3, 0}}; }));
    const DeviceHandle frame = e.devices.HandleOf(0);
    e.Send(0, Command::StartTouch);
    ASSERT_TRUE(e.collector.WaitForTouches(3));

    // ReCalibrate: the stop and the new start posted back to back. Their
    // workers race, yet the frame gets them in this order, and the first
    // stream's worker does not read on beside the new one.
    e.Send(0, Command::StopTouch);
    e.Send(0, Command::StartTouch);
    ASSERT_TRUE(e.collector.WaitForTouches(6));
    // The first stream's worker sees its end within one read slice.
    for (int i = 0; i < 2000 && e.thread.OutstandingRequests() > 1; ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(e.thread.OutstandingRequests(), 1u) << "one stream reads";
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(e.collector.TouchXs(), (std::vector<int>{1, 2, 3, 1, 2, 3})) << "each touch exactly once";

    // A report the frame sends after the stop is read by no stream.
    e.Send(0, Command::StopTouch);
    for (int i = 0; i < 100 && e.state.streams.Streaming(frame); ++i)
        std::this_thread::sleep_for(1ms);
    e.port.FrameAt(0)->QueueTouch(99, 0);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(e.collector.TouchXs().size(), 6u);
    EXPECT_TRUE(e.WaitIdle(500ms));
}

// A device thread whose system refuses the threads it is told to.
struct RefusingRig {
    explicit RefusingRig(const SimScenario& scenario)
        : port(scenario, &collector), devices(port, monitors, collector),
          thread(port, collector, devices, state, refusing)
    {
    }
    CRefusingSystem refusing;
    CReplyCollector collector;
    CSimHidPort port;
    CFixedMonitors monitors;
    CDeviceManager devices;
    CProtocolState state;
    CDeviceThread thread;
};

TEST(DeviceThread, AThreadThatCannotStartFailsOnlyItsOwnPart)
{
    SimScenario scenario = OneFrame([](SimFrameSetup& f) { f.touches = {{5, 7, 0}}; });
    {
        // The device thread itself: Start says so, and posting and stopping stay safe.
        RefusingRig rig(scenario);
        rig.refusing.refuseNext = 1;
        EXPECT_FALSE(rig.thread.Start());
        auto request = std::make_unique<DeviceRequest>();
        request->report = MakeCommandReport(Command::Open);
        rig.thread.PostRequest(std::move(request));
        rig.thread.Stop(); // frees the queued request; joins nothing that never ran
        EXPECT_EQ(rig.thread.OutstandingRequests(), 0u);
    }

    // A worker: its request is freed unsent and its exchange gets no reply;
    // the next request, and the next stream command, go as usual.
    RefusingRig rig(scenario);
    ASSERT_TRUE(rig.thread.Start());
    auto send = [&](std::uint16_t command) {
        auto request = std::make_unique<DeviceRequest>();
        request->deviceHandle = rig.devices.HandleOf(0);
        request->replyWindow = kWindow;
        request->report = MakeCommandReport(command);
        rig.thread.PostRequest(std::move(request));
    };
    for (std::uint16_t command : {Command::Open, Command::StartTouch}) {
        rig.refusing.refuseNext = 1;
        send(command);
        for (int i = 0; i < 200 && rig.thread.OutstandingRequests() != 0; ++i)
            std::this_thread::sleep_for(1ms);
        EXPECT_EQ(rig.thread.OutstandingRequests(), 0u);
        EXPECT_FALSE(rig.state.streams.Streaming()) << "a start that never went out leaves no stream";
    }
    EXPECT_EQ(rig.collector.Count(), 0u);
    send(Command::Open);
    ASSERT_TRUE(rig.collector.WaitForCount(2));
    const auto start = std::chrono::steady_clock::now();
    send(Command::StartTouch);
    ASSERT_TRUE(rig.collector.WaitForTouches(1));
    // Held up, it would wait the whole turn for the start that never went out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(CTouchStreams::kTurnWaitMs))
        << "not held up by the start that failed";
    send(Command::StopTouch);
    rig.thread.Stop();
}
