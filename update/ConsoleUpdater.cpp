#include "update/ConsoleUpdater.h"

#include "common/MainLog.h"
#include "common/TextEncoding.h"
#include "config/ParameterHelpers.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/Console.h"
#include "platform/HidPort.h"
#include "platform/System.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kShortReportLength = 9;
constexpr std::uint8_t kFeatureReportId = 0x02;
// Reports the frame may have queued before the first frame (an answer to
// entering update mode), at most the HID driver's buffer.
constexpr int kMostWaitingReports = 64;
constexpr int kProgressRow = 2;

const char kUpdateFailed[] = "\nUpdate failed! please reconnect the touch screen\n";

SeamResult SendShortCommand(IHidPort& hid, DeviceHandle target, std::uint8_t second, std::uint8_t argument)
{
    std::uint8_t report[kShortReportLength] = {kCommandReportId, 'R', second, argument};
    return hid.SendOutputReport(target, report, sizeof report);
}

SeamResult SendFeature(IHidPort& hid, DeviceHandle target, std::uint8_t value)
{
    std::uint8_t report[2] = {kFeatureReportId, value};
    return hid.SendFeatureReport(target, report, sizeof report);
}

} // namespace

CConsoleUpdater::CConsoleUpdater(ConsoleUpdateContext context, std::wstring path)
    : m_context(std::move(context)), m_path(std::move(path))
{
}

void CConsoleUpdater::Print(std::string_view text)
{
    if (text.empty())
        return;
    m_context.console.Write(text);
    m_lastPrinted = text.back();
}

int CConsoleUpdater::Run()
{
    m_console = m_context.console.IsConsole();
    Print("\n");
    // The probe's answers are collected, not delivered; its result is not used.
    for (unsigned slot = 0; slot < m_context.devices.Count(); ++slot)
        m_context.state.StartCollecting(m_context.devices.HandleOf(slot));
    ProbeTouchScreens(m_context.devices, m_context.state, m_context.post, m_context.system);

    if (!LoadFirmwareFile()) {
        Print("Press any key to exit......\n");
        return 1;
    }
    // Each touchscreen's number (its place in the list, from 1) and whether it was updated.
    std::vector<std::pair<unsigned, bool>> results;
    for (unsigned slot = 0; slot < m_context.devices.Count(); ++slot) {
        DeviceHandle handle = m_context.devices.HandleOf(slot);
        if (handle == kInvalidDeviceHandle)
            continue;
        // A failure does not stop the update of the next touchscreen.
        results.emplace_back(slot + 1, UpdateTouchScreen(handle));
    }
    if (results.empty()) {
        Print("No touch screen was updated: none is attached, or none could be opened!\n");
        return 1;
    }
    // On a console each touchscreen's screen clears the one before: the
    // outcome of every touchscreen is repeated at the end.
    if (results.size() > 1) {
        if (m_lastPrinted != '\n')
            Print("\n");
        for (auto [number, updated] : results)
            Print("Touch screen " + std::to_string(number) + (updated ? ": updated\n" : ": failed\n"));
    }
    bool all = std::all_of(results.begin(), results.end(), [](const auto& result) { return result.second; });
    return all ? 0 : 1;
}

bool CConsoleUpdater::LoadFirmwareFile()
{
    m_path = InDirectoryUnlessQualified(m_context.currentDirectory, m_path);
    const std::string name = m_context.toConsoleText(m_path);
    switch (ReadConsoleFirmware(std::filesystem::path(m_path), m_firmware)) {
    case FirmwareFileStatus::Ready:
        return true;
    case FirmwareFileStatus::Missing:
        Print(name + " doesn't exist!\n");
        return false;
    case FirmwareFileStatus::CannotOpen:
        Print("Can't open  file " + name + ",Please check the filename or file path!\n");
        return false;
    case FirmwareFileStatus::Damaged:
        break;
    }
    Print("the file you selected has been destroyed or changed,Please check!\n");
    return false;
}

void CConsoleUpdater::StartScreen()
{
    m_context.console.SetTitle(L"KALVEXO TouchScreen Updating");
    if (m_console)
        m_context.console.Clear();
    else if (m_lastPrinted != '\n')
        Print("\n"); // no screen to clear: the touchscreen's lines start on a line of their own
    Print("Note:Please don't close the console or remove the touch Screen!\n");
    Print("Please wait a moment for updating!\n");
    m_shownPercent = -1;
}

