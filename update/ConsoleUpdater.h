#pragma once
// The console update (-u <file>): reads and checks the firmware file, then
// updates every attached touchscreen in turn over its own HID handle, one
// frame and one reply at a time, printing its progress to the console.

#include "device/ProbeTouchScreens.h"
#include "platform/Handles.h"
#include "platform/SeamResult.h"
#include "update/ConsoleFrames.h"
#include "update/FirmwareFile.h"

#include <functional>
#include <string>
#include <string_view>

class CDeviceManager;
class CProtocolState;
class IConsole;
class IHidPort;
class ISystem;

struct ConsoleUpdateContext {
    CDeviceManager& devices;
    IHidPort& hid;
    IConsole& console;
    ISystem& system;
    CProtocolState& state;
    RequestPoster post; // the probe's requests
    std::wstring currentDirectory;
    // Console text of a file name (Win32: the ANSI code page).
    std::function<std::string(std::wstring_view)> toConsoleText;
};

// Pause before each frame, and after entering update mode.
constexpr unsigned kFramePauseMs = 20;
constexpr unsigned kEnterUpdatePauseMs = 500;
// A reply is waited for in slices of 3 s, 10 s in all; then the update fails.
constexpr unsigned kReplySliceMs = 3000;
constexpr unsigned kReplyTimeoutMs = 10000;
// Attempts to write one frame before the update fails.
constexpr int kFrameWriteAttempts = 4;
constexpr std::uint8_t kFrameAccepted = 0x11;

class CConsoleUpdater {
public:
    CConsoleUpdater(ConsoleUpdateContext context, std::wstring path);

    // The whole command; the exit code: 0 when every touchscreen was updated,
    // 1 when the file was rejected, an update failed, or none was updated
    // (none is attached or none could be opened).
    int Run();

    // Reads and checks the file; false after printing why.
    bool LoadFirmwareFile();
    // Updates the touchscreen of the target handle with the loaded image.
    bool UpdateTouchScreen(DeviceHandle target);

private:
    enum class Exchange { Answered, WriteFailed, NoAnswer };

    void EnterUpdateMode();
    void DiscardWaitingReports();
    Exchange SendFrameAndWait(const ConsoleFrame& frame, Report& reply);
    void Finish();
    void ShowProgress(int percent);
    void StartScreen();
    void Print(std::string_view text);

    ConsoleUpdateContext m_context;
    std::wstring m_path;
    ConsoleFirmware m_firmware;
    DeviceHandle m_target = kInvalidDeviceHandle;
    SeamResult m_lastWrite;  // the last frame's write: its failure is logged with the failed update
    bool m_console = false;  // standard output is a console: the cursor can move
    int m_shownPercent = -1; // the figure shown last on this touchscreen's screen
    char m_lastPrinted = '\n';
};
