// The Diagnostics dialog's behaviour against virtual frames and the real
// device thread. The test plays the window: it takes what is posted to it and
// hands it to the panel as the dialog's message table does, and it fires the
// step timer itself.

#include "diagnostics/DiagnosisPanel.h"
#include "FrameLog.h"
#include "SimEngine.h"
#include "app/ConsoleMailbox.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "device/RemovalNotice.h"
#include "device/ReportProtocol.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

using namespace std::chrono_literals;

class CRecordingView : public IDiagnosisView {
public:
    void SetTitle(const std::wstring& text) override { title = text; }
    void ShowLines(const std::vector<std::wstring>& shown) override { lines = shown; }
    void FocusList() override { ++focused; }
    void EnableDiagnose(bool enable) override { diagnose = enable; }
    void EnableExport(bool enable) override { exportable = enable; }
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void StartTimer(unsigned milliseconds) override { timer = milliseconds; }
    void StopTimer() override { timer = 0; }
    std::optional<std::wstring> ChooseReportPath(const std::wstring& name) override
    {
        proposed = name;
        return chosen;
    }

    std::wstring title;
    std::vector<std::wstring> lines;
    int focused = 0;
    bool diagnose = false;
    bool exportable = true;
    std::vector<std::wstring> messages;
    unsigned timer = 0;
    std::wstring proposed;
    std::optional<std::wstring> chosen;
};

std::wstring Text(std::wstring_view key) { return L"<" + std::wstring(key) + L">"; }

// The window's mailbox is the first base so that it outlives the device thread.
struct Rig : CConsoleMailbox, SimEngine {
    explicit Rig(SimScenario scenario)
        : SimEngine(std::move(scenario), *this),
          panel(DiagnosisServices{devices, state,
                                  [this](std::unique_ptr<DeviceRequest> r) {
                                      if (holdOpening && CommandOf(r->report) == Command::Open)
                                          return true; // the test answers it
                                      return thread.PostRequest(std::move(r));
                                  },
                                  files, codePage, &Text},
                view)
    {
        for (unsigned i = 0; i < devices.Count(); ++i)
            devices.WithRecord(i, [&](TouchScreenRecord& r) {
                r.touchScreenNumber = int(i) + 5;
                r.hardwareVersion[0] = 2;
                r.hardwareVersion[1] = 1;
                r.hardwareVersion[2] = 0;
                r.serialPart3 = 77;
            });
    }
    ~Rig()
    {
        panel.Close();
        thread.Stop();
    }

    void Open(int slot)
    {
        panel.SetTouchScreen(slot);
        panel.Open(window.Window());
    }

    // Plays the window until the run ends; with no reply for `quiet`, the
    // step timer fires instead (as the window's would, only sooner).
    bool RunToEnd(std::chrono::milliseconds quiet = 400ms)
    {
        for (auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;) {
            if (panel.CurrentState() == CDiagnosisPanel::State::Idle)
                return true;
            auto m = window.Take(quiet);
            if (!m) {
                EXPECT_EQ(view.timer, kDiagnosisStepTimeoutMs);
                panel.OnStepTimeout();
                continue;
            }
            Dispatch(*m);
        }
        return false;
    }
    void Dispatch(const CConsoleMailbox::Message& m)
    {
        std::unique_ptr<DeviceReply> reply = CConsoleMailbox::TakeReply(m);
        if (m.message == WM_OPENING_REPLY)
            panel.OnOpeningReply(std::move(reply));
        else if (m.message == WM_DIAGNOSTICS_HEADER_REPLY)
            panel.OnLevelReply(std::move(reply));
        else if (m.message == WM_DIAGNOSTICS_DATA_REPLY)
            panel.OnStatusReply(std::move(reply));
        else
            ADD_FAILURE() << "unexpected message " << m.message;
    }
    std::unique_ptr<DeviceReply> Reply(std::initializer_list<std::uint8_t> answer, unsigned slot = 0)
    {
        auto reply = std::make_unique<DeviceReply>();
        reply->deviceHandle = devices.HandleOf(slot);
        reply->report[0] = kCommandReportId;
        std::size_t i = 1;
        for (std::uint8_t b : answer)
            reply->report[i++] = b;
        return reply;
    }

