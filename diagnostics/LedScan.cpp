#include "diagnostics/LedScan.h"

#include "device/ReportProtocol.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t kBytesPerReport = 8;
constexpr std::size_t kHeaderBytes = 8;    // L[0..7]
constexpr std::size_t kFirstStatus = 8;    // S[8] is LED 0's status
constexpr std::int32_t kFirstLevel = 9;    // L[9] is LED 0's level
constexpr std::size_t kMinStatusBytes = 2; // the signature

void AddScanBytes(std::vector<std::uint8_t>& bytes, const Report& report)
{
    if (report[0] != kDiagnosticsReportId)
        return;
    bytes.insert(bytes.end(), report.begin() + 1, report.begin() + 1 + kBytesPerReport);
}

void StripTrailingZeros(std::vector<std::uint8_t>& bytes)
{
    while (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

template <class... Args> std::wstring Format(const char* format, Args... args)
{
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return Widen(text);
}

std::int32_t NotNegative(std::int32_t value) { return value < 0 ? 0 : value; }

std::wstring LedLine(std::int32_t number, bool bad)
{
    return Format("      %03d", number) + std::wstring(74, L'-') + (bad ? L"[   Bad  ]" : L"[   OK   ]");
}

} // namespace

void CLedScan::AddLevelReport(const Report& report) { AddScanBytes(m_levels, report); }

void CLedScan::AddStatusReport(const Report& report) { AddScanBytes(m_statuses, report); }

bool CLedScan::ParseLedScan()
{
    m_header.reset();
    m_bad.clear();
    StripTrailingZeros(m_levels);
    StripTrailingZeros(m_statuses);
    if (m_levels.size() < kHeaderBytes || m_statuses.size() < kMinStatusBytes)
        return false;
    if (m_levels[0] != 'Z' || m_levels[1] != 'v' || m_statuses[0] != 'Z' || m_statuses[1] != 'g')
        return false;

    LedScanHeader header;
    header.xCount = m_levels[2];
    header.yCount = m_levels[3];
    if (header.xCount + header.yCount == 0) // a frame without LEDs tested nothing
        return false;
    const std::int32_t high = m_levels[4] >> 4, low = m_levels[4] & 0x0F;
    if (low == 0) // a step byte that would divide by zero describes no layout
        return false;
    header.step = high / low;
    header.divisor = 1;
    header.marker = m_levels[5];
    header.threshold = m_levels[6];
    header.spare = m_levels[7];

    const auto levelCount = static_cast<std::int64_t>(m_levels.size());
    for (std::size_t i = kFirstStatus; i < m_statuses.size(); ++i) {
        if (m_statuses[i] != header.marker)
            continue;
        const auto led = static_cast<std::int32_t>(i - kFirstStatus);
        const std::int64_t at = std::int64_t(led) * header.step + kFirstLevel;
        if (at < levelCount && m_levels[static_cast<std::size_t>(at)] < header.threshold)
            m_bad.push_back({led, m_levels[static_cast<std::size_t>(at)]});
    }
    m_header = header;
    return true;
}

int CLedScan::CountBadX() const
{
    const std::int32_t x = m_header ? m_header->xCount : 0;
    return static_cast<int>(std::count_if(m_bad.begin(), m_bad.end(), [x](const CBuffer& b) { return b.index < x; }));
}

int CLedScan::CountBadY() const
{
    const std::int32_t x = m_header ? m_header->xCount : 0;
    return static_cast<int>(std::count_if(m_bad.begin(), m_bad.end(), [x](const CBuffer& b) { return b.index > x; }));
}

bool CLedScan::IsLedBad(std::int32_t index) const
{
    return std::any_of(m_bad.begin(), m_bad.end(), [index](const CBuffer& b) { return b.index == index; });
}

std::vector<std::wstring> CLedScan::ResultLines(const TouchScreenIdentity& identity) const
{
    const LedScanHeader header = m_header.value_or(LedScanHeader{});
    const std::int32_t x = header.xCount, y = header.yCount;
    std::vector<std::wstring> lines;
    lines.reserve(static_cast<std::size_t>(11 + x + y));
    lines.push_back(Format("TouchScreen No:%d", identity.number));
    lines.push_back(Format("Hardware Version:%d.%d.%d", NotNegative(identity.hardwareVersion[0]),
                           NotNegative(identity.hardwareVersion[1]), NotNegative(identity.hardwareVersion[2])));
    lines.push_back(Format("Product Serial Number:%d%d%d", NotNegative(identity.serialPart1),
                           NotNegative(identity.serialPart2), NotNegative(identity.serialPart3)));
    lines.push_back(Format("Total leds:%d ", x + y));
    lines.push_back(L"Summary:");
    lines.push_back(Format("       x-coordinate total leds:%d  bad leds:%d ", x, CountBadX()));
    lines.push_back(Format("       y-coordinate total leds:%d  bad leds:%d ", y, CountBadY()));
    lines.push_back(L"Diagnostics Result:");
    lines.push_back(std::wstring(6, L' ') + L"Led" + std::wstring(99, L' ') + L"Status");
    lines.push_back(std::wstring(93, L'-'));
    lines.push_back(L"    x-coordinate:");
    for (std::int32_t n = 1; n <= x; ++n)
        lines.push_back(LedLine(n, IsLedBad(n - 1)));
    lines.push_back(L"    y-coordinate:");
    for (std::int32_t n = x + 1; n <= x + y; ++n)
        lines.push_back(LedLine(n, IsLedBad(n)));
    return lines;
}

void CLedScan::Clear()
{
    m_levels.clear();
    m_statuses.clear();
    m_bad.clear();
    m_header.reset();
}
