#include "sim/SimFrame.h"

#include "device/ReportProtocol.h" // the shared constants only: the frame does its own framing

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The report id of the frame's answers.
constexpr std::uint8_t kAnswerId = kCommandReportId;
constexpr std::size_t kScanBytesPerReport = 8;
constexpr std::uint8_t kAccepted = 0x11;
// The console updater writes short reports and reads one status per report.
constexpr std::size_t kLongReport = 100;
constexpr std::size_t kDriverBufferReports = 64; // unread reports kept, the oldest dropped first
constexpr std::size_t kFrameQueueLimit = 4096;   // reports the frame has yet to send, at most
constexpr unsigned kScanReportIntervalMs = 1;    // the pace of the diagnostics streams

std::uint16_t CodeOf(const std::uint8_t* report) { return static_cast<std::uint16_t>(report[1] << 8 | report[2]); }

// A touch: answer byte 0x84, then X and Y little-endian.
CSimFrame::InputReport TouchReport(std::uint16_t x, std::uint16_t y)
{
    CSimFrame::InputReport touch{};
    touch[0] = kAnswerId;
    touch[1] = 'T';
    touch[2] = kTouchAnswer;
    touch[3] = static_cast<std::uint8_t>(x & 0xFF);
    touch[4] = static_cast<std::uint8_t>(x >> 8);
    touch[5] = static_cast<std::uint8_t>(y & 0xFF);
    touch[6] = static_cast<std::uint8_t>(y >> 8);
    return touch;
}

} // namespace

class CSimFrame::CPendingRead : public IHidPendingRead {
public:
    CPendingRead(std::shared_ptr<CSimFrame> frame, std::uint8_t* buffer, std::size_t length)
        : m_frame(std::move(frame)), m_read{buffer, length}
    {
    }
    ~CPendingRead() override { m_frame->CancelRead(m_read); }
    HidWaitResult Wait(unsigned milliseconds, std::size_t& bytes) override
    {
        return m_frame->WaitRead(m_read, milliseconds, bytes);
    }
    Read& State() { return m_read; }

private:
    std::shared_ptr<CSimFrame> m_frame;
    Read m_read;
};

CSimFrame::CSimFrame(SimFrameSetup setup, unsigned index)
    : m_setup(std::move(setup)), m_random(0x5EED0000u + index), m_storedNumber(m_setup.touchScreenNumber)
{
}

int CSimFrame::StoredNumber()
{
    std::lock_guard lock(m_mutex);
    return m_storedNumber;
}

bool CSimFrame::ReceiveOutput(const std::uint8_t* report, std::size_t length)
{
    std::lock_guard lock(m_mutex);
    if (m_unplugged || length < 3)
        return false;
    LogLocked(report, length);
    if (report[0] == kFirmwareReportId || (report[0] == kCommandReportId && CodeOf(report) == Command::UpdateStep))
        AnswerFirmwareLocked(report, length);
    else if (report[0] == kCommandReportId)
        AnswerLocked(CodeOf(report), report);
    return true;
}

void CSimFrame::AnswerFirmwareLocked(const std::uint8_t* report, std::size_t length)
{
    if (m_setup.silent)
        return;
    std::uint8_t status = kAccepted; // entering update mode is always acknowledged
    if (report[0] == kFirmwareReportId) {
        if (m_framesAnswered < m_setup.frameReplies.size())
            status = m_setup.frameReplies[m_framesAnswered];
        ++m_framesAnswered;
    }
    InputReport answer{};
    answer[0] = kAnswerId;
    answer[1] = status;
    QueueLocked(answer, m_setup.answerDelayMs);
    // A report sent through the device thread is one exchange: it ends with an
    // end reply. The console updater reads exactly one status per report.
    if (length >= kLongReport)
        QueueEndReplyLocked(report[1]);
}

namespace {

// The scan numbers its entries by index: the x axis's LEDs 1 .. x at indexes
// 0 .. x - 1, then one entry that belongs to no LED (index x), then the y
// axis's LEDs x + 1 .. x + y at indexes x + 1 .. x + y.
int ScanEntries(const SimFrameSetup& setup) { return setup.ledsX + 1 + setup.ledsY; }

bool IsBadEntry(const SimFrameSetup& setup, int index)
{
    if (index == setup.ledsX)
        return false;
    const int number = index < setup.ledsX ? index + 1 : index;
    return std::find(setup.badLeds.begin(), setup.badLeds.end(), number) != setup.badLeds.end();
}

} // namespace

