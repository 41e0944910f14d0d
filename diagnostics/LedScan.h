#pragma once
// The LED scan of one touchscreen frame: the level bytes of the 'Zv' replies,
// the status bytes of the 'Zg' replies, the frame's header and its bad LEDs,
// and the result lines a technician reads.
//
// Layout of the two streams (L[] level bytes, S[] status bytes):
//
//   L:  'Z' 'v' x y step-byte marker threshold spare  unused  LED 0  ...  LED 1 ...
//        0   1  2 3     4       5        6       7      8     9          9 + step
//   S:  'Z' 'g' (six bytes nobody reads)               S[8] = LED 0, S[9] = LED 1, ...
//
// LED k has its status at S[8 + k] and its level at L[9 + k * step]. The x
// axis's LEDs are k = 0 .. x - 1; index x belongs to no LED; the y axis's
// LEDs are k = x + 1 .. x + y. The list numbers LEDs from 1: x LED n tests
// index n - 1, y LED n (x + 1 .. x + y) tests index n.

#include "device/DeviceRequest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LedScanHeader {
    std::int32_t xCount = 0;    // LEDs on the x axis (L[2])
    std::int32_t yCount = 0;    // LEDs on the y axis (L[3])
    std::int32_t step = 0;      // distance between the levels of consecutive LEDs
    std::int32_t divisor = 0;   // low nibble of L[4]; 1 once applied
    std::int32_t marker = 0;    // status value of a candidate LED (L[5])
    std::int32_t threshold = 0; // a candidate whose level is below it is bad (L[6])
    std::int32_t spare = 0;     // L[7]; nothing reads it
};

// One bad LED: its index (0-based, as laid out above) and its level.
struct CBuffer {
    std::int32_t index = 0;
    std::uint8_t level = 0;
    bool operator==(const CBuffer&) const = default;
};

// Who the result lines are about: fields of the touchscreen's record.
struct TouchScreenIdentity {
    std::int32_t number = 0;
    std::int32_t hardwareVersion[3] = {0, 0, 0};
    std::int8_t serialPart1 = 0;
    std::int8_t serialPart2 = 0;
    std::int32_t serialPart3 = 0;
};

class CLedScan {
public:
    // Each data reply of a scan carries eight bytes (report bytes 1 to 8);
    // a reply whose report id is not the diagnostics one adds nothing.
    void AddLevelReport(const Report& report);
    void AddStatusReport(const Report& report);

    // Decides the header and the bad LEDs from the bytes collected. False
    // (and no header) for data that is empty once trailing zeros go, lacks
    // its signatures, is too short, counts no LED on either axis, or has a
    // step byte whose divisor is 0.
    bool ParseLedScan();

    // Bad LEDs of the x axis (index below x) and of the y axis (index above
    // x); the index x itself counts in neither.
    int CountBadX() const;
    int CountBadY() const;
    bool IsLedBad(std::int32_t index) const;

    // The result lines of a parsed scan, in list order.
    std::vector<std::wstring> ResultLines(const TouchScreenIdentity& identity) const;

    // Forgets the bytes, the bad LEDs and the header.
    void Clear();

    const std::vector<std::uint8_t>& LevelBytes() const { return m_levels; }
    const std::vector<std::uint8_t>& StatusBytes() const { return m_statuses; }
    const std::vector<CBuffer>& BadLeds() const { return m_bad; }
    const std::optional<LedScanHeader>& Header() const { return m_header; }

private:
    std::vector<std::uint8_t> m_levels;
    std::vector<std::uint8_t> m_statuses;
    std::vector<CBuffer> m_bad;
    std::optional<LedScanHeader> m_header;
};
