// The virtual frame from the host's side of the HID seam: what it answers.

#include "sim/SimHidPort.h"
#include "sim/SimMouseFinger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Host {
    explicit Host(SimFrameSetup setup) : port(SimScenario{{setup}, {}})
    {
        HidDeviceInfo info;
        port.OpenForQuery(CSimHidPort::PathOf(0), info);
        port.CompleteOpen(CSimHidPort::PathOf(0), info);
        handle = info.handle;
    }
    bool Send(Bytes report, std::size_t length = 100)
    {
        report.resize(length, 0);
        return port.SendOutputReport(handle, report.data(), report.size()).Succeeded();
    }
    // Every input report the frame has ready now.
    std::vector<Bytes> Drain()
    {
        std::vector<Bytes> reports;
        for (;;) {
            Bytes buffer(100, 0);
            auto read = port.StartRead(handle, buffer.data(), buffer.size());
            std::size_t n = 0;
            if (!read || read->Wait(30, n) != HidWaitResult::Completed)
                return reports;
            reports.push_back(buffer);
        }
    }
    CSimHidPort port;
    DeviceHandle handle = nullptr;
};

bool IsEnd(const Bytes& report, std::uint8_t x)
{
    return report[1] == 'A' && report[2] == x && report[3] == '0' && report[4] == '0' && report[5] == '0' &&
           report[6] == 0 && report[7] == 0 && report[8] == 0;
}

} // namespace

TEST(SimFrame, CommandsAnswerDataThenOneEndReply)
{
    SimFrameSetup setup = DefaultSimFrame(0);
    setup.versionText = "A1B2";
    setup.serialNumber = "XK7";
    Host host(setup);

    host.Send({0x31, 'v', 'v'});
    auto version = host.Drain();
    ASSERT_EQ(version.size(), 2u);
    EXPECT_EQ(Bytes(version[0].begin() + 1, version[0].begin() + 7), (Bytes{'V', 'v', 'A', '1', 'B', '2'}));
    EXPECT_TRUE(IsEnd(version[1], 'v'));

    host.Send({0x31, 'V', '1', 42});
    EXPECT_EQ(host.Drain().size(), 1u);
    host.Send({0x31, 'v', '1'});
    auto number = host.Drain();
    ASSERT_EQ(number.size(), 2u);
    EXPECT_EQ(number[0][3], 42);

    host.Send({0x31, 0x12, 0x34}); // unknown: an end reply only
    auto unknown = host.Drain();
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_TRUE(IsEnd(unknown[0], 0x12));

    host.Send({0x31, 0xAA, 0x55}); // stop touch: no answer
    EXPECT_TRUE(host.Drain().empty());
}

TEST(SimFrame, DiagnosticsStreamsCarryTheScanEightBytesPerReport)
{
    SimFrameSetup setup = DefaultSimFrame(0);
    setup.ledsX = 10;
    setup.ledsY = 5;
    setup.ledStepByte = 0x21; // step 2
    setup.ledMarker = 7;
    setup.ledThreshold = 50;
    setup.badLeds = {4, 14}; // x LED 4 and y LED 14, as the report numbers them
    Host host(setup);

    auto collect = [&](std::uint8_t second) {
        host.Send({0x31, 'Z', second});
        auto reports = host.Drain();
        EXPECT_TRUE(IsEnd(reports.back(), 'Z'));
        Bytes bytes;
        for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
            EXPECT_EQ(reports[i][0], 0x30);
            bytes.insert(bytes.end(), reports[i].begin() + 1, reports[i].begin() + 9);
        }
        return bytes;
    };
    Bytes levels = collect('v');
    Bytes status = collect('g');
    // Entries 0 .. 9 are the x LEDs 1 .. 10, entry 10 is no LED, entries 11 .. 15 the y LEDs 11 .. 15.
    ASSERT_GE(levels.size(), 9u + 15 * 2 + 1);
    ASSERT_GE(status.size(), 8u + 16);
    EXPECT_EQ(Bytes(levels.begin(), levels.begin() + 7), (Bytes{'Z', 'v', 10, 5, 0x21, 7, 50}));
    for (int k = 0; k <= 15; ++k) {
        bool bad = k == 3 || k == 14;
        EXPECT_EQ(levels[9 + 2 * k] < 50, bad) << k;
        EXPECT_EQ(status[8 + k] == 7, k != 10) << k;
    }
    EXPECT_EQ(Bytes(status.begin(), status.begin() + 2), (Bytes{'Z', 'g'}));
}

