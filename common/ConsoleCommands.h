#pragma once
// The console face's commands that subsystems provide: each takes its
// option's value and returns the process's exit code. The dispatcher in
// app/ runs the one the command line names.

#include <functional>
#include <string>

using ConsoleCommand = std::function<int(const std::wstring& value)>;

// An empty command is not offered.
struct ConsoleCommands {
    ConsoleCommand exportParameters;
    ConsoleCommand importParameters;
    ConsoleCommand updateFirmware;
    ConsoleCommand listTouchScreens;     // its value is not used
    ConsoleCommand diagnoseTouchScreens; // the value: the reports' folder
    ConsoleCommand refitCalibrations;    // its value is not used
};
