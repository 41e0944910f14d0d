#pragma once
// The console transport's frames: a 49-byte report (0x51, a mark, up to 47
// record bytes, zeros after them). A record that fits one frame is sent as
// one 'A' frame; a longer one as 'A' frames of 47 bytes and one final 'B'
// frame with the rest. Frames do not overlap and never carry bytes of the
// next record.

#include "update/FirmwareImage.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr std::size_t kConsoleFrameLength = 49;
constexpr std::size_t kConsoleFrameData = 47;

struct ConsoleFrame {
    std::array<std::uint8_t, kConsoleFrameLength> report{};
    std::size_t start = 0;      // payload offset of its first record byte
    std::size_t dataLength = 0; // record bytes it carries
};

class CConsoleFrameSequence {
public:
    explicit CConsoleFrameSequence(FirmwarePayload payload) : m_payload(payload) {}

    // True once every record was framed.
    bool Done() const { return m_sent >= Size(); }
    // Completed records as a whole percentage of the payload (0 to 100).
    int Percent() const;
    // The next frame; nothing once the records are all framed.
    std::optional<ConsoleFrame> Next();

private:
    std::int32_t Size() const { return static_cast<std::int32_t>(m_payload.size()); }

    FirmwarePayload m_payload;
    std::int32_t m_sent = 0;       // start of the current record
    std::int32_t m_recordSize = 0; // its size L + 2
    std::int32_t m_offset = 0;     // where the next frame starts within it
};
