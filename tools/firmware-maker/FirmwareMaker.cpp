#include "FirmwareMaker.h"

#include "update/HexText.h"

#include <algorithm>
#include <random>
#include <sstream>

std::vector<std::uint8_t> MakeRecordSequence(const FirmwareRecords& records)
{
    std::vector<std::uint8_t> bytes;
    for (const FirmwareRecord& record : records) {
        bytes.push_back(static_cast<std::uint8_t>(record.size() >> 8));
        bytes.push_back(static_cast<std::uint8_t>(record.size() & 0xFF));
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

std::uint16_t FirmwareCrc(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0;
    for (std::uint8_t byte : bytes)
        for (int bit = 0; bit < 8; ++bit) {
            const bool feedback = ((crc ^ (byte >> bit)) & 1) != 0;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (feedback)
                crc ^= 0xA001;
        }
    return crc;
}

std::vector<std::uint8_t> MakeConsoleFirmware(const FirmwareHeader& header, const FirmwareRecords& records)
{
    std::vector<std::uint8_t> payload = MakeRecordSequence(records);
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    const auto size = static_cast<std::uint32_t>(payload.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(size >> shift));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    const std::uint16_t crc = FirmwareCrc(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return bytes;
}

std::string ToHexText(std::span<const std::uint8_t> bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += (i % 16 == 15 || i + 1 == bytes.size()) ? '\n' : ' ';
    }
    return text;
}

std::optional<FirmwareRecords> FillRecords(std::size_t payloadSize, std::size_t length, std::uint32_t seed)
{
    if (payloadSize == 1 || length > 0xFFFF)
        return std::nullopt;
    std::mt19937 random(seed);
    FirmwareRecords records;
    for (std::size_t left = payloadSize; left > 0;) {
        std::size_t size = std::min(length + 2, left);
        if (left - size == 1)
            --size; // a single byte left over could not be a record
        if (size < 2)
            return std::nullopt;
        records.emplace_back(size - 2);
        for (std::uint8_t& byte : records.back())
            byte = static_cast<std::uint8_t>(random());
        left -= size;
    }
    return records;
}

std::optional<FirmwareRecords> ParseRecordList(std::istream& in, std::string& error)
{
    FirmwareRecords records;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::istringstream text(line);
        std::string first;
        if (!(text >> first) || first[0] == '#')
            continue;
        FirmwareRecord record;
        if (first != "-") {
            text.clear();
            text.seekg(0);
            if (ReadHexBytes(text, record, 0xFFFF) == HexReadResult::TooLong) {
                error = "line " + std::to_string(lineNumber) + ": a record holds at most 65535 bytes";
                return std::nullopt;
            }
        }
        if (std::string rest; text >> rest) {
            error = "line " + std::to_string(lineNumber) + ": not a list of hex bytes: " + rest;
            return std::nullopt;
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::size_t ConsoleFrameCount(const FirmwareRecords& records)
{
    std::size_t frames = 0;
    for (const FirmwareRecord& record : records)
        frames += (record.size() + 2 + 46) / 47;
    return frames;
}
