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
// What a console command prints when another instance runs, instead of running.
extern const char kAlreadyRunningLine[];

// True when the command line names export, import, update, list, diagnose or refit:
// a command that would read or change the parameters or the touchscreens.
bool NamesConsoleCommand(const CCommandLineInfoEx& commandLine);

DispatchResult DispatchConsoleCommand(const CCommandLineInfoEx& commandLine, IConsole& console,
                                      const ConsoleCommands& commands);

// The command line of a start while another instance runs: the option
// summary and the test lines touch no touchscreen and are run as always; a
// command that would (NamesConsoleCommand) prints kAlreadyRunningLine and
// ends with 1; anything else is not handled.
DispatchResult DispatchWhileAnotherRuns(const CCommandLineInfoEx& commandLine, IConsole& console);