TEST(SimFrame, FirmwareFramesAreAnsweredAsScriptedForBothTransports)
{
    SimFrameSetup setup = DefaultSimFrame(0);
    setup.frameReplies = {0x13, 0x22, 0x11};
    auto log = std::filesystem::temp_directory_path() / "pelno_simframe_firmware.log";
    std::filesystem::remove(log);
    setup.logFile = log.wstring();
    Host host(setup);

    // Through the device thread: 100-byte reports, a status then an end reply.
    host.Send({0x31, 'R', 'b', 5});
    auto enter = host.Drain();
    ASSERT_EQ(enter.size(), 2u);
    EXPECT_EQ(enter[0][1], 0x11);
    for (std::uint8_t expected : {0x13, 0x22, 0x11, 0x11}) {
        host.Send({0x51, 'A', 0, 10});
        auto reply = host.Drain();
        ASSERT_EQ(reply.size(), 2u);
        EXPECT_EQ(reply[0][1], expected);
    }
    host.Send({0x31, 'R', 'c', 0});
    EXPECT_TRUE(host.Drain().empty());

    // The console updater: short reports, one status each, features silent.
    host.Send({0x31, 'R', 'b', 9}, 9);
    EXPECT_EQ(host.Drain().size(), 1u);
    Bytes feature = {0x02, 0x01};
    EXPECT_TRUE(host.port.SendFeatureReport(host.handle, feature.data(), feature.size()));
    host.Send({0x51, 'B', 1, 2}, 49);
    auto frame = host.Drain();
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0][1], 0x11);

    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[7], "02 01");
    EXPECT_EQ(lines[8].size(), 49u * 3 - 1);
    EXPECT_EQ(lines[8].substr(0, 11), "51 42 01 02");
    std::filesystem::remove(log);
}

TEST(SimFrame, FaultsSilentGarbageIgnoredAndUnplugged)
{
    SimFrameSetup silent = DefaultSimFrame(0);
    silent.silent = true;
    Host quiet(silent);
    quiet.Send({0x31, 'o', 0});
    EXPECT_TRUE(quiet.Drain().empty());

    SimFrameSetup ignoring = DefaultSimFrame(0);
    ignoring.ignoredCommands = {0x7676};
    Host picky(ignoring);
    picky.Send({0x31, 'v', 'v'});
    EXPECT_TRUE(picky.Drain().empty());
    picky.Send({0x31, 'v', '1'});
    EXPECT_EQ(picky.Drain().size(), 2u);

    SimFrameSetup noisy = DefaultSimFrame(0);
    noisy.garbage = true;
    Host garbage(noisy);
    garbage.Send({0x31, 'v', 'v'});
    auto replies = garbage.Drain();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_FALSE(replies[0][1] == 'V' && replies[0][2] == 'v');

    SimFrameSetup slow = DefaultSimFrame(0);
    slow.answerDelayMs = 100;
    Host late(slow);
    late.Send({0x31, 'v', 'v'});
    EXPECT_TRUE(late.Drain().empty()) << "nothing before the delay";

    Host gone(DefaultSimFrame(0));
    Bytes buffer(100);
    auto read = gone.port.StartRead(gone.handle, buffer.data(), buffer.size());
    gone.port.Unplug(0);
    std::size_t n = 0;
    EXPECT_EQ(read->Wait(1000, n), HidWaitResult::Failed);
    EXPECT_FALSE(gone.Send({0x31, 'v', 'v'}));
}

TEST(SimFrame, MousePointsScaleAcrossTheMonitorToTheRawRange)
{
    MonitorRect second{1920, 0, 3200, 1024};
    auto corner = ScaleToRaw(1920, 0, second, 4095, 4095);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    auto far = ScaleToRaw(3199, 1023, second, 4095, 4095);
    EXPECT_EQ(far.x, 4095);
    EXPECT_EQ(far.y, 4095);
    auto middle = ScaleToRaw(1920 + 640, 512, second, 1000, 2000);
    EXPECT_EQ(middle.x, 640 * 1000 / 1279);
    EXPECT_EQ(middle.y, 512 * 2000 / 1023);
    // Points off the monitor are held to its edges; a degenerate monitor gives 0.
    EXPECT_EQ(ScaleToRaw(0, 5000, second, 4095, 4095).x, 0);
    EXPECT_EQ(ScaleToRaw(0, 5000, second, 4095, 4095).y, 4095);
    EXPECT_EQ(ScaleToRaw(10, 10, MonitorRect{10, 10, 11, 11}, 4095, 4095).x, 0);
}
