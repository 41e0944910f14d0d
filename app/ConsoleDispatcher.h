#pragma once
// The console face: runs the one command the option table names.

#include "app/CommandLineInfoEx.h"

#include <functional>
#include <string>

class IConsole;

// A console command takes the option's value and returns the exit code.
using ConsoleCommand = std::function<int(const std::wstring& value)>;

// The commands other subsystems provide; an empty one is not offered.
struct ConsoleCommands {
    ConsoleCommand exportParameters;
    ConsoleCommand importParameters;
    ConsoleCommand updateFirmware;
};

struct DispatchResult {
    bool handled = false; // false: the dialog face starts
    int exitCode = 0;
};

extern const char kHelpBanner[];

DispatchResult DispatchConsoleCommand(const CCommandLineInfoEx& commandLine, IConsole& console,
                                      const ConsoleCommands& commands);