    CConsoleMailbox& window = *this;
    CMemoryFileStore files;
    CLatin1CodePage codePage;
    CRecordingView view;
    bool holdOpening = false;
    CDiagnosisPanel panel;
};

SimScenario Scenario(const std::function<void(SimFrameSetup&)>& edit, unsigned count = 1)
{
    SimScenario scenario = MakeCountedScenario(count);
    edit(scenario.frames[0]);
    return scenario;
}

TEST(DiagnosisPanel, ARunListsEveryLedOfTheFrameAndEnablesExport)
{
    const std::wstring log = FreshFrameLog("diagnosis_run");
    Rig rig(Scenario([&](SimFrameSetup& f) {
        f.ledsX = 16;
        f.ledsY = 12;
        f.ledStepByte = 0x21;
        f.badLeds = {3, 17}; // x LED 3 and the first y LED
        f.logFile = log;
    }));
    rig.Open(0);
    EXPECT_EQ(rig.view.title, L"No.5 <58>");
    EXPECT_TRUE(rig.view.diagnose);
    EXPECT_FALSE(rig.view.exportable);

    rig.panel.StartRun();
    EXPECT_EQ(rig.view.lines, std::vector<std::wstring>{L"<61>"});
    EXPECT_FALSE(rig.view.diagnose);
    EXPECT_EQ(rig.view.focused, 1);
    ASSERT_TRUE(rig.RunToEnd(3s));

    const auto& lines = rig.view.lines;
    ASSERT_EQ(lines.size(), 11u + 16 + 1 + 12);
    EXPECT_EQ(lines[0], L"TouchScreen No:5");
    EXPECT_EQ(lines[1], L"Hardware Version:2.1.0");
    EXPECT_EQ(lines[2], L"Product Serial Number:0077");
    EXPECT_EQ(lines[3], L"Total leds:28 ");
    EXPECT_EQ(lines[5], L"       x-coordinate total leds:16  bad leds:1 ");
    EXPECT_EQ(lines[6], L"       y-coordinate total leds:12  bad leds:1 ");
    for (std::size_t i = 11; i < lines.size(); ++i) {
        const bool bad = lines[i].starts_with(L"      003") || lines[i].starts_with(L"      017");
        if (i != 27) { // the y axis's heading
            EXPECT_EQ(lines[i].ends_with(L"[   Bad  ]"), bad) << i;
        }
    }
    EXPECT_TRUE(rig.view.diagnose);
    EXPECT_TRUE(rig.view.exportable);
    EXPECT_EQ(rig.view.timer, 0u);
    EXPECT_FALSE(rig.state.HasOpeningAnswer(rig.devices.HandleOf(0))); // a completed run frees its own
    EXPECT_TRUE(rig.panel.Scan().LevelBytes().empty());
    // The picture's scan stays with the lines: x LED 3 is entry 2, y LED 17 entry 17.
    EXPECT_EQ(rig.panel.ShownScan().BadLeds(), (std::vector<CBuffer>{{2, 25}, {17, 25}}));
    // 'o', then the opening answer sent back before each scan command.
    EXPECT_EQ(FrameCommands(log),
              (std::vector<std::string>{"31 6F 00", "31 4F 4B", "31 5A 76", "31 4F 4B", "31 5A 67"}));

    // Export: the lines, each ended by CR LF, replacing the whole of a longer earlier report.
    const std::wstring path = L"C:\\Reports\\Diagnostics_5.txt";
    rig.files.Put(path, std::string(10000, 'x'));
    rig.view.chosen = path;
    rig.panel.ExportDiagnostics();
    EXPECT_EQ(rig.view.proposed, L"Diagnostics_5.txt");
    std::string expected;
    for (const std::wstring& line : lines)
        expected += std::string(line.begin(), line.end()) + "\r\n";
    EXPECT_EQ(rig.files.Bytes(path), expected);
    EXPECT_TRUE(rig.view.messages.empty());
}

