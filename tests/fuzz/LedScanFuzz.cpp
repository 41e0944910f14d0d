// LED scan data from a frame: any sequence of diagnostics replies. The input
// is read as records of nine bytes: a kind byte (bit 0: a status reply, else
// a level reply; bit 1: a report id other than 0x30) and the reply's eight
// scan bytes. Whatever arrives, the parse either fails with nothing decided
// or decides a header and bad LEDs that follow from the bytes as laid out.

#include "device/ReportProtocol.h"
#include "diagnostics/LedScan.h"

#include <cstdlib>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::uint8_t> WithoutTrailingZeros(std::vector<std::uint8_t> bytes)
{
    while (!bytes.empty() && bytes.back() == 0)
        bytes.pop_back();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CLedScan scan;
    std::vector<std::uint8_t> levels, statuses; // what the frame sent with the diagnostics report id
    for (std::size_t at = 0; at + 9 <= size; at += 9) {
        Report report{};
        const bool status = data[at] & 1, foreign = data[at] & 2;
        report[0] = foreign ? kCommandReportId : kDiagnosticsReportId;
        std::copy(data + at + 1, data + at + 9, report.begin() + 1);
        status ? scan.AddStatusReport(report) : scan.AddLevelReport(report);
        if (!foreign)
            (status ? statuses : levels).insert((status ? statuses : levels).end(), data + at + 1, data + at + 9);
    }
    Require(scan.LevelBytes() == levels && scan.StatusBytes() == statuses);

    const bool parsed = scan.ParseLedScan();
    const auto L = WithoutTrailingZeros(levels), S = WithoutTrailingZeros(statuses);
    if (!parsed) {
        Require(!scan.Header() && scan.BadLeds().empty());
        return 0;
    }
    Require(L.size() >= 8 && S.size() >= 2 && L[0] == 'Z' && L[1] == 'v' && S[0] == 'Z' && S[1] == 'g');
    Require((L[4] & 0x0F) != 0 && L[2] + L[3] > 0);
    const LedScanHeader& h = *scan.Header();
    Require(h.xCount == L[2] && h.yCount == L[3] && h.marker == L[5] && h.threshold == L[6] && h.divisor == 1);
    Require(h.step == (L[4] >> 4) / (L[4] & 0x0F));

    // Every LED whose status is the marker and whose level lies within the
    // level bytes below the threshold is bad, and no other.
    std::size_t expectedBad = 0, atX = 0;
    for (std::size_t k = 0; 8 + k < S.size(); ++k) {
        const std::size_t at = 9 + k * static_cast<std::size_t>(h.step);
        const bool bad = S[8 + k] == h.marker && at < L.size() && L[at] < h.threshold;
        Require(scan.IsLedBad(static_cast<std::int32_t>(k)) == bad);
        expectedBad += bad;
        atX += bad && static_cast<std::int32_t>(k) == h.xCount;
    }
    Require(scan.BadLeds().size() == expectedBad);
    Require(std::size_t(scan.CountBadX() + scan.CountBadY()) + atX == expectedBad);
    Require(scan.ResultLines({}).size() ==
            12u + std::size_t(h.xCount + h.yCount)); // eight, two headings, two axis lines
    return 0;
}
