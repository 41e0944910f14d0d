#pragma once
// Making firmware files for tests and trials: the console file (16 header
// bytes, the payload size big-endian, the records, a CRC-16/ARC of all that,
// big-endian) or the dialog file (the records alone), written as hex text.
// The file is written from its description alone, apart from the program's
// checks (only the record list is read with the program's hex-text rule).

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <vector>

using FirmwareRecord = std::vector<std::uint8_t>; // the L bytes after the length
using FirmwareRecords = std::vector<FirmwareRecord>;
using FirmwareHeader = std::array<std::uint8_t, 16>;

// The record sequence: each record's length big-endian, then its bytes.
std::vector<std::uint8_t> MakeRecordSequence(const FirmwareRecords& records);

// The decoded bytes of a console file.
std::vector<std::uint8_t> MakeConsoleFirmware(const FirmwareHeader& header, const FirmwareRecords& records);

// Two upper-case hex digits a byte, blank-separated, 16 a line.
std::string ToHexText(std::span<const std::uint8_t> bytes);

// CRC-16/ARC, computed bit by bit.
std::uint16_t FirmwareCrc(std::span<const std::uint8_t> bytes);

// Records of `length` bytes of pseudo-random data whose sequence is exactly
// `payloadSize` bytes long (the last record shorter when needed). Nothing
// when no sequence has that size (1 byte).
std::optional<FirmwareRecords> FillRecords(std::size_t payloadSize, std::size_t length, std::uint32_t seed);

// A record list: one record a line, its bytes as hex text the way firmware
// files write them; blank lines and lines starting with # are skipped, a line
// holding only - is an empty record.
std::optional<FirmwareRecords> ParseRecordList(std::istream& in, std::string& error);

// Frames the console transport sends for the records (47 record bytes each).
std::size_t ConsoleFrameCount(const FirmwareRecords& records);
