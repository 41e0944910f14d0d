#include "app/FleetCommands.h"

#include "app/ConsoleMailbox.h"
#include "app/MainPanel.h"
#include "calibration/CalibrationRefit.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "diagnostics/DiagnosisPanel.h"
#include "diagnostics/DiagnosticsReport.h"
#include "info/TouchScreenProperties.h"
#include "platform/Console.h"
#include "platform/FileStore.h"
#include "platform/Messages.h"
#include "platform/System.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kNoTouchScreen[] = "No touchscreen is attached!\n";
constexpr char kNoDeviceThread[] = "The touchscreens cannot be reached: the device thread could not be started.\n";
// The start-up query of one touchscreen: four exchanges of at most
// kExchangeTimeoutMs and its pauses (about a second at most).
constexpr unsigned kQueryPerTouchScreenMs = 4 * kExchangeTimeoutMs + 1000;
// After a scan that timed out, the stop flag stays set this long, so that
// the worker still reading sees it before the next scan clears it.
constexpr unsigned kStopHoldMs = 200;
constexpr milliseconds kIdleSlice{100};

// The main dialog's view, for the query run without a window: only the end matters.
class CQueryView : public IMainPanelView {
public:
    void ShowTouchScreens(const std::vector<TouchScreenListItem>&, int) override {}
    void EnableActions(const MainActions&) override {}
    void ListReady() override { ready = true; }
    bool ready = false;
};

// The Diagnostics dialog's view, for the scans run without a window: the
// timer is a deadline, the Save As dialog answers with the report's path,
// boxes are kept for the command to report.
class CScanView : public IDiagnosisView {
public:
    void SetTitle(const std::wstring&) override {}
    void ShowLines(const std::vector<std::wstring>&) override {}
    void FocusList() override {}
    void EnableDiagnose(bool) override {}
    void EnableExport(bool) override {}
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void StartTimer(unsigned ms) override { deadline = Clock::now() + milliseconds(ms); }
    void StopTimer() override { deadline.reset(); }
    std::optional<std::wstring> ChooseReportPath(const std::wstring&) override { return reportPath; }

    std::optional<Clock::time_point> deadline;
    std::optional<std::wstring> reportPath;
    std::vector<std::wstring> messages;
};

std::wstring Number(std::int32_t value) { return std::to_wstring(value); }

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/')
        return folder + name;
    return folder + L"\\" + name;
}

// One touchscreen's Diagnostics run: the dialog's panel over a view of its own.
struct Scan {
    Scan(const DiagnosisServices& services, unsigned slot) : panel(services, view), slot(slot) {}
    CScanView view;
    CDiagnosisPanel panel;
    unsigned slot;
};

// A device thread of the command's own whose replies go to its mailbox.
class CFleetSession {
public:
    explicit CFleetSession(FleetContext& context)
        : m_context(context), m_thread(context.hid, m_mailbox, context.devices, context.state, context.system)
    {
    }
    ~CFleetSession() { m_thread.Stop(); }

    RequestPoster Poster()
    {
        return [this](std::unique_ptr<DeviceRequest> request) { return m_thread.PostRequest(std::move(request)); };
    }
    WindowHandle Window() const { return m_mailbox.Window(); }

    // Starts the device thread and runs the main dialog's start-up query:
    // afterwards each record holds the version, serial number and number
    // read, or its number is unknown. False, with the console told, when the
    // thread cannot start.
    bool QueryTouchScreens();
    // The Diagnostics runs of every scan, side by side; true when one timed out.
    bool RunScans(std::vector<std::unique_ptr<Scan>>& scans);

private:
    FleetContext& m_context;
    CConsoleMailbox m_mailbox; // outlives the thread, whose workers post to it
    CDeviceThread m_thread;
};

bool CFleetSession::QueryTouchScreens()
{
    if (!m_thread.Start()) {
        m_context.console.Write(kNoDeviceThread);
        return false;
    }
    CQueryView view;
    CMainPanel panel(MainPanelServices{m_context.devices, m_context.state, m_context.hid, m_mailbox, Poster(),
                                       m_context.system, m_context.configuration},
                     view);
    panel.StartQuery(Window());
    const auto deadline = Clock::now() + milliseconds(m_context.devices.Count() * kQueryPerTouchScreenMs + 2000);
    while (!view.ready && Clock::now() < deadline) {
        auto message = m_mailbox.Take(kIdleSlice);
        if (!message)
            continue;
        auto reply = CConsoleMailbox::TakeReply(*message);
        switch (message->message) {
        case WM_OPENING_REPLY:
            panel.OnOpeningReply(std::move(reply));
            break;
        case WM_VERSION_REPLY:
            panel.OnVersionReply(std::move(reply));
            break;
        case WM_SERIAL_REPLY:
            panel.OnSerialReply(std::move(reply));
            break;
        case WM_NUMBER_READ_REPLY:
            panel.OnNumberReadReply(std::move(reply));
            break;
        case WM_PANEL_REFRESH_LIST:
            panel.RefreshList();
            break;
        default:
            break; // anything else (and its record) is dropped
        }
    }
    panel.Close();
    if (!view.ready)
        panel.RefreshList(); // what the query read before its time ran out
    return true;
}

