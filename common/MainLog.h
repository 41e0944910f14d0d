#pragma once
// "Main.Log": the append-only frame log of the firmware update.

#include <ctime>
#include <string>
#include <string_view>

// The stamp that starts each line: "%Y-%m-%d_%H " of the given local time.
std::string FormatLogStamp(const std::tm& localTime);

// Appends one line (stamp, text, line end) to the log file; never fails
// towards the caller. The file is opened and closed on every call.
void AppendLogLine(const std::string& fileName, std::wstring_view text);

// AppendLogLine to "Main.Log" in the current directory.
void WriteMainLog(std::wstring_view text);
