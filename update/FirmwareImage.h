#pragma once
// The firmware image: the bytes decoded from a firmware file, and the record
// sequence they carry. A record is a 2-byte big-endian length L followed by
// L bytes, so it occupies L + 2 bytes; records follow each other without gaps.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The most a firmware file may decode to.
constexpr std::size_t kFirmwareImageCapacity = 262144;

struct FirmwareImage {
    std::vector<std::uint8_t> bytes; // never more than kFirmwareImageCapacity
};

using FirmwarePayload = std::span<const std::uint8_t>;

// Byte i of the payload; 0 past its end, so that no frame reads beyond it.
inline std::uint8_t PayloadByte(FirmwarePayload payload, std::size_t i) { return i < payload.size() ? payload[i] : 0; }

// The size L + 2 of the record starting at `at` (its length bytes past the
// payload's end read as 0).
inline std::int32_t RecordSizeAt(FirmwarePayload payload, std::size_t at)
{
    return PayloadByte(payload, at) * 256 + PayloadByte(payload, at + 1) + 2;
}

// True when the records exactly fill the payload: none runs past its end.
bool RecordsFillPayload(FirmwarePayload payload);
