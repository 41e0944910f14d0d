// The console update: its frames, and whole runs against virtual frames.

#include "update/ConsoleUpdater.h"
#include "FirmwareMaker.h"
#include "TestSeams.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/Monitors.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct SentReport {
    DeviceHandle handle;
    bool feature;
    Bytes bytes;
};

// The virtual frames seen through a port that records what is sent and can
// fail frame writes or leave replies pending.
class CRecordingPort : public CSimHidPort {
public:
    using CSimHidPort::CSimHidPort;
    std::vector<SentReport> sent;
    int frameWritesToFail = 0;
    bool repliesNeverCome = false;
    std::vector<unsigned> replyWaits; // of the pending reads that never complete

    SeamResult SendOutputReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override
    {
        sent.push_back({handle, false, Bytes(report, report + length)});
        if (report[0] == kFirmwareReportId && frameWritesToFail > 0) {
            --frameWritesToFail;
            return false;
        }
        return CSimHidPort::SendOutputReport(handle, report, length);
    }
    SeamResult SendFeatureReport(DeviceHandle handle, const std::uint8_t* report, std::size_t length) override
    {
        sent.push_back({handle, true, Bytes(report, report + length)});
        return CSimHidPort::SendFeatureReport(handle, report, length);
    }
    std::unique_ptr<IHidPendingRead> StartRead(DeviceHandle handle, std::uint8_t* buffer, std::size_t length) override
    {
        if (repliesNeverCome)
            return std::make_unique<CNeverCompletes>(replyWaits);
        return CSimHidPort::StartRead(handle, buffer, length);
    }

    // The reports sent to one handle, as (feature, bytes).
    std::vector<SentReport> SentTo(DeviceHandle handle) const
    {
        std::vector<SentReport> to;
        for (const SentReport& report : sent)
            if (report.handle == handle)
                to.push_back(report);
        return to;
    }

private:
    class CNeverCompletes : public IHidPendingRead {
    public:
        explicit CNeverCompletes(std::vector<unsigned>& waits) : m_waits(waits) {}
        HidWaitResult Wait(unsigned milliseconds, std::size_t&) override
        {
            m_waits.push_back(milliseconds);
            return HidWaitResult::TimedOut;
        }

    private:
        std::vector<unsigned>& m_waits;
    };
};

SimScenario Frames(std::initializer_list<std::vector<std::uint8_t>> frameReplies)
{
    SimScenario scenario = MakeCountedScenario(static_cast<unsigned>(frameReplies.size()));
    std::size_t i = 0;
    for (const auto& replies : frameReplies)
        scenario.frames[i++].frameReplies = replies;
    return scenario;
}

// The current directory of the runs. A bare file name is looked up as the
// directory, a backslash and the name: natively that is one file name in the
// temp folder that holds a backslash.
std::wstring CurrentDirectory() { return (std::filesystem::temp_directory_path() / "pelno_console").wstring(); }
std::filesystem::path InCurrentDirectory(const std::string& name)
{
    return std::filesystem::temp_directory_path() / ("pelno_console\\" + name);
}

// One console update run: the frames, the device manager, the seams, and a
// probe whose every exchange ends at once.
struct ConsoleRun {
    explicit ConsoleRun(SimScenario scenario) : port(std::move(scenario)), devices(port, monitors, messenger) {}

    int Run(const std::wstring& path, IConsole& console)
    {
        ConsoleUpdateContext context{devices,
                                     port,
                                     console,
                                     system,
                                     state,
                                     [this](std::unique_ptr<DeviceRequest> request) {
                                         std::lock_guard lock(probeMutex);
                                         probeCommands[request->slot].push_back(CommandOf(request->report));
                                         state.SyncEvent(request->deviceHandle).Set();
                                         return true;
                                     },
                                     CurrentDirectory(),
                                     [](std::wstring_view text) { return std::string(text.begin(), text.end()); }};
        return CConsoleUpdater(context, path).Run();
    }
    int Run(const std::wstring& path) { return Run(path, output); }

    CRecordingPort port;
    CFixedMonitors monitors;
    CRecordingMessenger messenger;
    CDeviceManager devices;
    CProtocolState state;
    CRecordingSystem system;
    CCapturingConsole output;
    std::mutex probeMutex;
    std::map<std::int32_t, std::vector<std::uint16_t>> probeCommands; // by slot
};

class FirmwareFile {
public:
    // Named after the test: CTest runs tests side by side.
    explicit FirmwareFile(const FirmwareRecords& records)
        : m_name(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".bin"),
          m_path(InCurrentDirectory(m_name))
    {
        std::ofstream(m_path, std::ios::binary) << ToHexText(MakeConsoleFirmware({}, records));
    }
    ~FirmwareFile() { std::filesystem::remove(m_path); }
    // The bare name, found in the runs' current directory.
    std::wstring Path() const { return std::wstring(m_name.begin(), m_name.end()); }

private:
    std::string m_name;
    std::filesystem::path m_path;
};

