#pragma once
// Re-fitting a calibration to a changed monitor. A calibrated touchscreen's
// record holds its four raw points and the area they were taken in; when
// its monitor (MonitorID) now has another resolution, position or
// orientation, the raw points still say where the same fractions of the
// monitor lie on the frame. The re-fit stores the record that a calibration
// with the same touches on the new display would store, without a touch:
//
//   old display                 new display (turned r quarter turns)
//   +-----------------+         +---------+   each new target is mapped back
//   | 0 .       . 1   |         | 0 .   . |   into the old area, and its raw
//   |   area          |   --->  |  area   |   point interpolated bilinearly
//   | 2 .       . 3   |         | 2 .   . |   from the four old raw points
//   +-----------------+         +---------+   (exact for an affine frame)
//
// A whole-monitor area becomes exactly the new monitor; a region keeps its
// edges as the same fractions of its monitor, rounded to the nearest pixel.
// Targets are taken at the layout's fractions, an eighth of the width and a
// sixth of the height in from the area's edges (CalibrationLayout.h), so a
// re-fit that only resizes a whole-monitor area keeps the raw points as they are.

#include "calibration/CalibratedDisplay.h"
#include "config/DeviceConfig.h"
#include "device/DeviceManager.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class IConfigurationLibrary;
class IRegistry;

// ---- the rule, on one record

enum class RefitVerdict {
    NotCalibrated,  // IsCalibrate 0: nothing to follow
    AlreadyRight,   // the record is what a calibration on the display as it is stores
    Refitted,       // `record` is the record to store
    Inconsistent,   // the calibration slots describe no area
    MonitorMissing, // MonitorID names no monitor of the table
    TurnUnknown,    // landscape and portrait swapped, and nothing says which way it turned
};

struct RefitResult {
    RefitVerdict verdict = RefitVerdict::Inconsistent;
    DeviceConfig record;    // Refitted: the new record
    CalibratedDisplay from; // the display the record was calibrated on (or fitted to last)
    CalibratedDisplay to;   // Refitted: the display it now fits, marked re-fitted
    int quarterTurns = 0;   // Refitted: how far the picture turned, counter-clockwise
};

// The re-fit of a stored record to the monitor table as it is. `kept` is the
// display kept at calibration time, used only while it agrees with the record;
// without it the display is recovered from the record: an area inside the
// first monitor is a part of it, any other area a whole monitor.
RefitResult RefitRecord(const DeviceConfig& stored, const std::optional<CalibratedDisplay>& kept,
                        std::span<const MonitorEntry> monitors);

// "1280x1024 at 0,0": an area's size and origin, as the log and the lines show it.
std::wstring DescribeArea(const ScreenRect& area);

// ---- every touchscreen of the table

enum class RefitState { NotCalibrated, AlreadyRight, Refitted, LeftAsIs };

struct RefitOutcome {
    unsigned slot = 0;
    std::int32_t touchScreenNumber = 0;
    RefitState state = RefitState::LeftAsIs;
    std::wstring detail; // Refitted: "old -> new" areas; LeftAsIs: the reason; otherwise empty
    // The stored record is the one a re-fit stored (now, or at an earlier
    // re-fit not followed by a calibration): what IsMarkedRefitted tells,
    // without reading the record again.
    bool markedRefitted = false;
};

struct RefitServices {
    CDeviceManager& devices;
    IConfigurationLibrary& configuration;
    IRegistry& registry; // the kept displays
    // One Main.Log line per re-fit; empty: nothing logged.
    std::function<void(std::wstring_view)> writeLog;
    // Language texts "184" to "189" (the reasons); the key itself when empty.
    std::function<std::wstring(std::wstring_view key)> text;
};

// Refreshes the monitor table, then re-fits every touchscreen of the table
// whose number is known: a re-fitted record is stored, its new display kept
// and marked re-fitted, and the re-fit logged; a record already right is not
// written. One outcome per touchscreen, in slot order.
std::vector<RefitOutcome> RefitCalibrations(const RefitServices& services);

// True while the touchscreen's record is the one a re-fit stored: its
// calibration clears the mark (and an import that changed the record voids it).
bool IsMarkedRefitted(const RefitServices& services, unsigned slot);

// The console's line of an outcome, from texts "180" to "183": "TouchScreen
// No.3: already right", "TouchScreen No.3: re-fitted (1280x1024 at 0,0 -> ...)".
std::wstring RefitOutcomeLine(const RefitOutcome& outcome,
                              const std::function<std::wstring(std::wstring_view key)>& text);
