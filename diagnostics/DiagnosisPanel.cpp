#include "diagnostics/DiagnosisPanel.h"

#include "common/MainLog.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/RemovalNotice.h"
#include "device/ReportProtocol.h"
#include "diagnostics/DiagnosticsReport.h"
#include "platform/Messages.h"

CDiagnosisPanel::CDiagnosisPanel(DiagnosisServices services, IDiagnosisView& view)
    : m_services(std::move(services)), m_view(view)
{
}

void CDiagnosisPanel::Open(WindowHandle window)
{
    m_window = window;
    m_removed = false;
    m_state = State::Idle;
    m_scan.Clear();
    m_identity = nullptr;
    std::optional<std::int32_t> number;
    if (m_slot >= 0)
        m_services.devices.WithRecord(static_cast<unsigned>(m_slot), [&](const TouchScreenRecord& record) {
            m_identity = record.identity;
            number = record.touchScreenNumber;
        });
    // A touchscreen gone before the dialog opened has no number to show.
    const std::wstring title = m_services.text(DiagnosisText::Title);
    m_view.SetTitle(number ? L"No." + std::to_wstring(*number) + L" " + title : title);
    m_lines.clear();
    m_view.ShowLines(m_lines);
    ShowPicture(CLedScan{});
    EnableExport(false);
    EnableDiagnose(true);
}

void CDiagnosisPanel::Close()
{
    m_view.StopTimer();
    m_state = State::Idle;
    m_scan.Clear();
    if (m_stopSetByTimeout) {
        m_services.state.SetStop(m_target, false);
        m_stopSetByTimeout = false;
    }
    m_window = nullptr;
}

void CDiagnosisPanel::StartRun()
{
    if (m_state == State::Running)
        return;
    std::optional<unsigned> slot;
    if (m_identity && !m_removed)
        slot = m_services.devices.WithRecordOf(m_identity, [&](const TouchScreenRecord& record) {
            m_runIdentity.number = record.touchScreenNumber;
            for (int i = 0; i < 3; ++i)
                m_runIdentity.hardwareVersion[i] = record.hardwareVersion[i];
            m_runIdentity.serialPart1 = record.serialPart1;
            m_runIdentity.serialPart2 = record.serialPart2;
            m_runIdentity.serialPart3 = record.serialPart3;
        });
    if (!slot) {
        // Disabled first, so that the button behind the box already shows it.
        EnableDiagnose(false);
        m_view.ShowMessage(kSelectedTouchScreenGoneText);
        return;
    }
    m_slot = static_cast<std::int32_t>(*slot);
    // The workers a timed-out run stopped have seen the flag by now (a run
    // starts from a click); this run's workers must read.
    if (m_stopSetByTimeout) {
        m_services.state.SetStop(m_target, false);
        m_stopSetByTimeout = false;
    }
    m_target = m_services.devices.HandleOf(*slot);
    m_scan.Clear(); // nothing of an abandoned run counts in this one
    m_state = State::Running;
    EnableDiagnose(false);
    ShowLines({m_services.text(DiagnosisText::Running)});
    ShowPicture(CLedScan{});
    m_view.FocusList();
    Post(Command::Open, Step::Opening);
}

void CDiagnosisPanel::Post(std::uint16_t command, Step next)
{
    m_step = next;
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = m_target;
    request->slot = m_slot;
    request->replyWindow = m_window;
    request->report = MakeCommandReport(command);
    // A request that cannot be queued ends the run at the time-out, as a
    // touchscreen that does not answer does.
    m_services.postRequest(std::move(request));
    m_view.StartTimer(kDiagnosisStepTimeoutMs);
}

bool CDiagnosisPanel::Expected(const DeviceReply& reply, Step step) const
{
    return m_state == State::Running && m_step == step && reply.deviceHandle == m_target;
}

void CDiagnosisPanel::OnOpeningReply(std::unique_ptr<DeviceReply> reply)
{
    if (!reply || !Expected(*reply, Step::Opening))
        return;
    if (IsDataReply(reply->Answer())) {
        // Held by the protocol state: the device thread sends it back before
        // each of the two scan commands.
        m_services.state.SetOpeningAnswer(m_target, std::move(reply));
        return;
    }
    Post(Command::DiagnosticsHeader, Step::Levels);
}

