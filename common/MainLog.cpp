#include "common/MainLog.h"

#include "common/TextEncoding.h"

#include <cstdio>

std::string FormatLogStamp(const std::tm& localTime)
{
    char stamp[128];
    std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H ", &localTime);
    return std::string(stamp, n);
}

void AppendLogLine(const std::string& fileName, std::wstring_view text)
{
    std::string stamp;
    std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        stamp = FormatLogStamp(*local);

    // Text mode, so that the line end is CR LF on Windows; "a" writes at the
    // end of the file whatever was there.
    std::FILE* file = std::fopen(fileName.c_str(), "a");
    if (!file)
        return;
    std::string line = stamp + ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
}

void WriteMainLog(std::wstring_view text) { AppendLogLine("Main.Log", text); }