Bytes ShortCommand(std::uint8_t second, std::uint8_t argument) { return {0x31, 'R', second, argument, 0, 0, 0, 0, 0}; }

// The 49-byte frames of the sent reports.
std::vector<Bytes> FramesOf(const std::vector<SentReport>& sent)
{
    std::vector<Bytes> frames;
    for (const SentReport& report : sent)
        if (!report.feature && report.bytes[0] == kFirmwareReportId)
            frames.push_back(report.bytes);
    return frames;
}

std::string ExpectedLines(const std::vector<int>& percents)
{
    std::string text =
        "Note:Please don't close the console or remove the touch Screen!\nPlease wait a moment for updating!\n";
    for (std::size_t i = 0; i < percents.size(); ++i)
        text += (i ? "\nUpdating..." : "Updating...") + std::to_string(percents[i]) + "%";
    return text;
}

} // namespace

TEST(ConsoleFrames, ARecordThatFitsIsOneAFrameOfItsOwnBytes)
{
    Bytes payload = {0x00, 0x0A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0x00, 0x01, 0xEE};
    CConsoleFrameSequence frames(payload);
    EXPECT_EQ(frames.Percent(), 0);
    auto first = frames.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->report[0], 0x51);
    EXPECT_EQ(first->report[1], 'A');
    EXPECT_EQ(first->start, 0u);
    EXPECT_EQ(first->dataLength, 12u);
    EXPECT_EQ(Bytes(first->report.begin() + 2, first->report.begin() + 14),
              Bytes(payload.begin(), payload.begin() + 12));
    EXPECT_EQ(Bytes(first->report.begin() + 14, first->report.end()), Bytes(35, 0)); // not the next record's bytes
    auto second = frames.Next();
    ASSERT_TRUE(second);
    EXPECT_EQ(frames.Percent(), 80); // 12 of 15 bytes done
    EXPECT_EQ(second->report[1], 'A');
    EXPECT_EQ(second->start, 12u);
    EXPECT_EQ(second->dataLength, 3u);
    EXPECT_FALSE(frames.Done());
    EXPECT_FALSE(frames.Next());
    EXPECT_TRUE(frames.Done());
}

TEST(ConsoleFrames, ALongRecordIsAFramesThenOneFinalBFrame)
{
    Bytes payload(100);
    payload[0] = 0x00;
    payload[1] = 98; // R = 100
    for (std::size_t i = 2; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i);
    CConsoleFrameSequence frames(payload);
    struct Expected {
        std::size_t start;
        char mark;
        std::size_t length;
    };
    for (Expected expected : {Expected{0, 'A', 47}, {47, 'A', 47}, {94, 'B', 6}}) {
        auto frame = frames.Next();
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->start, expected.start);
        EXPECT_EQ(frame->report[1], expected.mark);
        EXPECT_EQ(frame->dataLength, expected.length);
        EXPECT_EQ(frame->report[2], payload[expected.start]);
        EXPECT_EQ(frame->report[1 + expected.length], payload[expected.start + expected.length - 1]);
        EXPECT_EQ(frames.Percent(), 0);
    }
    EXPECT_FALSE(frames.Next());

    CConsoleFrameSequence empty(FirmwarePayload{});
    EXPECT_TRUE(empty.Done());
}

