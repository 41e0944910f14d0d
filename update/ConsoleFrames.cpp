#include "update/ConsoleFrames.h"

#include "device/ReportProtocol.h"

#include <algorithm>

int CConsoleFrameSequence::Percent() const
{
    if (Size() == 0)
        return 100;
    return static_cast<int>(std::min<std::int64_t>(100, std::int64_t(m_sent) * 100 / Size()));
}

std::optional<ConsoleFrame> CConsoleFrameSequence::Next()
{
    if (m_offset >= m_recordSize) {
        m_sent += m_recordSize;
        m_offset = 0;
        if (m_sent >= Size())
            return std::nullopt;
        m_recordSize = RecordSizeAt(m_payload, static_cast<std::size_t>(m_sent));
    }
    const std::int32_t left = m_recordSize - m_offset;
    const bool last = left <= static_cast<std::int32_t>(kConsoleFrameData);
    ConsoleFrame frame;
    frame.start = static_cast<std::size_t>(m_sent + m_offset);
    frame.dataLength = last ? static_cast<std::size_t>(left) : kConsoleFrameData;
    frame.report[0] = kFirmwareReportId;
    frame.report[1] = (m_offset != 0 && last) ? 'B' : 'A';
    for (std::size_t i = 0; i < frame.dataLength; ++i)
        frame.report[2 + i] = PayloadByte(m_payload, frame.start + i);
    m_offset += static_cast<std::int32_t>(frame.dataLength);
    return frame;
}
