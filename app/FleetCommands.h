#pragma once
// The console face's commands for many touchscreens at once:
//   -l / -list      one tab-separated line per attached touchscreen after a
//                   header line;
//   -d / -diagnose  the LED scan of every attached touchscreen, each written
//                   as the Diagnostics dialog's report into a folder, and one
//                   summary line per touchscreen;
//   -r / -refit     the re-fit of every calibrated touchscreen to its monitor
//                   as it is now (calibration/CalibrationRefit.h), one line
//                   per touchscreen.
// All three first ask every touchscreen for its version, serial number and number
// as the main dialog does at its start (the same query, run without a
// window), and the scans are the Diagnostics dialog's runs. Every
// touchscreen is talked to at the same time as the others; the lines come in
// slot order. Every wait is bounded.

#include "device/TouchScreenRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CDeviceManager;
class CProtocolState;
class IAnsiCodePage;
class IConfigurationLibrary;
class IConsole;
class IFileStore;
class IHidPort;
class IRegistry;
class ISystem;

struct FleetContext {
    CDeviceManager& devices;
    CProtocolState& state;
    IHidPort& hid;
    ISystem& system; // the device thread's and the query's threads and pauses
    IConsole& console;
    IConfigurationLibrary& configuration; // each touchscreen's monitor and calibration
    IFileStore& files;
    IAnsiCodePage& codePage; // the reports' encoding
    // Console text of a wide text (Win32: the ANSI code page).
    std::function<std::string(std::wstring_view)> toConsoleText;
};

// The listing's header line and the line of one touchscreen (without line
// ends). A touchscreen whose query failed has "?" for all but its slot.
std::wstring TouchScreenListingHeader();
std::wstring TouchScreenListingLine(unsigned slot, const TouchScreenRecord& record);

// The summary line of a scanned touchscreen, and of one without a result.
std::wstring DiagnosisSummaryLine(unsigned slot, std::int32_t number, std::int32_t totalLeds, std::int32_t badLeds);
std::wstring DiagnosisFailureLine(unsigned slot, const std::wstring& number, const std::wstring& why);

// -l: exit code 0, or 1 when no touchscreen is attached.
int ListTouchScreens(FleetContext& context);
// -d <folder>: exit code 0 when every touchscreen answered, its report was
// written and none has a bad LED; 1 otherwise (and when none is attached).
// A folder that does not exist (a missing one, a file, an empty name) is
// told before any touchscreen is asked anything.
int DiagnoseTouchScreens(FleetContext& context, const std::wstring& folder);

// -r: the lines in the language of the texts (keys "180" to "189"), each
// re-fit logged. Exit code 0 when every calibrated touchscreen is right
// afterwards; 1 when one was left as it was, or none is attached.
struct RefitConsoleServices {
    IRegistry& registry; // the displays kept at calibration time
    std::function<std::wstring(std::wstring_view key)> text;
    std::function<void(std::wstring_view line)> writeLog;
};
int RefitTouchScreens(FleetContext& context, const RefitConsoleServices& services);
