#pragma once
// What an opened HID interface holds: its handle, descriptor data and the
// capability information of its three report types.

#include "platform/Handles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kHidStatusSuccess = 0x00110000;

struct HidAttributes {
    std::uint32_t size = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// The capabilities of the top-level collection, as the HID parser reports them.
struct HidCapabilities {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t inputReportByteLength = 0;
    std::uint16_t outputReportByteLength = 0;
    std::uint16_t featureReportByteLength = 0;
    std::uint16_t numberLinkCollectionNodes = 0;
    std::uint16_t numberInputButtonCaps = 0;
    std::uint16_t numberInputValueCaps = 0;
    std::uint16_t numberInputDataIndices = 0;
    std::uint16_t numberOutputButtonCaps = 0;
    std::uint16_t numberOutputValueCaps = 0;
    std::uint16_t numberOutputDataIndices = 0;
    std::uint16_t numberFeatureButtonCaps = 0;
    std::uint16_t numberFeatureValueCaps = 0;
    std::uint16_t numberFeatureDataIndices = 0;
};

// One button capability or one value usage of a report type.
struct HidDataEntry {
    bool isButton = false;
    std::uint32_t status = kHidStatusSuccess;
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    std::uint16_t usageMin = 0;           // button entries
    std::uint16_t usageMax = 0;           // button entries
    std::uint32_t maxUsageListLength = 0; // button entries
    std::vector<std::uint16_t> usages;    // button entries, maxUsageListLength long
    std::uint16_t usage = 0;              // value entries
};

enum class HidReportType { Input = 0, Output = 1, Feature = 2 };

struct HidReportTypeInfo {
    std::vector<std::uint8_t> reportBuffer;
    std::vector<HidDataEntry> dataEntries;
    std::uint32_t dataEntryCount = 0;
    // The raw capability arrays; only the HID seam reads their contents.
    std::vector<std::byte> buttonCaps;
    std::vector<std::byte> valueCaps;
    std::uint32_t buttonCapCount = 0;
    std::uint32_t valueCapCount = 0;
};

struct HidDeviceInfo {
    std::wstring devicePath;
    DeviceHandle handle = kInvalidDeviceHandle;
    std::uint32_t openedForRead = 0;
    std::uint32_t openedForWrite = 0;
    std::uint32_t openedOverlapped = 0;
    std::uint32_t openedExclusive = 0;
    void* preparsedData = nullptr; // owned by the HID seam until Close
    HidCapabilities capabilities;
    HidAttributes attributes;
    std::array<HidReportTypeInfo, 3> reports; // input, output, feature
};
