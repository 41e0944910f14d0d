// The update dialog's transfer: frames, reply handling and the log, with
// the requests recorded, then through the device thread to a virtual frame.

#include "update/UpdateTransfer.h"
#include "TestSeams.h"
#include "app/ConsoleMailbox.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

WindowHandle const kDialog = reinterpret_cast<WindowHandle>(0x2000);

class CRecordingView : public IUpdateTransferView {
public:
    std::vector<int> progress;
    int finished = 0;
    int failed = 0;
    void ShowProgress(int percent) override { progress.push_back(percent); }
    void ShowFinished() override { ++finished; }
    void ShowFailed() override { ++failed; }
};

DeviceReply Status(std::uint8_t status)
{
    DeviceReply reply;
    reply.report[0] = 0x31;
    reply.report[1] = status;
    return reply;
}

DeviceReply EndReply()
{
    DeviceReply reply;
    reply.report = {0x31, 'A', 'Q', '0', '0', '0', 0, 0, 0};
    return reply;
}

Bytes Record(std::size_t length, std::uint8_t first)
{
    Bytes record = {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)};
    for (std::size_t i = 0; i < length; ++i)
        record.push_back(static_cast<std::uint8_t>(first + i));
    return record;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A transfer whose requests are recorded instead of sent.
struct Transfer {
    explicit Transfer(Bytes payload, unsigned touchScreens = 1)
        : port(MakeCountedScenario(touchScreens)), devices(port, monitors, messenger),
          transfer(
              FirmwareImage{std::move(payload)}, devices, kDialog,
              [this](std::unique_ptr<DeviceRequest> request) {
                  posted.push_back(*request);
                  return true;
              },
              view, [this](std::wstring_view text) { log.emplace_back(text); })
    {
    }

    // The frames posted so far: mark, data length, the data.
    struct Frame {
        char mark;
        std::uint32_t length;
        Bytes data;
    };
    std::vector<Frame> Frames() const
    {
        std::vector<Frame> frames;
        for (const DeviceRequest& request : posted)
            if (request.report[0] == kFirmwareReportId)
                frames.push_back(
                    {static_cast<char>(request.report[1]), request.payloadLength,
                     Bytes(request.report.begin() + 2, request.report.begin() + 2 + request.payloadLength)});
        return frames;
    }
    std::size_t Finishes() const
    {
        std::size_t n = 0;
        for (const DeviceRequest& request : posted)
            n += request.report[0] == kCommandReportId && CommandOf(request.report) == Command::UpdateFinish;
        return n;
    }
    // Accepts every frame until the transfer ends.
    void AcceptAll()
    {
        for (int i = 0; i < 10000 && transfer.CurrentState() == CUpdateTransfer::State::Transferring; ++i)
            transfer.OnReply(Status(0x11));
    }

    CSimHidPort port;
    CFixedMonitors monitors;
    CRecordingMessenger messenger;
    CDeviceManager devices;
    CRecordingView view;
    std::vector<DeviceRequest> posted;
    std::vector<std::wstring> log;
    CUpdateTransfer transfer;
};

} // namespace

TEST(UpdateTransfer, StartsWithEnterUpdateModeToSlotZero)
{
    Transfer t(Record(3, 1), 2);
    ASSERT_TRUE(t.transfer.Start());
    ASSERT_EQ(t.posted.size(), 1u);
    const DeviceRequest& enter = t.posted[0];
    EXPECT_EQ(enter.deviceHandle, t.devices.HandleOf(0));
    EXPECT_EQ(enter.slot, 0);
    EXPECT_EQ(enter.replyWindow, kDialog);
    EXPECT_EQ(enter.report, MakeCommandReport(Command::UpdateStep, {0x05}));
    EXPECT_TRUE(t.view.progress.empty());

    // No touchscreen in slot 0: nothing to update, nothing posted.
    Transfer none(Record(3, 1), 0);
    EXPECT_FALSE(none.transfer.Start());
    EXPECT_TRUE(none.posted.empty());
}

TEST(UpdateTransfer, ARecordThatFitsIsOneFrameWithTheTwoBytesAfterIt)
{
    // L = 10: the frame carries the record and the next record's length bytes;
    // after the last record those two bytes are 0.
    Transfer t(Concat({Record(10, 0x40), Record(10, 0x60)}));
    t.transfer.Start();
    t.AcceptAll();
    auto frames = t.Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].mark, 'A');
    EXPECT_EQ(frames[0].length, 14u);
    EXPECT_EQ(frames[0].data, Concat({Record(10, 0x40), {0x00, 0x0A}}));
    EXPECT_EQ(frames[1].mark, 'A');
    EXPECT_EQ(frames[1].data, Concat({Record(10, 0x60), {0x00, 0x00}}));
    EXPECT_EQ(t.Finishes(), 1u);
    EXPECT_EQ(t.view.finished, 1);
    EXPECT_EQ(t.view.progress, (std::vector<int>{0, 50, 100}));
}