TEST(ConsoleUpdater, UpdatesEveryTouchScreenWithEnterFramesAndFinish)
{
    FirmwareRecords records = {Bytes(10, 0x11), Bytes(98, 0x22), {}};
    FirmwareFile file(records);
    ConsoleRun run(Frames({{}, {}}));
    ASSERT_EQ(run.Run(file.Path()), 0);

    // The probe ran in collecting mode: with no device thread its requests go nowhere.
    EXPECT_TRUE(run.state.Collecting(run.devices.HandleOf(0)) && run.state.Collecting(run.devices.HandleOf(1)));
    const std::vector<std::uint16_t> probe{0x6F00, 0x7676};
    EXPECT_EQ(run.probeCommands, (std::map<std::int32_t, std::vector<std::uint16_t>>{{0, probe}, {1, probe}}));

    for (unsigned slot = 0; slot < 2; ++slot) {
        auto sent = run.port.SentTo(run.devices.HandleOf(slot));
        ASSERT_EQ(sent.size(), 2u + 5 + 2);
        EXPECT_EQ(sent[0].bytes, ShortCommand('b', 0x09));
        EXPECT_TRUE(sent[1].feature);
        EXPECT_EQ(sent[1].bytes, (Bytes{0x02, 0x01}));
        std::vector<Bytes> frames = FramesOf(sent);
        ASSERT_EQ(frames.size(), 5u); // 12 bytes; 100 bytes in 47 + 47 + 6; 2 bytes
        std::string marks;
        for (const Bytes& frame : frames) {
            EXPECT_EQ(frame.size(), 49u);
            marks += static_cast<char>(frame[1]);
        }
        EXPECT_EQ(marks, "AAABA");
        EXPECT_EQ(sent[7].bytes, ShortCommand('c', 0x00));
        EXPECT_EQ(sent[8].bytes, (Bytes{0x02, 0x09}));
    }
    // 100 ms after the probe; 500 ms after entering update mode, 20 ms before every frame.
    std::vector<unsigned> perScreen = {500, 20, 20, 20, 20, 20};
    std::vector<unsigned> both = {100};
    both.insert(both.end(), perScreen.begin(), perScreen.end());
    both.insert(both.end(), perScreen.begin(), perScreen.end());
    EXPECT_EQ(run.system.sleeps, both);

    // Written to a file, each new figure has a line; the next screen starts on a line of its own.
    std::string screen = ExpectedLines({0, 10, 98, 100}) + "\nUpdate successfully!\nPress any key to continue......";
    EXPECT_EQ(run.output.output,
              "\n" + screen + "\n" + screen + "\nTouch screen 1: updated\nTouch screen 2: updated\n");
}

TEST(ConsoleUpdater, ARejectedFrameFailsThatTouchScreenAtOnceAndTheNextGoesOn)
{
    FirmwareRecords records = {Bytes(10, 1), Bytes(10, 2)};
    FirmwareFile file(records);
    ConsoleRun run(Frames({{0x11, 0x13}, {}}));
    EXPECT_EQ(run.Run(file.Path()), 1);

    // The frame answers entering update mode too; each frame is judged by its
    // own reply. The figure counts completed records: it is still 0 before the second frame.
    auto first = run.port.SentTo(run.devices.HandleOf(0));
    ASSERT_EQ(FramesOf(first).size(), 2u);
    EXPECT_EQ(first.back().bytes[0], 0x51); // no finish
    EXPECT_EQ(FramesOf(run.port.SentTo(run.devices.HandleOf(1))).size(), 2u);
    EXPECT_EQ(run.output.output, "\n" + ExpectedLines({0}) +
                                     "\nUpdate failed! please reconnect the touch screen\n"
                                     "Press any key to continue......\n" +
                                     ExpectedLines({0, 50, 100}) +
                                     "\nUpdate successfully!\nPress any key to continue......"
                                     "\nTouch screen 1: failed\nTouch screen 2: updated\n");
}

TEST(ConsoleUpdater, AFrameWriteIsTriedFourTimes)
{
    FirmwareFile file({Bytes(3, 7)});
    {
        ConsoleRun run(Frames({{}}));
        run.port.frameWritesToFail = 3;
        EXPECT_EQ(run.Run(file.Path()), 0);
        EXPECT_EQ(FramesOf(run.port.sent).size(), 4u);
        EXPECT_EQ(run.system.sleeps, (std::vector<unsigned>{100, 500, 20, 20, 20, 20}));
    }
    ConsoleRun run(Frames({{}}));
    run.port.frameWritesToFail = 4;
    EXPECT_EQ(run.Run(file.Path()), 1);
    EXPECT_EQ(FramesOf(run.port.sent).size(), 4u);
    EXPECT_NE(run.output.output.find("\nUpdate failed! please reconnect the touch screen\n"), std::string::npos);
}

TEST(ConsoleUpdater, AReplyThatNeverComesFailsAfterTenSeconds)
{
    FirmwareFile file({Bytes(3, 7), Bytes(3, 8)});
    ConsoleRun run(Frames({{}}));
    run.port.repliesNeverCome = true;
    EXPECT_EQ(run.Run(file.Path()), 1);
    EXPECT_EQ(FramesOf(run.port.sent).size(), 1u);
    // The check for waiting reports does not wait; the reply is waited for in slices.
    EXPECT_EQ(run.port.replyWaits, (std::vector<unsigned>{0, 3000, 3000, 3000, 1000}));
}

