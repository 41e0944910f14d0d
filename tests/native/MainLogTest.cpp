#include "common/MainLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string TempLog(const char* name)
{
    auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove(path);
    return path.string();
}

} // namespace

TEST(MainLog, StampIsDateUnderscoreHourAndABlank)
{
    std::tm t{};
    t.tm_year = 2010 - 1900;
    t.tm_mon = 4;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 5;
    EXPECT_EQ(FormatLogStamp(t), "2010-05-03_14 ");
}

TEST(MainLog, CreatesThenAppendsOneLinePerCall)
{
    std::string log = TempLog("pelno_mainlog_test.log");
    AppendLogLine(log, L"5a 0 ");
    AppendLogLine(log, L" Recv:11 0 ");
    std::string content = ReadAll(log);

    std::time_t now = std::time(nullptr);
    std::string stamp = FormatLogStamp(*std::localtime(&now));
    // Both calls fall in the same hour except right at its turn.
    if (content.rfind(stamp, 0) == 0) {
        EXPECT_EQ(content, stamp + "5a 0 \n" + stamp + " Recv:11 0 \n");
    }
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 2);

    // An existing file is kept, never truncated.
    AppendLogLine(log, L"third");
    EXPECT_EQ(ReadAll(log).substr(0, content.size()), content);

    // Held open, the log appends the same lines, each readable at once.
    const std::string before = ReadAll(log);
    CLogAppender appender(log);
    appender.Write(L"51 41 ");
    const std::string first = ReadAll(log);
    appender.Write(L" Recv:31 11 ");
    EXPECT_EQ(first.substr(0, before.size()), before);
    EXPECT_EQ(first.size() - before.size(), stamp.size() + 7) << "flushed before the next line";
    const std::string all = ReadAll(log);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 5);
    std::filesystem::remove(log);
}

TEST(MainLog, UnwritableFileLeavesTheCallerUnaffected)
{
    auto dir = std::filesystem::temp_directory_path() / "pelno_mainlog_dir";
    std::filesystem::create_directories(dir);
    // A directory cannot be opened as a file: the line is lost, silently.
    AppendLogLine(dir.string(), L"lost");
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    std::filesystem::remove(dir);

    std::string log = TempLog("pelno_mainlog_wide.log");
    AppendLogLine(log, L"caf\u00e9");
    EXPECT_NE(ReadAll(log).find("caf\xc3\xa9\n"), std::string::npos);
    std::filesystem::remove(log);
}