// The figure is shown before every frame, but written only when it changed:
// the same text again would change nothing on the screen, and a console
// write with its cursor move costs about 3 ms under Wine's terminal console,
// 15 % of the whole update. On a console the figure is rewritten in place at
// row 2; written to a file or a pipe, where no cursor moves, each new figure
// gets a line of its own.
void CConsoleUpdater::ShowProgress(int percent)
{
    if (percent == m_shownPercent)
        return;
    const std::string line = "Updating..." + std::to_string(percent) + "%";
    if (m_console) {
        m_context.console.SetCursorPosition(0, kProgressRow);
        Print(line);
    } else {
        Print(m_shownPercent < 0 ? line : "\n" + line);
    }
    m_shownPercent = percent;
}

void CConsoleUpdater::EnterUpdateMode()
{
    // Failures of these writes are not reported: the frames tell.
    SendShortCommand(m_context.hid, m_target, 'b', 0x09);
    m_context.system.Sleep(kEnterUpdatePauseMs);
    SendFeature(m_context.hid, m_target, 0x01);
    DiscardWaitingReports();
}

// Each frame is judged by the one reply read after it; a report that was
// already waiting would be taken for the first frame's reply.
void CConsoleUpdater::DiscardWaitingReports()
{
    Report scratch{};
    for (int i = 0; i < kMostWaitingReports; ++i) {
        auto read = m_context.hid.StartRead(m_target, scratch.data(), scratch.size());
        std::size_t bytes = 0;
        if (!read || read->Wait(0, bytes) != HidWaitResult::Completed)
            return; // nothing waits: the read still pending is cancelled
    }
}

CConsoleUpdater::Exchange CConsoleUpdater::SendFrameAndWait(const ConsoleFrame& frame, Report& reply)
{
    m_context.system.Sleep(kFramePauseMs);
    m_lastWrite = m_context.hid.SendOutputReport(m_target, frame.report.data(), frame.report.size());
    if (!m_lastWrite)
        return Exchange::WriteFailed;
    reply.fill(0);
    auto read = m_context.hid.StartRead(m_target, reply.data(), reply.size());
    if (!read)
        return Exchange::NoAnswer;
    for (unsigned waited = 0; waited < kReplyTimeoutMs;) {
        const unsigned slice = std::min(kReplySliceMs, kReplyTimeoutMs - waited);
        std::size_t bytes = 0;
        switch (read->Wait(slice, bytes)) {
        case HidWaitResult::Completed:
            return Exchange::Answered;
        case HidWaitResult::Failed:
            return Exchange::NoAnswer;
        case HidWaitResult::TimedOut:
            waited += slice;
            break;
        }
    }
    return Exchange::NoAnswer; // the read still pending is cancelled
}

void CConsoleUpdater::Finish()
{
    SendShortCommand(m_context.hid, m_target, 'c', 0x00);
    SendFeature(m_context.hid, m_target, 0x09);
}

bool CConsoleUpdater::UpdateTouchScreen(DeviceHandle target)
{
    m_target = target;
    StartScreen();
    EnterUpdateMode();

    CConsoleFrameSequence frames(m_firmware.Payload());
    Report reply{};
    while (!frames.Done()) {
        ShowProgress(frames.Percent());
        std::optional<ConsoleFrame> frame = frames.Next();
        if (!frame)
            break;
        Exchange result = Exchange::WriteFailed;
        for (int attempt = 0; attempt < kFrameWriteAttempts && result == Exchange::WriteFailed; ++attempt)
            result = SendFrameAndWait(*frame, reply);
        if (result != Exchange::Answered || reply[1] != kFrameAccepted) {
            if (result == Exchange::WriteFailed)
                LogShownFailure(FromUtf8(kUpdateFailed), m_lastWrite);
            Print(kUpdateFailed);
            Print(std::string(kPressAnyKey) + "\n");
            return false;
        }
    }
    Finish();
    ShowProgress(100);
    Print("\nUpdate successfully!\n");
    Print(kPressAnyKey);
    return true;
}