// Level bytes: "Zv", the counts, step byte, marker, threshold, a spare byte,
// one unused byte, then entry k's level at 9 + k * step (the bytes between repeat it).
std::vector<std::uint8_t> CSimFrame::LevelBytes() const
{
    const int h = m_setup.ledStepByte >> 4, d = m_setup.ledStepByte & 0x0F;
    const int step = std::max(1, d <= 1 ? h : h / d);
    const int entries = ScanEntries(m_setup);
    std::vector<std::uint8_t> bytes = {'Z',
                                       'v',
                                       std::uint8_t(m_setup.ledsX),
                                       std::uint8_t(m_setup.ledsY),
                                       m_setup.ledStepByte,
                                       m_setup.ledMarker,
                                       m_setup.ledThreshold,
                                       0,
                                       0};
    for (int k = 0; k < entries; ++k) {
        const std::uint8_t level = IsBadEntry(m_setup, k) ? std::uint8_t(m_setup.ledThreshold / 2) : std::uint8_t(200);
        for (int i = 0; i < (k + 1 < entries ? step : 1); ++i)
            bytes.push_back(level);
    }
    return bytes;
}

// Status bytes: "Zg", six header bytes, then every LED marked as a candidate;
// the entry that belongs to no LED is not.
std::vector<std::uint8_t> CSimFrame::StatusBytes() const
{
    std::vector<std::uint8_t> bytes(8 + static_cast<std::size_t>(ScanEntries(m_setup)), m_setup.ledMarker);
    bytes[0] = 'Z';
    bytes[1] = 'g';
    std::fill(bytes.begin() + 2, bytes.begin() + 8, std::uint8_t(0));
    bytes[8 + static_cast<std::size_t>(m_setup.ledsX)] = std::uint8_t(m_setup.ledMarker + 1);
    return bytes;
}

// Scan data travels eight bytes per report, report id 0x30, one report per
// kScanReportIntervalMs as the frame's endpoint sends them, then an end reply.
void CSimFrame::QueueScanLocked(std::uint8_t second, const std::vector<std::uint8_t>& bytes)
{
    unsigned delay = m_setup.answerDelayMs;
    for (std::size_t at = 0; at < bytes.size(); at += kScanBytesPerReport) {
        InputReport chunk{};
        chunk[0] = kDiagnosticsReportId;
        for (std::size_t i = 0; i < kScanBytesPerReport && at + i < bytes.size(); ++i)
            chunk[1 + i] = bytes[at + i];
        QueueLocked(chunk, delay);
        delay += kScanReportIntervalMs;
    }
    InputReport end{};
    end[0] = kAnswerId;
    const std::uint8_t endAnswer[] = {'A', second, '0', '0', '0', 0, 0, 0};
    std::copy(std::begin(endAnswer), std::end(endAnswer), end.begin() + 1);
    QueueLocked(end, delay);
}

bool CSimFrame::ReceiveFeature(const std::uint8_t* report, std::size_t length)
{
    std::lock_guard lock(m_mutex);
    if (m_unplugged || length < 1)
        return false;
    LogLocked(report, length);
    return true;
}

void CSimFrame::LogLocked(const std::uint8_t* report, std::size_t length)
{
    if (m_setup.logFile.empty())
        return;
    std::ofstream log(std::filesystem::path(m_setup.logFile), std::ios::app | std::ios::binary);
    std::string line;
    char hex[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", report[i]);
        line += hex;
    }
    log << line << '\n';
}

void CSimFrame::QueueLocked(InputReport report, unsigned delayMs, bool touch)
{
    if (m_setup.garbage)
        for (std::size_t i = 1; i < report.size(); ++i)
            report[i] = static_cast<std::uint8_t>(m_random());
    Queued queued{Clock::now() + std::chrono::milliseconds(delayMs), report, touch};
    auto at = std::upper_bound(m_queue.begin(), m_queue.end(), queued.readyAt,
                               [](Clock::time_point t, const Queued& q) { return t < q.readyAt; });
    m_queue.insert(at, queued);
    while (m_queue.size() > kFrameQueueLimit)
        m_queue.pop_front();
    m_changed.notify_all();
}

void CSimFrame::QueueAnswerLocked(std::initializer_list<std::uint8_t> answer)
{
    InputReport report{};
    report[0] = kAnswerId;
    std::size_t i = 1;
    for (std::uint8_t b : answer)
        if (i < report.size())
            report[i++] = b;
    QueueLocked(report, m_setup.answerDelayMs);
}

void CSimFrame::QueueEndReplyLocked(std::uint8_t x) { QueueAnswerLocked({'A', x, '0', '0', '0', 0, 0, 0}); }

