#include "common/MainLog.h"

#include "common/TextEncoding.h"

#include <cstdio>

std::string FormatLogStamp(const std::tm& localTime)
{
    char stamp[128];
    std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H ", &localTime);
    return std::string(stamp, n);
}

namespace {
std::string StampNow()
{
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? FormatLogStamp(*local) : std::string();
}
} // namespace

void AppendLogLine(const std::string& fileName, std::wstring_view text)
{
    const std::string stamp = StampNow();

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

void LogShownFailure(std::wstring_view shown, const SeamResult& error)
{
    // One failure, one line: line ends inside become blanks, those around go.
    std::wstring line(shown);
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    const std::size_t first = line.find_first_not_of(L' ');
    line = first == std::wstring::npos ? std::wstring() : line.substr(first, line.find_last_not_of(L' ') - first + 1);
    WriteMainLog(line + L" (" + error.Describe() + L")");
}

CLogAppender::~CLogAppender()
{
    if (m_file)
        std::fclose(m_file);
}

void CLogAppender::Write(std::wstring_view text)
{
    if (!m_file)
        m_file = std::fopen(m_fileName.c_str(), "a"); // as AppendLogLine: text mode, at the end
    if (!m_file)
        return;
    const std::string line = StampNow() + ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
}