bool CFleetSession::RunScans(std::vector<std::unique_ptr<Scan>>& scans)
{
    bool timedOut = false;
    for (;;) {
        // The panels always run their step timers while they wait.
        Scan* next = nullptr;
        for (auto& scan : scans)
            if (scan->panel.CurrentState() == CDiagnosisPanel::State::Running &&
                (!next || scan->view.deadline.value_or(Clock::time_point::max()) <
                              next->view.deadline.value_or(Clock::time_point::max())))
                next = scan.get();
        if (!next)
            return timedOut;
        const auto deadline = next->view.deadline.value_or(Clock::now() + kIdleSlice);
        const auto now = Clock::now();
        if (now >= deadline) {
            next->view.deadline.reset();
            next->panel.OnStepTimeout();
            timedOut = true;
            continue;
        }
        auto message = m_mailbox.Take(std::chrono::duration_cast<milliseconds>(deadline - now) + milliseconds(1));
        if (!message)
            continue;
        auto reply = CConsoleMailbox::TakeReply(*message);
        // Each reply goes to the run of its touchscreen's slot.
        auto owner = std::find_if(scans.begin(), scans.end(),
                                  [&](const auto& scan) { return reply && scan->panel.TouchScreen() == reply->slot; });
        if (owner == scans.end())
            continue;
        CDiagnosisPanel& panel = (*owner)->panel;
        switch (message->message) {
        case WM_OPENING_REPLY:
            panel.OnOpeningReply(std::move(reply));
            break;
        case WM_DIAGNOSTICS_HEADER_REPLY:
            panel.OnLevelReply(std::move(reply));
            break;
        case WM_DIAGNOSTICS_DATA_REPLY:
            panel.OnStatusReply(std::move(reply));
            break;
        default:
            break;
        }
    }
}

void Print(FleetContext& context, const std::wstring& line)
{
    context.console.Write(context.toConsoleText(line) + "\n");
}

} // namespace

std::wstring TouchScreenListingHeader()
{
    return L"Slot\tNumber\tHardware Version\tSerial Number\tMonitor\tCalibrated";
}

std::wstring TouchScreenListingLine(unsigned slot, const TouchScreenRecord& record)
{
    const std::wstring tab = L"\t";
    if (record.numberUnknown)
        return std::to_wstring(slot) + L"\t?\t?\t?\t?\t?";
    const TouchScreenProperties properties = FormatTouchScreenProperties(record);
    return std::to_wstring(slot) + tab + properties.touchScreenNumber + tab +
           (properties.hardwareVersion.empty() ? L"?" : properties.hardwareVersion) + tab + properties.serialNumber +
           tab + properties.monitorNumber + tab + (record.calibrationState == 1 ? L"yes" : L"no");
}

std::wstring DiagnosisSummaryLine(unsigned slot, std::int32_t number, std::int32_t totalLeds, std::int32_t badLeds)
{
    return L"Slot " + std::to_wstring(slot) + L"\tTouchScreen No:" + Number(number) + L"\tTotal leds:" +
           Number(totalLeds) + L"\tBad leds:" + Number(badLeds);
}

std::wstring DiagnosisFailureLine(unsigned slot, const std::wstring& number, const std::wstring& why)
{
    return L"Slot " + std::to_wstring(slot) + L"\tTouchScreen No:" + number + L"\t" + why;
}

int ListTouchScreens(FleetContext& context)
{
    CFleetSession session(context);
    if (!session.QueryTouchScreens())
        return 1;
    Print(context, TouchScreenListingHeader());
    const unsigned count = context.devices.Count();
    for (unsigned slot = 0; slot < count; ++slot)
        context.devices.WithRecord(
            slot, [&](const TouchScreenRecord& record) { Print(context, TouchScreenListingLine(slot, record)); });
    return count > 0 ? 0 : 1;
}