void CSimFrame::AnswerLocked(std::uint16_t command, const std::uint8_t* report)
{
    if (m_setup.silent || std::find(m_setup.ignoredCommands.begin(), m_setup.ignoredCommands.end(), command) !=
                              m_setup.ignoredCommands.end())
        return;
    const std::uint8_t x = report[1];
    switch (command) {
    case Command::Open: // open an exchange: an opaque opening answer
        QueueAnswerLocked({'O', 'K', 0x5A, 0xA5, 0x01, 0x02, 0x03, 0x04});
        QueueEndReplyLocked(x);
        break;
    case Command::ReadVersion: { // hardware version
        const std::string& v = m_setup.versionText;
        QueueAnswerLocked({'V', 'v', std::uint8_t(v[0]), std::uint8_t(v[1]), std::uint8_t(v[2]), std::uint8_t(v[3])});
        QueueEndReplyLocked(x);
        break;
    }
    case Command::ReadSerial: { // serial number, as text
        InputReport answer{};
        answer[0] = kAnswerId;
        answer[1] = 'V';
        answer[2] = 's';
        for (std::size_t i = 0; i < m_setup.serialNumber.size() && i + 3 < answer.size(); ++i)
            answer[i + 3] = static_cast<std::uint8_t>(m_setup.serialNumber[i]);
        QueueLocked(answer, m_setup.answerDelayMs);
        QueueEndReplyLocked(x);
        break;
    }
    case Command::ReadNumber: // stored touchscreen number
        QueueAnswerLocked({'V', '1', static_cast<std::uint8_t>(m_storedNumber)});
        QueueEndReplyLocked(x);
        break;
    case Command::WriteNumber: // store a new touchscreen number
        m_storedNumber = report[3];
        QueueEndReplyLocked(x);
        break;
    case Command::DiagnosticsHeader: // diagnostics header: the level bytes
        QueueScanLocked(x, LevelBytes());
        break;
    case Command::DiagnosticsData: // diagnostics data: the status bytes
        QueueScanLocked(x, StatusBytes());
        break;
    case Command::UpdateFinish: // firmware finish: no answer
        break;
    case Command::StartTouch: { // touch reporting: the scripted points, one report each
        m_streaming = true;
        unsigned delay = 0;
        for (const SimTouch& t : m_setup.touches) {
            delay += t.delayMs;
            QueueLocked(TouchReport(t.x, t.y), delay, true);
        }
        break;
    }
    case Command::StopTouch: // touch reporting ends: touches not yet read are gone, no answer
        m_streaming = false;
        m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(), [](const Queued& q) { return q.touch; }),
                      m_queue.end());
        break;
    default: // unknown commands, and the opening answer sent back, get an end reply
        QueueEndReplyLocked(x);
        break;
    }
}

void CSimFrame::QueueTouch(std::uint16_t x, std::uint16_t y)
{
    std::lock_guard lock(m_mutex);
    if (!m_unplugged)
        QueueLocked(TouchReport(x, y), 0, true);
}

bool CSimFrame::Streaming()
{
    std::lock_guard lock(m_mutex);
    return m_streaming && !m_unplugged;
}

void CSimFrame::DeliverDueLocked(Clock::time_point now)
{
    // The driver keeps the newest kDriverBufferReports of the reports the
    // frame has sent and nobody has read; older ones are lost.
    std::size_t sent = 0;
    while (sent < m_queue.size() && m_queue[sent].readyAt <= now)
        ++sent;
    for (; sent > kDriverBufferReports; --sent)
        m_queue.pop_front();
    while (!m_queue.empty() && !m_pendingReads.empty() && m_queue.front().readyAt <= now) {
        Read* read = m_pendingReads.front();
        m_pendingReads.pop_front();
        const InputReport& report = m_queue.front().report;
        read->bytes = std::min(read->length, report.size());
        std::memcpy(read->buffer, report.data(), read->bytes);
        read->complete = true;
        m_queue.pop_front();
    }
}

std::unique_ptr<IHidPendingRead> CSimFrame::StartRead(std::uint8_t* buffer, std::size_t length)
{
    std::lock_guard lock(m_mutex);
    if (m_unplugged)
        return nullptr;
    auto read = std::make_unique<CPendingRead>(shared_from_this(), buffer, length);
    m_pendingReads.push_back(&read->State());
    DeliverDueLocked(Clock::now());
    return read;
}

HidWaitResult CSimFrame::WaitRead(Read& read, unsigned milliseconds, std::size_t& bytes)
{
    std::unique_lock lock(m_mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        DeliverDueLocked(Clock::now());
        if (read.complete) {
            bytes = read.bytes;
            return HidWaitResult::Completed;
        }
        if (m_unplugged)
            return HidWaitResult::Failed;
        if (Clock::now() >= deadline)
            return HidWaitResult::TimedOut;
        auto until = deadline;
        if (!m_queue.empty() && m_queue.front().readyAt < until)
            until = m_queue.front().readyAt;
        m_changed.wait_until(lock, until);
    }
}

void CSimFrame::CancelRead(Read& read)
{
    std::lock_guard lock(m_mutex);
    m_pendingReads.remove(&read);
}

void CSimFrame::Unplug()
{
    {
        std::lock_guard lock(m_mutex);
        m_unplugged = true;
        m_queue.clear();
    }
    m_changed.notify_all();
}

bool CSimFrame::Unplugged()
{
    std::lock_guard lock(m_mutex);
    return m_unplugged;
}

std::size_t CSimFrame::QueuedReports()
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::size_t CSimFrame::PendingReads()
{
    std::lock_guard lock(m_mutex);
    return m_pendingReads.size();
}
