#pragma once
// The report protocol: framing of output reports, the command table with its
// reply messages, the end-reply test and the decoding of answers.
// An answer r[] is an input report without its report id: r[k] is report byte k + 1.

#include "device/DeviceRequest.h"

#include <array>
#include <cstdint>
#include <optional>

constexpr std::uint8_t kCommandReportId = 0x31;
constexpr std::uint8_t kFirmwareReportId = 0x51;
constexpr std::uint8_t kDiagnosticsReportId = 0x30;
constexpr std::uint8_t kTouchAnswer = 0x84;

namespace Command {
constexpr std::uint16_t Open = 0x6F00;
constexpr std::uint16_t ReadVersion = 0x7676;
constexpr std::uint16_t ReadSerial = 0x7673;
constexpr std::uint16_t ReadNumber = 0x7631;
constexpr std::uint16_t WriteNumber = 0x5631;
constexpr std::uint16_t DiagnosticsHeader = 0x5A76;
constexpr std::uint16_t DiagnosticsData = 0x5A67;
constexpr std::uint16_t StartTouch = 0xAA50;
constexpr std::uint16_t StopTouch = 0xAA55;
constexpr std::uint16_t UpdateStep = 0x5262;
constexpr std::uint16_t UpdateFinish = 0x5263;
} // namespace Command

// A 100-byte output report: report id 0x31, the command's two bytes, arguments.
Report MakeCommandReport(std::uint16_t command, std::initializer_list<std::uint8_t> arguments = {});

// A firmware-update frame (report id 0x51) rather than a command.
inline bool IsFirmwareFrame(const Report& report) { return report[0] == kFirmwareReportId; }

// The command code of an output report: byte 1 times 256 plus byte 2.
std::uint16_t CommandOf(const Report& report);

// The reply message for a request: 0x46E for firmware frames, the table's
// message for known commands, 0 (answers read, not delivered) otherwise.
std::uint32_t ReplyMessageFor(const Report& report);

// The commands that are sent only after the opening answer was sent back.
bool IsGuardedCommand(std::uint16_t command);

// Commands whose answers are not read.
bool ExpectsNoAnswer(std::uint16_t command);

// False for an end (status) reply: r[0] 'A'..'N', r[2..4] '0', r[5..7] 0.
bool IsDataReply(const std::uint8_t* answer);

// The four version characters of a version answer, when it carries them.
std::optional<std::array<std::int32_t, 4>> DecodeVersion(const std::uint8_t* answer);

// The touchscreen number of a read-number answer; 0 when it holds none.
std::int32_t DecodeTouchScreenNumber(const std::uint8_t* answer);
// A read-number answer of 255: the frame was never given a number.
bool ReportsNoTouchScreenNumber(const std::uint8_t* answer);

// The three combined hardware-version values a version answer gives while
// collecting for the firmware update (pairs of bytes, the first times 324).
std::optional<std::array<std::int32_t, 3>> DecodeCollectedVersion(const std::uint8_t* answer);
