#pragma once
// Storing a calibration: the four raw points and the calibration window's
// screen rectangle become the touchscreen's stored record. Stateless: the
// same points and window always store the same record, so the review phase
// stores it at the fourth touch and OK stores it again.

#include "calibration/CalibrationResult.h"
#include "platform/Handles.h"

#include <array>
#include <cstdint>

class CDeviceManager;
class IConfigurationLibrary;
class IRegistry;

// The touchscreen a calibration is for: its slot and the identity it had
// when the calibration began.
struct CalibrationTouchScreen {
    unsigned slot = 0;
    DeviceHandle identity = nullptr;
};

struct CalibrationStoreServices {
    CDeviceManager& devices;
    IConfigurationLibrary& configuration;
    // Where the display calibrated on is kept for a later re-fit; none: not kept.
    IRegistry* registry = nullptr;
};

enum class ClickModeAfterStore {
    Keep,   // the driver stays in click-on-release while the user tries the result
    Restore // the click mode saved when the calibration began is written back first
};

// Refreshes the monitor table; with Restore, writes the saved click mode
// back; reads the touchscreen's stored record, fills the calibration's slots
// (the others carried as read) and stores it under the touchscreen's device
// key, then keeps the display it was calibrated on (CalibratedDisplay.h),
// which also clears a re-fit's mark. False when nothing was stored: the slot no longer holds that
// touchscreen (its number and key would be another's), or the library
// refused the write.
bool ApplyCalibration(CalibrationStoreServices services, const CalibrationTouchScreen& touchScreen,
                      const std::array<RawTouchPoint, 4>& points, const ScreenRect& window, ScreenSize primaryScreen,
                      std::int32_t savedClickMode, ClickModeAfterStore clickMode);

// Reads the driver record and writes it back with `Mode` set; nothing is
// written when the read fails, so a failed read never stores a record of
// defaults over the driver's options.
bool WriteClickMode(IConfigurationLibrary& configuration, std::int32_t mode);
