// Benchmark of the device engine against virtual frames:
//  1. latency from a frame queuing an input report to the reply reaching the
//     window-message seam (median and 99th percentile), with 1 and 8 frames;
//  2. CPU time of 4 workers waiting on silent frames for 10 seconds.
// Run by tools/bench (a release build without sanitizers).

#include "../native/SimEngine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// Notes when each touch reply reaches the seam; the touch's x names the sample.
class CTimingMessenger : public IWindowMessenger {
public:
    explicit CTimingMessenger(std::size_t samples) : arrived(samples) {}
    bool Post(WindowHandle, unsigned, std::uintptr_t, std::intptr_t lParam) override
    {
        auto now = Clock::now();
        auto* reply = reinterpret_cast<DeviceReply*>(lParam);
        const std::uint8_t* r = reply->Answer();
        std::size_t sample = static_cast<std::size_t>(r[2] | r[3] << 8);
        if (sample < arrived.size())
            arrived[sample] = now;
        delete reply;
        ++count;
        return true;
    }
    void PostToOwnWindows(unsigned, std::uintptr_t, std::intptr_t) override {}
    void PostQuit(int) override {}
    std::vector<Clock::time_point> arrived;
    std::atomic<std::size_t> count{0};
};

void MeasureLatency(unsigned frames, std::size_t samples)
{
    CTimingMessenger messenger(samples);
    SimEngine engine(MakeCountedScenario(frames), messenger);
    for (unsigned slot = 0; slot < frames; ++slot)
        engine.Send(slot, Command::StartTouch, reinterpret_cast<WindowHandle>(0x10));
    std::this_thread::sleep_for(100ms); // every streaming worker has its read pending

    std::vector<Clock::time_point> queued(samples);
    for (std::size_t i = 0; i < samples; ++i) {
        queued[i] = Clock::now();
        engine.port.FrameAt(static_cast<unsigned>(i % frames))->QueueTouch(static_cast<std::uint16_t>(i), 0);
        // One report at a time: latency, not throughput.
        for (auto until = Clock::now() + 1s; messenger.count <= i && Clock::now() < until;)
            std::this_thread::yield();
    }
    engine.thread.Stop(); // ends the streams

    std::vector<double> us;
    for (std::size_t i = 0; i < samples; ++i)
        if (messenger.arrived[i] >= queued[i])
            us.push_back(std::chrono::duration<double, std::micro>(messenger.arrived[i] - queued[i]).count());
    std::sort(us.begin(), us.end());
    if (us.empty()) {
        std::printf("latency, %u frame(s): no reply arrived\n", frames);
        return;
    }
    std::printf("latency, %u frame(s), %zu reports: median %.1f us, 99th percentile %.1f us, max %.1f us\n", frames,
                us.size(), us[us.size() / 2], us[us.size() * 99 / 100], us.back());
}

void MeasureIdleWorkers(unsigned seconds)
{
    SimScenario scenario = MakeCountedScenario(4);
    for (SimFrameSetup& frame : scenario.frames)
        frame.silent = true;
    CTimingMessenger messenger(0);
    SimEngine engine(scenario, messenger);
    for (unsigned slot = 0; slot < 4; ++slot)
        engine.Send(slot, Command::Open, nullptr);
    std::this_thread::sleep_for(100ms);
    std::clock_t cpuStart = std::clock();
    auto wallStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    std::printf("4 workers waiting on silent frames: %.3f s CPU in %.1f s (%.2f%% of one core), %zu outstanding\n", cpu,
                wall, 100.0 * cpu / wall, engine.thread.OutstandingRequests());
    engine.thread.Stop();
}

} // namespace

int main()
{
    MeasureLatency(1, 2000);
    MeasureLatency(8, 2000);
    MeasureIdleWorkers(10);
}