TEST(ConsoleUpdater, OnAConsoleTheFigureIsRewrittenInPlaceAtRowTwo)
{
    // Records of many sizes: the figure rises from 0 and ends at 100.
    FirmwareRecords records;
    for (std::size_t length : {0, 1, 45, 46, 47, 200, 3, 999, 60, 2, 2, 2})
        records.push_back(Bytes(length, static_cast<std::uint8_t>(length)));
    FirmwareFile file(records);
    ConsoleRun run(Frames({{}}));
    CScreenConsole screen;
    screen.rows = {"an earlier command's output", "more of it", "and more", "and more"};
    ASSERT_EQ(run.Run(file.Path(), screen), 0);

    EXPECT_EQ(screen.title, L"KALVEXO TouchScreen Updating");
    EXPECT_EQ(screen.clears, 1);
    EXPECT_EQ(screen.rows, (std::vector<std::string>{"Note:Please don't close the console or remove the touch Screen!",
                                                     "Please wait a moment for updating!", "Updating...100%",
                                                     "Update successfully!", "Press any key to continue......"}));
    EXPECT_EQ(FramesOf(run.port.sent).size(), ConsoleFrameCount(records));

    // Each record's start as a share of the payload, then 100: every figure once.
    std::vector<std::string> expected;
    std::size_t payload = MakeRecordSequence(records).size(), start = 0;
    for (const FirmwareRecord& record : records) {
        std::string line = "Updating..." + std::to_string(start * 100 / payload) + "%";
        if (expected.empty() || expected.back() != line)
            expected.push_back(line);
        start += record.size() + 2;
    }
    expected.push_back("Updating...100%");
    EXPECT_EQ(screen.writesAtProgressRow, expected);
}

TEST(ConsoleUpdater, AnEmptyPayloadFinishesRightAfterEnteringUpdateMode)
{
    FirmwareFile file({});
    ConsoleRun run(Frames({{}}));
    EXPECT_EQ(run.Run(file.Path()), 0);
    std::vector<SentReport> sent = run.port.sent;
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].bytes, ShortCommand('b', 0x09));
    EXPECT_EQ(sent[2].bytes, ShortCommand('c', 0x00));
    EXPECT_EQ(sent[3].bytes, (Bytes{0x02, 0x09}));
    EXPECT_EQ(run.output.output,
              "\n" + ExpectedLines({100}) + "\nUpdate successfully!\nPress any key to continue......");
}

TEST(ConsoleUpdater, ARejectedFileIsReportedBeforeAnythingIsSent)
{
    const std::wstring wide = CurrentDirectory();
    const std::string directory(wide.begin(), wide.end());
    {
        ConsoleRun run(Frames({{}}));
        EXPECT_EQ(run.Run(L"missing.bin"), 1);
        EXPECT_EQ(run.output.output, "\n" + directory + "\\missing.bin doesn't exist!\nPress any key to exit......\n");
        EXPECT_TRUE(run.port.sent.empty());
        EXPECT_EQ(run.probeCommands[0].size(), 2u); // the probe comes first
    }
    {
        std::filesystem::create_directory(InCurrentDirectory("folder"));
        ConsoleRun run(Frames({{}}));
        EXPECT_EQ(run.Run(L"folder"), 1);
        EXPECT_EQ(run.output.output,
                  "\nCan't open  file " + directory +
                      "\\folder,Please check the filename or file path!\nPress any key to exit......\n");
        std::filesystem::remove(InCurrentDirectory("folder"));
    }
    // A name with a backslash is used as given.
    ConsoleRun run(Frames({{}}));
    EXPECT_EQ(run.Run(L"D:\\no\\such.bin"), 1);
    EXPECT_EQ(run.output.output, "\nD:\\no\\such.bin doesn't exist!\nPress any key to exit......\n");
}

TEST(ConsoleUpdater, ADamagedFileIsRejectedBeforeAnythingIsSent)
{
    std::string text = ToHexText(MakeConsoleFirmware({}, {Bytes(5, 5)}));
    text[4] = text[4] == '0' ? '1' : '0';
    std::ofstream(InCurrentDirectory("damaged.bin"), std::ios::binary) << text;
    ConsoleRun run(Frames({{}}));
    EXPECT_EQ(run.Run(L"damaged.bin"), 1);
    EXPECT_EQ(run.output.output,
              "\nthe file you selected has been destroyed or changed,Please check!\nPress any key to exit......\n");
    EXPECT_TRUE(run.port.sent.empty());
    std::filesystem::remove(InCurrentDirectory("damaged.bin"));
}

TEST(ConsoleUpdater, WithNoTouchScreenTheFileIsCheckedAndNoneIsUpdated)
{
    FirmwareFile file({Bytes(5, 5)});
    // None attached, and one whose interface cannot be opened (it is not listed).
    SimScenario unopenable = MakeCountedScenario(1);
    unopenable.frames[0].openFails = true;
    for (SimScenario scenario : {Frames({}), unopenable}) {
        ConsoleRun run(scenario);
        EXPECT_EQ(run.Run(file.Path()), 1);
        EXPECT_EQ(run.output.output, "\nNo touch screen was updated: none is attached, or none could be opened!\n");
        EXPECT_TRUE(run.probeCommands.empty());
    }
}