TEST(DiagnosisPanel, TheLargestFrameStreamsMoreReportsThanTheDriverKeepsAndIsListedWhole)
{
    Rig rig(Scenario([](SimFrameSetup& f) {
        f.ledsX = 255;
        f.ledsY = 255;
        f.ledStepByte = 0x21; // 129 level reports, 65 status reports
        f.badLeds = {1, 510};
    }));
    rig.Open(0);
    rig.panel.StartRun();
    ASSERT_TRUE(rig.RunToEnd(3s));
    ASSERT_EQ(rig.view.lines.size(), 11u + 255 + 1 + 255);
    EXPECT_TRUE(rig.view.lines[11].starts_with(L"      001-") && rig.view.lines[11].ends_with(L"[   Bad  ]"));
    EXPECT_TRUE(rig.view.lines.back().starts_with(L"      510-") && rig.view.lines.back().ends_with(L"[   Bad  ]"));
    EXPECT_EQ(rig.view.lines[3], L"Total leds:510 ");
}

TEST(DiagnosisPanel, ARunWithoutAUsableResultSaysSoAndCanBeRetried)
{
    struct Case {
        const char* what;
        std::function<void(SimFrameSetup&)> edit;
    };
    const Case cases[] = {
        {"a step byte whose divisor is 0", [](SimFrameSetup& f) { f.ledStepByte = 0x20; }},
        {"a silent frame", [](SimFrameSetup& f) { f.silent = true; }},
        {"no end to the status stream", [](SimFrameSetup& f) { f.ignoredCommands = {Command::DiagnosticsData}; }},
    };
    for (const Case& c : cases) {
        Rig rig(Scenario(c.edit));
        rig.Open(0);
        rig.panel.StartRun();
        ASSERT_TRUE(rig.RunToEnd()) << c.what;
        EXPECT_EQ(rig.view.lines, std::vector<std::wstring>{L"<160>"}) << c.what;
        EXPECT_FALSE(rig.panel.ShownScan().Header()) << c.what; // no picture either
        EXPECT_TRUE(rig.view.diagnose) << c.what;
        EXPECT_FALSE(rig.view.exportable) << c.what;
        EXPECT_FALSE(rig.state.HasOpeningAnswer(rig.devices.HandleOf(0))) << c.what;
        // A late reply of the abandoned run adds nothing to the next one.
        rig.panel.StartRun();
        auto late = rig.Reply({'Z', 'v', 1, 1, 0x11, 1, 50, 0});
        late->report[0] = kDiagnosticsReportId;
        rig.panel.OnLevelReply(std::move(late));
        EXPECT_TRUE(rig.panel.Scan().LevelBytes().empty()) << c.what;
        EXPECT_FALSE(rig.state.Stopped(rig.devices.HandleOf(0))) << c.what; // the new run's workers read
    }
}

TEST(DiagnosisPanel, AnOpeningWithoutDataLeavesTheScanCommandsUnsentUntilTheTimeout)
{
    const std::wstring log = FreshFrameLog("diagnosis_noanswer");
    Rig rig(Scenario([&](SimFrameSetup& f) { f.logFile = log; }));
    rig.holdOpening = true;
    rig.Open(0);
    rig.panel.StartRun();
    rig.panel.OnOpeningReply(rig.Reply({'A', 'o', '0', '0', '0', 0, 0, 0}));
    EXPECT_EQ(rig.view.timer, kDiagnosisStepTimeoutMs);
    ASSERT_TRUE(rig.RunToEnd());
    EXPECT_EQ(rig.view.lines, std::vector<std::wstring>{L"<160>"});
    EXPECT_TRUE(FrameCommands(log).empty()); // the device thread dropped 'Zv'
}