void CDiagnosisPanel::OnLevelReply(std::unique_ptr<DeviceReply> reply)
{
    if (!reply || !Expected(*reply, Step::Levels))
        return;
    if (IsDataReply(reply->Answer()))
        m_scan.AddLevelReport(reply->report);
    else
        Post(Command::DiagnosticsData, Step::Statuses);
}

void CDiagnosisPanel::OnStatusReply(std::unique_ptr<DeviceReply> reply)
{
    if (!reply || !Expected(*reply, Step::Statuses))
        return;
    if (IsDataReply(reply->Answer()))
        m_scan.AddStatusReport(reply->report);
    else
        FinishRun();
}

void CDiagnosisPanel::FinishRun()
{
    const bool parsed = m_scan.ParseLedScan();
    if (parsed)
        ShowDiagnosticsResult();
    EndRun(parsed);
}

void CDiagnosisPanel::ShowDiagnosticsResult()
{
    m_reportNumber = m_runIdentity.number;
    ShowLines(m_scan.ResultLines(m_runIdentity));
    ShowPicture(m_scan);
}

void CDiagnosisPanel::ShowPicture(const CLedScan& scan)
{
    m_shownScan = scan;
    m_view.ShowLedPicture(m_shownScan);
}

void CDiagnosisPanel::OnStepTimeout()
{
    if (m_state != State::Running)
        return;
    // The worker still waiting for the end reply stops reading; the flag is
    // cleared when the next run starts or the dialog goes.
    m_services.state.SetStop(m_target, true);
    m_stopSetByTimeout = true;
    EndRun(false);
}

void CDiagnosisPanel::EndRun(bool usable)
{
    m_view.StopTimer();
    m_services.state.ClearOpeningAnswer(m_target);
    m_scan.Clear();
    m_state = State::Idle;
    if (usable)
        EnableExport(true);
    else {
        ShowLines({m_services.text(DiagnosisText::NoResult)});
        ShowPicture(CLedScan{});
    }
    // Export keeps its state after a run without result: an earlier result's
    // lines are gone from the list, but the list can still be saved.
    EnableDiagnose(!m_removed);
}

void CDiagnosisPanel::OnTouchScreenRemoved(std::uintptr_t key)
{
    if (!IsOwnRemovalNotice(key) || !m_window || !m_identity || m_removed)
        return;
    // The notice names the slot the unplugged touchscreen had; but slots move
    // down when a touchscreen goes, so ours is known by its identity: still
    // there, another one went and ours may have a new slot.
    if (auto now = m_services.devices.FindSlot(m_identity)) {
        m_slot = static_cast<std::int32_t>(*now);
        return;
    }
    m_removed = true;
    EnableDiagnose(false);
    m_view.ShowMessage(kTouchScreenRemovedText);
}

void CDiagnosisPanel::ExportDiagnostics()
{
    auto path = m_view.ChooseReportPath(DiagnosticsReportName(m_reportNumber));
    if (!path)
        return;
    const std::string bytes = DiagnosticsReportBytes(m_lines, m_services.codePage);
    if (const SeamResult written = WriteDiagnosticsReport(m_services.files, *path, bytes); !written) {
        const std::wstring shown = m_services.text(DiagnosisText::ReportFailed) + L"\n" + *path;
        LogShownFailure(shown, written);
        m_view.ShowMessage(shown);
    }
}

void CDiagnosisPanel::ShowLines(std::vector<std::wstring> lines)
{
    m_lines = std::move(lines);
    m_view.ShowLines(m_lines);
}

void CDiagnosisPanel::EnableDiagnose(bool enable)
{
    m_diagnoseEnabled = enable;
    m_view.EnableDiagnose(enable);
}

void CDiagnosisPanel::EnableExport(bool enable)
{
    m_exportEnabled = enable;
    m_view.EnableExport(enable);
}
