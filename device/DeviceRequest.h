#pragma once
// The records exchanged with the device thread. Both are heap-allocated by
// the sender and freed by the receiver; a reply posted to a window is owned
// by that window's handler.

#include "platform/Handles.h"

#include <array>
#include <cstdint>

constexpr std::size_t kReportLength = 100;

using Report = std::array<std::uint8_t, kReportLength>;

struct DeviceRequest {
    DeviceHandle deviceHandle = nullptr;
    std::int32_t slot = 0;
    WindowHandle replyWindow = nullptr;
    Report report{};                 // the output report
    std::uint32_t replyMessage = 0;  // filled in by the device thread
    std::uint32_t payloadLength = 0; // firmware frames only
};

// Same layout as the request; only the slot and the input report are filled.
struct DeviceReply {
    DeviceHandle deviceHandle = nullptr;
    std::int32_t slot = 0;
    WindowHandle replyWindow = nullptr;
    Report report{}; // report[0] is the report id as received; the answer r[] starts at report[1]
    std::uint32_t replyMessage = 0;
    std::uint32_t payloadLength = 0;

    const std::uint8_t* Answer() const { return report.data() + 1; }
};
