#pragma once
// Finding the touchscreens among the HID interfaces: the acceptance rule and
// the scan, over the HID seam.

#include "device/TouchScreenRecord.h"

#include <memory>
#include <string>
#include <vector>

class IHidPort;

// Touchscreens are recognised by this vendor id alone.
constexpr std::uint16_t kTouchScreenVendorId = 0x6615;

// Opens an interface; true with a filled info holding an overlapped handle,
// false (nothing held) when it cannot be opened or is not a touchscreen.
bool OpenHidDevice(IHidPort& port, const std::wstring& path, HidDeviceInfo& info);

// Releases everything the info holds; safe on a partly filled info.
void CloseHidDevice(IHidPort& port, HidDeviceInfo& info);

// Adds a record for every accepted interface, at most `limit` of them.
// True when the scan reached the end of the interface list (or the limit),
// false when it stopped on a failure; the records found so far stay.
bool ScanTouchScreens(IHidPort& port, std::vector<std::unique_ptr<TouchScreenRecord>>& found, std::size_t limit);