int RefitTouchScreens(FleetContext& context, const RefitConsoleServices& services)
{
    if (context.devices.Count() == 0) {
        context.console.Write(kNoTouchScreen);
        return 1;
    }
    {
        // The numbers name the records: they are read as the main dialog reads them.
        CFleetSession session(context);
        if (!session.QueryTouchScreens())
            return 1;
    }
    bool allRight = true;
    for (const RefitOutcome& outcome : RefitCalibrations(
             {context.devices, context.configuration, services.registry, services.writeLog, services.text})) {
        Print(context, RefitOutcomeLine(outcome, services.text));
        allRight = allRight && outcome.state != RefitState::LeftAsIs;
    }
    return allRight ? 0 : 1;
}

int DiagnoseTouchScreens(FleetContext& context, const std::wstring& folder)
{
    if (context.devices.Count() == 0) {
        context.console.Write(kNoTouchScreen);
        return 1;
    }
    // A folder that is not there would fail every report only after every
    // scan, and an empty name would write them into the current folder.
    if (!context.files.IsFolder(folder)) {
        context.console.Write(context.toConsoleText(L"The reports' folder \"" + folder + L"\" does not exist!\n"));
        return 1;
    }
    CFleetSession session(context);
    if (!session.QueryTouchScreens())
        return 1;

    // The console prints its own lines; the panel's texts are not shown.
    const DiagnosisServices services{context.devices,  context.state,
                                     session.Poster(), context.files,
                                     context.codePage, [](std::wstring_view key) { return std::wstring(key); }};
    // Every touchscreen whose number is known is scanned, all at once; the
    // results are reported in slot order.
    std::vector<std::optional<unsigned>> slots;
    std::vector<std::unique_ptr<Scan>> scans;
    for (DeviceHandle touchScreen : context.devices.Identities()) {
        bool known = false;
        slots.push_back(context.devices.WithRecordOf(
            touchScreen, [&](const TouchScreenRecord& record) { known = !record.numberUnknown; }));
        if (!slots.back() || !known)
            continue;
        auto& scan = scans.emplace_back(std::make_unique<Scan>(services, *slots.back()));
        scan->panel.SetTouchScreen(static_cast<std::int32_t>(*slots.back()));
        scan->panel.Open(session.Window());
        scan->panel.StartRun();
    }
    // After a scan that timed out, the worker still reading sees the stop flag before the panels go.
    if (session.RunScans(scans))
        context.system.Sleep(kStopHoldMs);

    bool allGood = true;
    std::set<std::int32_t> reported; // numbers whose report this command wrote
    auto scan = scans.begin();
    for (const std::optional<unsigned>& slot : slots) {
        if (!slot)
            continue; // unplugged meanwhile
        if (scan == scans.end() || (*scan)->slot != *slot) {
            // Without its number its report would have no name of its own.
            Print(context, DiagnosisFailureLine(*slot, L"?", L"no answer to the query"));
            allGood = false;
            continue;
        }
        CDiagnosisPanel& panel = (*scan)->panel;
        CScanView& view = (*scan)->view;
        ++scan;
        TouchScreenRecord record;
        context.devices.WithRecord(*slot, [&](const TouchScreenRecord& r) { record = r; });
        const std::int32_t number = record.touchScreenNumber;
        if (reported.count(number)) {
            // Two touchscreens with one number: the second report would
            // replace the first.
            Print(context, DiagnosisFailureLine(*slot, Number(number), L"another touchscreen has this number"));
            allGood = false;
            continue;
        }
        if (!panel.ExportEnabled()) {
            Print(context, DiagnosisFailureLine(*slot, Number(number), L"no usable scan"));
            allGood = false;
            continue;
        }
        const std::wstring path = JoinPath(folder, DiagnosticsReportName(number));
        view.reportPath = path;
        view.messages.clear();
        panel.ExportDiagnostics(); // the dialog's Export, to the path given
        if (!view.messages.empty()) {
            Print(context, DiagnosisFailureLine(*slot, Number(number), L"the report cannot be written: " + path));
            allGood = false;
            continue;
        }
        reported.insert(number);
        const CLedScan& shown = panel.ShownScan();
        const std::int32_t bad = shown.CountBadX() + shown.CountBadY();
        Print(context, DiagnosisSummaryLine(*slot, number, shown.Header()->xCount + shown.Header()->yCount, bad));
        allGood = allGood && bad == 0;
    }
    for (auto& each : scans)
        each->panel.Close();
    return allGood ? 0 : 1;
}
