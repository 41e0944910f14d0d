#pragma once
// A scenario of virtual touchscreens: how many frames there are and what
// each one reports about itself. Written as an .ini file (see
// docs/scenarios.md) or given as a plain count.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One scripted touch: emitted `delayMs` after the previous one (or after
// touch reporting started), at raw coordinates x, y.
struct SimTouch {
    unsigned delayMs = 0;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

struct SimFrameSetup {
    std::uint16_t vendorId = 0x6615;
    std::uint16_t productId = 0x0001;
    std::uint16_t versionNumber = 0x0100;
    std::wstring deviceObjectName;    // physical-device-object name
    std::string versionText = "V210"; // the four version characters
    std::string serialNumber;
    int touchScreenNumber = 0;      // the number stored inside the frame
    int monitor = 0;                // the monitor its glass lies on
    bool openFails = false;         // the interface cannot be opened
    bool nameUnreadable = false;    // its device object name cannot be read
    bool notificationFails = false; // device notifications cannot be registered

    // Protocol faults and scripts.
    bool silent = false;                        // never answers
    unsigned answerDelayMs = 0;                 // delay before each answer
    bool garbage = false;                       // answers are random bytes
    std::vector<std::uint16_t> ignoredCommands; // commands it never answers
    std::optional<unsigned> unplugAfterMs;      // removed this long after the frames appear
    std::wstring logFile;                       // every report received, in hex, one per line
    std::vector<SimTouch> touches;              // emitted while touch reporting runs
    std::uint16_t rawMaxX = 4095;               // the mouse finger's raw range over the monitor
    std::uint16_t rawMaxY = 4095;

    // The LED scan the diagnostics commands return.
    int ledsX = 16;
    int ledsY = 12;
    std::uint8_t ledStepByte = 0x11; // high nibble step, low nibble its divisor
    std::uint8_t ledMarker = 0x01;   // status of every LED (all are candidates)
    std::uint8_t ledThreshold = 50;  // a level below it is bad
    std::vector<int> badLeds;        // LEDs whose level is low, numbered as the report lists them (1 .. x + y)

    // Firmware update: the status answering the n-th frame (0x11 accepted,
    // 0x13 or 0x22 rejected); frames past the list are accepted.
    std::vector<std::uint8_t> frameReplies;
};

struct SimScenario {
    std::vector<SimFrameSetup> frames;
    // The interface list itself cannot be enumerated past this many entries.
    std::optional<unsigned> enumerationFailsAt;
};

// The default frame i of a counted scenario.
SimFrameSetup DefaultSimFrame(unsigned index);

// A scenario of `count` default frames.
SimScenario MakeCountedScenario(unsigned count);

// Parses scenario text (UTF-8). On error returns nothing and sets `error`.
std::optional<SimScenario> ParseScenario(const std::string& text, std::string& error);

// The value of PELNOCPL_SIMULATE: a count, or the path of a scenario file
// (UTF-8, or UTF-16LE with a byte-order mark).
std::optional<SimScenario> LoadScenario(const std::wstring& setting, std::string& error);
