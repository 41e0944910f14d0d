#pragma once
// The console face: runs the one command the option table names.

#include "app/CommandLineInfoEx.h"
#include "common/ConsoleCommands.h"

class IConsole;

struct DispatchResult {
    bool handled = false; // false: the dialog face starts
    int exitCode = 0;
};

extern const char kHelpBanner[];

DispatchResult DispatchConsoleCommand(const CCommandLineInfoEx& commandLine, IConsole& console,
                                      const ConsoleCommands& commands);
