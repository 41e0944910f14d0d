// The update dialog's behaviour over the device thread and virtual frames:
// what it shows, when it closes, and that it sends nothing when it cannot
// update or once its window went. Timers are fired by the test when no
// reply is pending, as time passing would.

#include "update/UpdatePanel.h"
#include "SimEngine.h"
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

#include <set>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

WindowHandle const kDialog = reinterpret_cast<WindowHandle>(0x3000);

class CRecordingUpdateView : public IUpdateView {
public:
    std::vector<std::wstring> figures;
    std::vector<std::wstring> messages;
    std::set<unsigned> timers;
    int closes = 0;
    void ShowProgress(int, const std::wstring& figure) override { figures.push_back(figure); }
    void ShowFinalMessage(const std::wstring& text) override { messages.push_back(text); }
    void StartTimer(unsigned id, unsigned) override { timers.insert(id); }
    void StopTimer(unsigned id) override { timers.erase(id); }
    void Close() override { ++closes; }
};

// Two records, 52 and 5 bytes with their lengths: a record boundary at 91 %.
Bytes TwoRecords()
{
    Bytes payload = {0x00, 50};
    payload.resize(52, 0x10);
    payload.insert(payload.end(), {0x00, 3, 1, 2, 3});
    return payload;
}

struct Case {
    const char* what;
    unsigned touchScreens;
    bool fileReadable;
    std::vector<std::uint8_t> frameReplies; // the frames' statuses, in order
    bool silent;
    int closeAfterReplies; // the window goes after that many replies (-1: never)
    std::wstring figures;  // every figure shown, joined by "|"
    std::wstring messages; // every final message shown, joined by "|"
    bool finishSent;
    std::vector<std::uint8_t> file = TwoRecords(); // the bytes the file decodes to
};

const std::wstring kAllFigures = L"0 %|91 %|100 %";
const std::wstring kCompleted = std::wstring(kUpdatingText) + L"|" + kUpdateCompletedText;
const std::vector<std::uint8_t> kFiveRejections = {0x13, 0x22, 0x13, 0x22, 0x13};
const std::vector<std::uint8_t> kFourRejectionsThenAccepted = {0x13, 0x22, 0x13, 0x22, 0x11};
const Case kCases[] = {
    {"every frame accepted", 1, true, {}, false, -1, kAllFigures, kCompleted, true},
    {"five rejections: the error stays", 1, true, kFiveRejections, false, -1, L"0 %", kUpdateErrorText, false},
    {"four rejections, then accepted", 1, true, kFourRejectionsThenAccepted, false, -1, kAllFigures, kCompleted, true},
    {"a touchscreen that stops answering", 1, true, {}, true, -1, L"", kUpdateErrorText, false},
    {"no firmware file", 1, false, {}, false, -1, L"", kUpdateReadFailedText, false},
    {"no touchscreen in slot 0", 0, true, {}, false, -1, L"", kUpdateFailedText, false},
    {"a file without one hex byte", 1, true, {}, false, -1, L"", kUpdateFailedText, false, {}},
    {"a record longer than the file", 1, true, {}, false, -1, L"", kUpdateFailedText, false, {0x00, 9, 1, 2}},
    {"the window goes during the transfer", 1, true, {}, false, 2, L"0 %", L"", false},
};

std::wstring Joined(const std::vector<std::wstring>& texts)
{
    std::wstring joined;
    for (const std::wstring& text : texts)
        joined += (joined.empty() ? L"" : L"|") + text;
    return joined;
}

// The dialog's mailbox is the first base so that it outlives the device thread.
struct UpdateRig : CConsoleMailbox, SimEngine {
    explicit UpdateRig(const Case& c)
        : CConsoleMailbox(kDialog), SimEngine(Setup(MakeCountedScenario(c.touchScreens), c), *this),
          panel(UpdateServices{devices,
                               [this](std::unique_ptr<DeviceRequest> request) {
                                   sent.push_back(request->report);
                                   return thread.PostRequest(std::move(request));
                               },
                               [&c](FirmwareImage& image) {
                                   image.bytes = c.file;
                                   return c.fileReadable;
                               },
                               [](std::wstring_view) {}},
                view)
    {
    }
    ~UpdateRig() { thread.Stop(); }
    static SimScenario Setup(SimScenario scenario, const Case& c)
    {
        for (SimFrameSetup& frame : scenario.frames) {
            frame.frameReplies = c.frameReplies;
            frame.silent = c.silent;
        }
        return scenario;
    }

    // The dialog's loop: replies as they come; when none is pending, the
    // running timers in the order their delays would fire them.
    void Run(int closeAfterReplies)
    {
        panel.Open(kDialog);
        int replies = 0;
        for (int turns = 0; turns < 2000 && view.closes == 0; ++turns) {
            if (auto message = queue.Take(300ms)) {
                ASSERT_EQ(message->message, WM_UPDATE_REPLY);
                panel.OnReply(CConsoleMailbox::TakeReply(*message));
                if (++replies == closeAfterReplies) {
                    panel.Close();
                    sentAtClose = sent.size();
                }
                continue;
            }
            if (panel.CurrentStage() == CUpdatePanel::Stage::Closed)
                return;
            if (view.timers.empty())
                return;
            panel.OnTimer(*view.timers.begin()); // 10, then 11, then 12
        }
    }
    bool FinishSent() const
    {
        return std::any_of(sent.begin(), sent.end(), [](const Report& r) { return r[0] == 0x31 && r[2] == 'c'; });
    }

    CConsoleMailbox& queue = *this;
    CRecordingUpdateView view;
    std::vector<Report> sent;
    std::size_t sentAtClose = 0;
    CUpdatePanel panel;
};

} // namespace

TEST(UpdatePanel, ShowsProgressAndItsEndThenCloses)
{
    for (const Case& c : kCases) {
        UpdateRig rig(c);
        rig.Run(c.closeAfterReplies);
        EXPECT_EQ(Joined(rig.view.figures), c.figures) << c.what;
        EXPECT_EQ(Joined(rig.view.messages), c.messages) << c.what;
        EXPECT_EQ(rig.FinishSent(), c.finishSent) << c.what;
        if (c.closeAfterReplies >= 0) {
            EXPECT_EQ(rig.view.closes, 0) << c.what;
            EXPECT_EQ(rig.sent.size(), rig.sentAtClose) << c.what << ": nothing is sent once the window went";
            continue;
        }
        EXPECT_EQ(rig.view.closes, 1) << c.what;
        EXPECT_TRUE(rig.view.timers.empty()) << c.what;
        if (!c.fileReadable || c.touchScreens == 0 || c.file != TwoRecords())
            EXPECT_TRUE(rig.sent.empty()) << c.what;
        else
            EXPECT_EQ(rig.sent.front(), MakeCommandReport(Command::UpdateStep, {0x05})) << c.what;
    }
}
