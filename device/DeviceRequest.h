#pragma once
// The records exchanged with the device thread. Both are heap-allocated by
// the sender and freed by the receiver; a reply posted to a window is owned
// by that window's handler.

#include "platform/Handles.h"

#include <array>
#include <cstdint>

constexpr std::size_t kReportLength = 100;

using Report = std::array<std::uint8_t, kReportLength>;

// A request and its replies share one layout. A request carries the output
// report and names its touchscreen and reply window; a reply fills only the
// slot and the input report.
struct DeviceRecord {
    DeviceHandle deviceHandle = nullptr;
    std::int32_t slot = 0;
    WindowHandle replyWindow = nullptr;
    // Output report, or the input report as received (report id first).
    Report report{};
    std::uint32_t replyMessage = 0;  // filled in by the device thread
    std::uint32_t payloadLength = 0; // firmware frames only

    // The answer r[] of an input report: r[k] is report byte k + 1.
    const std::uint8_t* Answer() const { return report.data() + 1; }
};

using DeviceRequest = DeviceRecord;
using DeviceReply = DeviceRecord;
