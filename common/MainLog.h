#pragma once
// "Main.Log": the append-only frame log of the firmware update.

#include "platform/SeamResult.h"

#include <cstdio>
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

// Logs a failure the user is shown: what was shown, then the system call
// that failed and its code, so that the log says why ("... (WriteFile
// failed with error 112)").
void LogShownFailure(std::wstring_view shown, const SeamResult& error);

// The log held open for a run of lines (the update dialog writes two a
// frame): the same lines as AppendLogLine, each flushed as it is written,
// without opening and closing the file every time. A file that cannot be
// opened is tried again at the next line; nothing fails towards the caller.
class CLogAppender {
public:
    explicit CLogAppender(std::string fileName = "Main.Log") : m_fileName(std::move(fileName)) {}
    ~CLogAppender();
    CLogAppender(const CLogAppender&) = delete;
    CLogAppender& operator=(const CLogAppender&) = delete;

    void Write(std::wstring_view text);

private:
    std::string m_fileName;
    std::FILE* m_file = nullptr;
};
