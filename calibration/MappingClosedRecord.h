#pragma once
// The record the mapping dialog posts with WM_MAPPING_CLOSED. The main
// window only tests it for null and frees it (the sender allocates it with new).

#include <cstdint>

struct MappingClosedRecord {
    std::int32_t lastMonitor = 0; // the monitor shown last
    std::int32_t reserved = 0;
    std::uint8_t closed = 1;
};
