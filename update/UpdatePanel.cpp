#include "update/UpdatePanel.h"

#include "update/FirmwareFile.h"

std::wstring UpdateProgressText(int percent) { return std::to_wstring(percent) + L" %"; }

CUpdatePanel::CUpdatePanel(UpdateServices services, IUpdateView& view) : m_services(std::move(services)), m_view(view)
{
}

void CUpdatePanel::Open(WindowHandle window)
{
    FirmwareImage image;
    const bool loaded = m_services.load ? m_services.load(image) : LoadDialogFirmware(image);
    if (!loaded) {
        CloseNow(kUpdateReadFailedText);
        return;
    }
    // A file that holds no record, or one that runs past its end, has
    // nothing to send: the update fails rather than looking done.
    if (image.bytes.empty() || !RecordsFillPayload(image.bytes)) {
        CloseNow(kUpdateFailedText);
        return;
    }
    m_transfer.emplace(
        std::move(image), m_services.devices, window,
        [this](std::unique_ptr<DeviceRequest> request) { return Post(std::move(request)); },
        static_cast<IUpdateTransferView&>(*this),
        m_services.log ? m_services.log : LogWriter([this](std::wstring_view text) { m_mainLog.Write(text); }));
    m_stage = Stage::Transferring;
    // With no touchscreen in slot 0 there is nothing to update: nothing is sent.
    if (!m_transfer->Start())
        CloseNow(kUpdateFailedText);
}

bool CUpdatePanel::Post(std::unique_ptr<DeviceRequest> request)
{
    // Every request but the finish is answered; a request that cannot even
    // be queued is never answered either, and the watch ends the transfer.
    m_view.StartTimer(kUpdateReplyTimerId, kUpdateReplyTimeoutMs);
    return m_services.postRequest(std::move(request));
}

void CUpdatePanel::OnReply(std::unique_ptr<DeviceReply> reply)
{
    // After the finish a reply posts the finish again (the transfer's rule);
    // after a failure or once closing, replies are dropped.
    if (!reply || !m_transfer || (m_stage != Stage::Transferring && m_stage != Stage::Finished))
        return;
    m_transfer->OnReply(*reply);
}

void CUpdatePanel::OnTimer(unsigned id)
{
    switch (id) {
    case kUpdateTimerId:
        m_view.StopTimer(kUpdateTimerId);
        if (m_stage == Stage::Finished) {
            m_view.ShowFinalMessage(kUpdateCompletedText);
            m_stage = Stage::Closing;
            m_view.StartTimer(kUpdateCompletedTimerId, kUpdateCompletedDelayMs);
        } else if (m_stage == Stage::Failed) {
            // The error stays on screen until the dialog goes.
            m_stage = Stage::Closing;
            m_view.Close();
        }
        return;
    case kUpdateCompletedTimerId:
        m_view.StopTimer(kUpdateCompletedTimerId);
        m_view.Close();
        return;
    case kUpdateReplyTimerId:
        m_view.StopTimer(kUpdateReplyTimerId);
        if (m_stage == Stage::Transferring)
            EndWith(Stage::Failed, kUpdateErrorText);
        return;
    default:
        return;
    }
}

void CUpdatePanel::Close() { m_stage = Stage::Closed; }

void CUpdatePanel::ShowProgress(int percent) { m_view.ShowProgress(percent, UpdateProgressText(percent)); }

void CUpdatePanel::ShowFinished() { EndWith(Stage::Finished, kUpdatingText); }

void CUpdatePanel::ShowFailed() { EndWith(Stage::Failed, kUpdateErrorText); }

void CUpdatePanel::EndWith(Stage stage, const wchar_t* text)
{
    // The finish request gets no answer that matters: nothing is watched after it.
    m_view.StopTimer(kUpdateReplyTimerId);
    m_stage = stage;
    m_view.ShowFinalMessage(text);
    m_view.StartTimer(kUpdateTimerId, kUpdateCloseDelayMs);
}

void CUpdatePanel::CloseNow(const wchar_t* text)
{
    m_stage = Stage::Closing;
    m_view.ShowFinalMessage(text);
    m_view.Close();
}
