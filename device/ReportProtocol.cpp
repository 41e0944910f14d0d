#include "device/ReportProtocol.h"

#include "platform/Messages.h"

Report MakeCommandReport(std::uint16_t command, std::initializer_list<std::uint8_t> arguments)
{
    Report report{};
    report[0] = kCommandReportId;
    report[1] = static_cast<std::uint8_t>(command >> 8);
    report[2] = static_cast<std::uint8_t>(command & 0xFF);
    std::size_t i = 3;
    for (std::uint8_t argument : arguments)
        if (i < report.size())
            report[i++] = argument;
    return report;
}

std::uint16_t CommandOf(const Report& report) { return static_cast<std::uint16_t>(report[1] * 256 + report[2]); }

std::uint32_t ReplyMessageFor(const Report& report)
{
    if (IsFirmwareFrame(report))
        return WM_UPDATE_REPLY;
    switch (CommandOf(report)) {
    case Command::Open:
        return WM_OPENING_REPLY;
    case Command::ReadVersion:
        return WM_VERSION_REPLY;
    case Command::ReadSerial:
        return WM_SERIAL_REPLY;
    case Command::ReadNumber:
        return WM_NUMBER_READ_REPLY;
    case Command::WriteNumber:
        return WM_NUMBER_WRITE_REPLY;
    case Command::DiagnosticsHeader:
        return WM_DIAGNOSTICS_HEADER_REPLY;
    case Command::DiagnosticsData:
        return WM_DIAGNOSTICS_DATA_REPLY;
    case Command::StartTouch:
        return WM_TOUCH_POINT;
    case Command::UpdateStep:
        return WM_UPDATE_REPLY;
    default:
        return 0;
    }
}

bool IsGuardedCommand(std::uint16_t command)
{
    switch (command) {
    case Command::DiagnosticsHeader:
    case Command::DiagnosticsData:
    case Command::WriteNumber:
    case Command::ReadNumber:
    case Command::ReadVersion:
    case Command::ReadSerial:
        return true;
    default:
        return false;
    }
}

bool ExpectsNoAnswer(std::uint16_t command)
{
    return command == Command::StopTouch || command == Command::UpdateFinish;
}

bool IsDataReply(const std::uint8_t* r)
{
    bool end =
        r[0] >= 'A' && r[0] <= 'N' && r[2] == '0' && r[3] == '0' && r[4] == '0' && r[5] == 0 && r[6] == 0 && r[7] == 0;
    return !end;
}

std::optional<std::array<std::int32_t, 4>> DecodeVersion(const std::uint8_t* r)
{
    if (r[0] != 'V' || r[1] != 'v' || r[2] == ' ')
        return std::nullopt;
    return std::array<std::int32_t, 4>{r[2], r[3], r[4], r[5]};
}

std::int32_t DecodeTouchScreenNumber(const std::uint8_t* r)
{
    if (r[0] == 'V' && r[1] == '1' && r[2] != ' ' && r[2] != 0xFF)
        return r[2];
    return 0;
}

bool ReportsNoTouchScreenNumber(const std::uint8_t* r) { return r[0] == 'V' && r[1] == '1' && r[2] == 0xFF; }

std::optional<std::array<std::int32_t, 3>> DecodeCollectedVersion(const std::uint8_t* r)
{
    if (r[0] != 'V' || r[1] != 'v' || r[2] == ' ')
        return std::nullopt;
    return std::array<std::int32_t, 3>{r[2] * 324 + r[3], r[4] * 324 + r[5], r[6] * 324 + r[7]};
}