TEST(DiagnosisPanel, RemovalNoticesConcernOnlyThisDialogsTouchScreen)
{
    Rig rig(Scenario([](SimFrameSetup&) {}, 3));
    rig.Open(1);
    const DeviceHandle other = rig.devices.HandleOf(0), ours = rig.devices.HandleOf(1);

    rig.devices.RemoveComplete(other); // ours moves to slot 0
    rig.panel.OnTouchScreenRemoved(RemovalNoticeKey());
    rig.panel.OnTouchScreenRemoved(RemovalNoticeKey() + 1); // not this program's notice
    EXPECT_TRUE(rig.view.messages.empty());
    EXPECT_EQ(rig.panel.TouchScreen(), 0);

    rig.panel.StartRun(); // still diagnoses its own touchscreen, at its new slot
    ASSERT_TRUE(rig.RunToEnd(3s));
    EXPECT_EQ(rig.view.lines.at(0), L"TouchScreen No:6");

    rig.devices.RemoveComplete(ours);
    rig.panel.OnTouchScreenRemoved(RemovalNoticeKey() + 1);
    EXPECT_TRUE(rig.view.messages.empty());
    rig.panel.OnTouchScreenRemoved(RemovalNoticeKey());
    EXPECT_EQ(rig.view.messages, std::vector<std::wstring>{kTouchScreenRemovedText});
    EXPECT_FALSE(rig.view.diagnose);
    EXPECT_TRUE(rig.view.exportable); // the result shown can still be saved

    // Pressed anyway (a keyboard shortcut): nothing is sent.
    rig.view.messages.clear();
    rig.panel.StartRun();
    EXPECT_EQ(rig.view.messages, std::vector<std::wstring>{kSelectedTouchScreenGoneText});
    EXPECT_EQ(rig.panel.CurrentState(), CDiagnosisPanel::State::Idle);
}

// The last line the program wrote to Main.Log (in the current folder).
std::string LastMainLogLine()
{
    std::ifstream log("Main.Log");
    std::string line, last;
    while (std::getline(log, line))
        last = line;
    return last;
}

TEST(DiagnosisPanel, AReportThatCannotBeWrittenIsToldAndCancellingWritesNothing)
{
    Rig rig(Scenario([](SimFrameSetup&) {}));
    rig.Open(0);
    rig.panel.StartRun();
    ASSERT_TRUE(rig.RunToEnd(3s));

    rig.view.chosen.reset();
    rig.panel.ExportDiagnostics();
    EXPECT_EQ(rig.files.FileCount(), 0u);

    const std::wstring path = L"C:\\Reports\\held.txt";
    rig.files.Put(path, "earlier");
    rig.files.SetLocked(path, true);
    rig.view.chosen = path;
    rig.panel.ExportDiagnostics();
    EXPECT_EQ(rig.view.messages, std::vector<std::wstring>{L"<161>\n" + path});
    // The log names the call that failed and its code; the box stays as it was.
    EXPECT_TRUE(LastMainLogLine().ends_with(" <161> C:\\Reports\\held.txt (CreateFileW failed with error 32)"))
        << LastMainLogLine();
    rig.files.SetLocked(path, false);
    EXPECT_EQ(rig.files.Bytes(path), "earlier");

    rig.view.messages.clear();
    rig.files.SetFreeSpace(100); // a new file that does not fit is not left half written
    rig.view.chosen = L"C:\\Reports\\new.txt";
    rig.panel.ExportDiagnostics();
    EXPECT_EQ(rig.view.messages.size(), 1u);
    EXPECT_TRUE(LastMainLogLine().ends_with("(WriteFile failed with error 112)")) << LastMainLogLine();
    EXPECT_FALSE(rig.files.Bytes(L"C:\\Reports\\new.txt"));
}

} // namespace
