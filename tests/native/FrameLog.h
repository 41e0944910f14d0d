#pragma once
// The bytes a virtual frame received (its log file), against the ones
// recorded for the same run in tests/native/frame-logs/. With
// PELNO_RECORD_FRAME_LOGS set the run records them instead.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// An empty log file path in the temporary folder.
inline std::wstring FreshFrameLog(const std::string& name)
{
    auto path = std::filesystem::temp_directory_path() / ("pelno_bytes_" + name + ".log");
    std::filesystem::remove(path);
    return path.wstring();
}

// The report id and command bytes of every report a frame received.
inline std::vector<std::string> FrameCommands(const std::wstring& log)
{
    std::ifstream in{std::filesystem::path(log)};
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, 8));
    return lines;
}

inline void ExpectFrameLogAsRecorded(const std::wstring& log, const std::string& name)
{
    auto text = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto recorded = std::filesystem::path(PELNO_SOURCE_DIR) / "tests/native/frame-logs" / (name + ".log");
    const std::string received = text(log);
    if (std::getenv("PELNO_RECORD_FRAME_LOGS")) {
        std::ofstream(recorded, std::ios::binary) << received;
        return;
    }
    EXPECT_FALSE(received.empty()) << name;
    EXPECT_EQ(received, text(recorded)) << name;
}