TEST(UpdateTransfer, ALongRecordIsSentInOverlappingFrames)
{
    Bytes payload = Record(98, 0); // R = 100
    Transfer t(payload);
    t.transfer.Start();
    t.AcceptAll();
    auto frames = t.Frames();
    ASSERT_EQ(frames.size(), 3u);
    struct Expected {
        std::size_t start;
        char mark;
        std::uint32_t length;
    };
    const Expected expected[] = {{0, 'A', 49}, {47, 'B', 49}, {94, 'B', 8}};
    payload.resize(102, 0); // the two bytes past the payload read as 0
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(frames[i].mark, expected[i].mark) << i;
        EXPECT_EQ(frames[i].length, expected[i].length) << i;
        EXPECT_EQ(frames[i].data,
                  Bytes(payload.begin() + expected[i].start, payload.begin() + expected[i].start + expected[i].length))
            << i;
    }
    EXPECT_EQ(t.view.progress, (std::vector<int>{0, 100}));
}

TEST(UpdateTransfer, FourRejectionsAreResentAndTheFifthFails)
{
    Bytes payload = Concat({Record(60, 1), Record(3, 2)});
    Transfer t(payload);
    t.transfer.Start();
    t.transfer.OnReply(Status(0x11)); // entering update mode: the first frame goes
    t.transfer.OnReply(Status(0x11)); // the first record's second frame goes
    for (std::uint8_t rejection : {0x13, 0x22, 0x13, 0x22}) {
        t.transfer.OnReply(Status(rejection));
        EXPECT_EQ(t.Frames().back().mark, 'A'); // the record again from its first frame
        EXPECT_EQ(t.Frames().back().data[2], 1);
    }
    EXPECT_EQ(t.transfer.Rejections(), 4);
    t.transfer.OnReply(Status(0x11)); // the fifth attempt is accepted
    EXPECT_EQ(t.transfer.Rejections(), 0);
    EXPECT_EQ(t.Frames().back().mark, 'B');
    for (int i = 0; i < 4; ++i)
        t.transfer.OnReply(Status(0x13));
    const std::size_t before = t.posted.size();
    t.transfer.OnReply(Status(0x13));
    EXPECT_EQ(t.transfer.CurrentState(), CUpdateTransfer::State::Failed);
    EXPECT_EQ(t.view.failed, 1);
    EXPECT_EQ(t.posted.size(), before);
    EXPECT_EQ(t.Finishes(), 0u);

    // Nothing more is sent once the transfer failed.
    t.transfer.OnReply(Status(0x11));
    EXPECT_EQ(t.posted.size(), before);
}

TEST(UpdateTransfer, AnUnknownStatusContinuesWithoutClearingTheRejections)
{
    Transfer t(Concat({Record(3, 1), Record(3, 2), Record(3, 3)}));
    t.transfer.Start();
    t.transfer.OnReply(Status(0x11));
    t.transfer.OnReply(Status(0x13));
    t.transfer.OnReply(Status(0x13));
    t.transfer.OnReply(Status(0x55)); // goes on to the next record
    EXPECT_EQ(t.transfer.Rejections(), 2);
    EXPECT_EQ(t.Frames().back().data[2], 2);
    t.transfer.OnReply(Status(0x13));
    t.transfer.OnReply(Status(0x13));
    t.transfer.OnReply(Status(0x13)); // the fifth without an accepted frame
    EXPECT_EQ(t.transfer.CurrentState(), CUpdateTransfer::State::Failed);
}

TEST(UpdateTransfer, EndRepliesAreIgnoredAndALateReplyFinishesAgain)
{
    Transfer t(Record(3, 1));
    t.transfer.Start();
    t.transfer.OnReply(EndReply());
    EXPECT_EQ(t.posted.size(), 1u);
    t.transfer.OnReply(Status(0x11));
    t.transfer.OnReply(EndReply());
    EXPECT_EQ(t.Frames().size(), 1u);
    t.transfer.OnReply(Status(0x11));
    EXPECT_EQ(t.Finishes(), 1u);
    EXPECT_EQ(t.view.finished, 1);

    // A reply after the finish request posts it again and restarts the timer.
    t.transfer.OnReply(Status(0x11));
    EXPECT_EQ(t.Finishes(), 2u);
    EXPECT_EQ(t.view.finished, 2);
    EXPECT_EQ(t.Frames().size(), 1u);
}

