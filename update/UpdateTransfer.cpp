#include "update/UpdateTransfer.h"

#include "common/MainLog.h"
#include "device/DeviceManager.h"
#include "device/ReportProtocol.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint8_t kAccepted = 0x11;
constexpr std::uint8_t kRejected = 0x13;
constexpr std::uint8_t kRejectedToo = 0x22;
constexpr std::int32_t kFrameData = 49;
constexpr std::int32_t kFrameStep = 47;

// The log's text of two report bytes: "%x %x " after `prefix`.
std::wstring LogText(const char* prefix, std::uint8_t first, std::uint8_t second)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%x %x ", prefix, first, second);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

} // namespace

CUpdateTransfer::CUpdateTransfer(FirmwareImage image, CDeviceManager& devices, WindowHandle replyWindow,
                                 RequestPoster post, IUpdateTransferView& view, LogWriter log)
    : m_image(std::move(image)), m_devices(devices), m_replyWindow(replyWindow), m_post(std::move(post)), m_view(view),
      m_log(log ? std::move(log) : LogWriter(WriteMainLog))
{
}

bool CUpdateTransfer::Start()
{
    m_target = m_devices.HandleOf(0);
    if (m_target == kInvalidDeviceHandle)
        return false;
    m_state = State::Transferring;
    Post(MakeCommandReport(Command::UpdateStep, {0x05}), 0);
    return true;
}

void CUpdateTransfer::Post(const Report& report, std::uint32_t payloadLength)
{
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = m_target;
    request->slot = 0;
    request->replyWindow = m_replyWindow;
    request->report = report;
    request->payloadLength = payloadLength;
    m_post(std::move(request));
}

int CUpdateTransfer::Percent() const
{
    const auto size = static_cast<std::int64_t>(m_image.bytes.size());
    return static_cast<int>(std::min<std::int64_t>(100, std::int64_t(m_sent) * 100 / size));
}

void CUpdateTransfer::OnReply(const DeviceReply& reply)
{
    // Nothing is sent before the start, nor after the transfer failed.
    if (m_state == State::Idle || m_state == State::Failed || !IsDataReply(reply.Answer()))
        return;
    const std::uint8_t status = reply.report[1];
    if (status == kAccepted) {
        m_rejections = 0;
    } else if (status == kRejected || status == kRejectedToo) {
        m_offset = 0; // the record goes again from its first frame
        if (m_rejections >= kRejectionsResent) {
            m_state = State::Failed;
            m_view.ShowFailed();
            return;
        }
        ++m_rejections;
    }
    // Any other status lets the transfer go on.
    m_log(LogText(" Recv:", reply.report[0], reply.report[1]));
    SendNextFrame();
}

void CUpdateTransfer::SendNextFrame()
{
    const FirmwarePayload payload(m_image.bytes);
    const auto size = static_cast<std::int32_t>(payload.size());
    if (m_sent >= size) {
        Finish();
        return;
    }
    if (m_offset >= m_recordSize) {
        m_sent += m_recordSize;
        m_offset = 0;
        m_view.ShowProgress(Percent());
        if (m_sent >= size) {
            Finish();
            return;
        }
        m_recordSize = RecordSizeAt(payload, static_cast<std::size_t>(m_sent));
    }
    const std::int32_t start = m_sent + m_offset;
    const std::int32_t left = m_recordSize - m_offset;
    Report frame{};
    frame[0] = kFirmwareReportId;
    frame[1] = m_offset == 0 ? 'A' : 'B';
    std::int32_t length = kFrameData;
    if (left > kFrameStep) {
        m_offset += kFrameStep;
    } else {
        length = left + 2;
        m_offset = m_recordSize;
    }
    for (std::int32_t i = 0; i < length; ++i)
        frame[2 + static_cast<std::size_t>(i)] = PayloadByte(payload, static_cast<std::size_t>(start + i));
    m_log(LogText("", frame[0], frame[1]));
    Post(frame, static_cast<std::uint32_t>(length));
}

void CUpdateTransfer::Finish()
{
    Post(MakeCommandReport(Command::UpdateFinish, {0x00}), 0);
    m_state = State::Finished;
    m_view.ShowFinished();
}