TEST(UpdateTransfer, AnEmptyPayloadFinishesRightAfterEnteringUpdateMode)
{
    Transfer t({});
    t.transfer.Start();
    t.transfer.OnReply(Status(0x11));
    EXPECT_TRUE(t.Frames().empty());
    EXPECT_EQ(t.Finishes(), 1u);
    EXPECT_EQ(t.posted.back().report, MakeCommandReport(Command::UpdateFinish, {0x00}));
    EXPECT_TRUE(t.view.progress.empty());
}

TEST(UpdateTransfer, RecordsRunningPastThePayloadReadZerosAndStopAtOneHundred)
{
    Bytes payload = {0x00, 0x50, 0xAA}; // announces 80 bytes, holds 1
    Transfer t(payload);
    t.transfer.Start();
    t.AcceptAll();
    auto frames = t.Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].data, Concat({payload, Bytes(46, 0)}));
    EXPECT_EQ(frames[1].data, Bytes(37, 0));
    EXPECT_EQ(t.view.progress, (std::vector<int>{0, 100}));
}

TEST(UpdateTransfer, EveryFrameAndEveryJudgedReplyIsLogged)
{
    Transfer t(Record(3, 1));
    t.transfer.Start();
    t.transfer.OnReply(Status(0x11));
    t.transfer.OnReply(EndReply());
    t.transfer.OnReply(Status(0x13));
    t.transfer.OnReply(Status(0x11));
    EXPECT_EQ(t.log,
              (std::vector<std::wstring>{L" Recv:31 11 ", L"51 41 ", L" Recv:31 13 ", L"51 41 ", L" Recv:31 11 "}));
}

namespace {

std::vector<std::string> LogLines(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(DialogUpdateOverDeviceThread, EachFrameIsSentOnceItsPredecessorWasAnswered)
{
    auto log = std::filesystem::temp_directory_path() / "pelno_dialog_update.log";
    std::filesystem::remove(log);
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].logFile = log.wstring();
    scenario.frames[0].frameReplies = {0x11, 0x13, 0x11}; // the second frame is rejected once
    CConsoleMailbox queue{kDialog};
    CSimHidPort port(scenario);
    CFixedMonitors monitors;
    CDeviceManager devices(port, monitors, queue);
    CProtocolState state;
    CStandardSystem system;
    CDeviceThread thread(port, queue, devices, state, system);
    thread.Start();

    Bytes payload = Concat({Record(50, 0x10), Record(3, 0x70)}); // frames A B, then A
    CRecordingView view;
    std::vector<std::wstring> mainLog;
    CUpdateTransfer transfer(
        FirmwareImage{payload}, devices, kDialog,
        [&](std::unique_ptr<DeviceRequest> request) { return thread.PostRequest(std::move(request)); }, view,
        [&](std::wstring_view text) { mainLog.emplace_back(text); });
    ASSERT_TRUE(transfer.Start());
    while (transfer.CurrentState() == CUpdateTransfer::State::Transferring) {
        auto message = queue.Take(3000ms);
        ASSERT_TRUE(message) << "no reply";
        EXPECT_EQ(message->window, kDialog);
        EXPECT_EQ(message->message, WM_UPDATE_REPLY);
        transfer.OnReply(*CConsoleMailbox::TakeReply(*message));
    }
    EXPECT_EQ(transfer.CurrentState(), CUpdateTransfer::State::Finished);
    for (auto end = std::chrono::steady_clock::now() + 2s;
         thread.OutstandingRequests() > 0 && std::chrono::steady_clock::now() < end;)
        std::this_thread::sleep_for(5ms);
    thread.Stop();

    // Enter, A, B (rejected), A B again, A, finish: every report is 100 bytes.
    std::vector<std::string> lines = LogLines(log);
    std::vector<std::string> starts;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 100u * 3 - 1);
        starts.push_back(line.substr(0, 11));
    }
    EXPECT_EQ(starts, (std::vector<std::string>{"31 52 62 05", "51 41 00 32", "51 42 3D 3E", "51 41 00 32",
                                                "51 42 3D 3E", "51 41 00 03", "31 52 63 00"}));
    EXPECT_EQ(view.progress, (std::vector<int>{0, 91, 100}));
    EXPECT_EQ(std::count(mainLog.begin(), mainLog.end(), L" Recv:31 13 "), 1);
    std::filesystem::remove(log);
}
