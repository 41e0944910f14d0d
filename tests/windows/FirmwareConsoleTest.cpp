// The console update of the real executable against virtual frames: its
// output written to a file, each frame's log of the reports it received,
// and the progress on a real console.

#include "FirmwareMaker.h"
#include "ParameterTestSupport.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kNote = "Note:Please don't close the console or remove the touch Screen!\r\n"
                          "Please wait a moment for updating!\r\n";
const std::string kSuccess = "\r\nUpdate successfully!\r\nPress any key to continue......";
const std::string kFailure =
    "\r\nUpdate failed! please reconnect the touch screen\r\nPress any key to continue......\r\n";

std::string HexLine(const Bytes& bytes)
{
    std::string line;
    char hex[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", bytes[i]);
        line += hex;
    }
    return line + "\n";
}

// What a frame receives for these records, one report a line: entering
// update mode, its feature report, the first `frames` frames, and the
// finish with its feature report when `finished`.
std::string ExpectedLog(const FirmwareRecords& records, std::size_t frames, bool finished)
{
    std::string log = HexLine({0x31, 'R', 'b', 0x09, 0, 0, 0, 0, 0}) + HexLine({0x02, 0x01});
    std::size_t sent = 0;
    for (const FirmwareRecord& record : records) {
        Bytes bytes = {static_cast<std::uint8_t>(record.size() >> 8), static_cast<std::uint8_t>(record.size())};
        bytes.insert(bytes.end(), record.begin(), record.end());
        for (std::size_t at = 0; at < bytes.size() && sent < frames; at += 47, ++sent) {
            const std::size_t n = std::min<std::size_t>(47, bytes.size() - at);
            const bool finalOfSeveral = at > 0 && at + n == bytes.size();
            Bytes frame = {0x51, static_cast<std::uint8_t>(finalOfSeveral ? 'B' : 'A')};
            frame.insert(frame.end(), bytes.begin() + at, bytes.begin() + at + n);
            frame.resize(49, 0);
            log += HexLine(frame);
        }
    }
    if (finished)
        log += HexLine({0x31, 'R', 'c', 0, 0, 0, 0, 0, 0}) + HexLine({0x02, 0x09});
    return log;
}

struct FirmwareConsole : ::testing::Test {
    std::wstring folder;
    void SetUp() override
    {
        folder = MakeTempFolder(L"pelno_firmware");
        for (const wchar_t* name : {L"frame0.log", L"frame1.log", L"fw.bin", L"scenario.ini"})
            DeleteFileW((folder + L"\\" + name).c_str());
    }
    std::wstring Path(const wchar_t* name) const { return folder + L"\\" + name; }

    void WriteScenario(const std::string& frame0Extra = {})
    {
        std::string scenario = "[Frame0]\r\nLogFile=" + Narrow(Path(L"frame0.log")) + "\r\n" + frame0Extra +
                               "[Frame1]\r\nLogFile=" + Narrow(Path(L"frame1.log")) + "\r\n";
        WriteFileBytes(Path(L"scenario.ini"), scenario);
    }

    // PelnoCpl.exe -u in the test folder with the scenario's frames.
    CapturedRun Update(const std::wstring& file, const std::wstring& simulate)
    {
        return RunCaptured(ProgramPath(), L"-u " + file, folder, {{L"PELNOCPL_SIMULATE", simulate}});
    }
};

const FirmwareRecords kRecords = {Bytes(10, 0x11), Bytes(98, 0x22), Bytes(1, 0x33)};

} // namespace

TEST_F(FirmwareConsole, EveryFrameReceivesExactlyTheFramesOfTheRecords)
{
    WriteFileBytes(Path(L"fw.bin"), ToHexText(MakeConsoleFirmware({}, kRecords)));
    WriteScenario();
    // A bare name is found in the current directory.
    CapturedRun run = Update(L"fw.bin", Path(L"scenario.ini"));
    EXPECT_EQ(run.exitCode, 0);
    const std::string screen =
        kNote + "Updating...0%\r\nUpdating...10%\r\nUpdating...97%\r\nUpdating...100%" + kSuccess;
    EXPECT_EQ(run.output,
              "\r\n" + screen + "\r\n" + screen + "\r\nTouch screen 1: updated\r\nTouch screen 2: updated\r\n");
    const std::string expected = ExpectedLog(kRecords, 5, true);
    EXPECT_EQ(ReadFileBytes(Path(L"frame0.log")), expected);
    EXPECT_EQ(ReadFileBytes(Path(L"frame1.log")), expected);
}

TEST_F(FirmwareConsole, AFirstFrameThatRejectsLeavesTheSecondToBeUpdated)
{
    WriteFileBytes(Path(L"fw.bin"), ToHexText(MakeConsoleFirmware({}, kRecords)));
    WriteScenario("FrameReplies=0x11,0x11,0x13\r\n");
    CapturedRun run = Update(Path(L"fw.bin"), Path(L"scenario.ini"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "\r\n" + kNote + "Updating...0%\r\nUpdating...10%" + kFailure + kNote +
                              "Updating...0%\r\nUpdating...10%\r\nUpdating...97%\r\nUpdating...100%" + kSuccess +
                              "\r\nTouch screen 1: failed\r\nTouch screen 2: updated\r\n");
    EXPECT_EQ(ReadFileBytes(Path(L"frame0.log")), ExpectedLog(kRecords, 3, false));
    EXPECT_EQ(ReadFileBytes(Path(L"frame1.log")), ExpectedLog(kRecords, 5, true));
}

TEST_F(FirmwareConsole, AMissingOrDamagedFileIsRejectedAndNothingIsSent)
{
    WriteScenario();
    CapturedRun missing = Update(L"missing.bin", Path(L"scenario.ini"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output,
              "\r\n" + Narrow(Path(L"missing.bin")) + " doesn't exist!\r\nPress any key to exit......\r\n");

    std::string text = ToHexText(MakeConsoleFirmware({}, kRecords));
    text[60] = text[60] == '1' ? '2' : '1';
    WriteFileBytes(Path(L"fw.bin"), text);
    CapturedRun damaged = Update(L"fw.bin", Path(L"scenario.ini"));
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(
        damaged.output,
        "\r\nthe file you selected has been destroyed or changed,Please check!\r\nPress any key to exit......\r\n");
    EXPECT_EQ(GetFileAttributesW(Path(L"frame0.log").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FirmwareConsole, WithoutATouchScreenThatOpensNoneIsUpdated)
{
    // The file is still checked first; then there is no touchscreen to update.
    WriteFileBytes(Path(L"fw.bin"), ToHexText(MakeConsoleFirmware({}, kRecords)));
    WriteFileBytes(Path(L"scenario.ini"), "[Frame0]\r\nOpenFails=1\r\n");
    for (const std::wstring& simulate : {std::wstring(L"0"), Path(L"scenario.ini")}) {
        CapturedRun none = Update(L"fw.bin", simulate);
        EXPECT_EQ(none.exitCode, 1) << Narrow(simulate);
        EXPECT_EQ(none.output, "\r\nNo touch screen was updated: none is attached, or none could be opened!\r\n");
    }
}

TEST_F(FirmwareConsole, ASilentFirstFrameIsSummedUpAfterTheSecondIsUpdated)
{
    WriteFileBytes(Path(L"fw.bin"), ToHexText(MakeConsoleFirmware({}, kRecords)));
    WriteScenario("Silent=1\r\n");
    // The silent frame's first reply is waited for 10 s.
    CapturedRun run = Update(L"fw.bin", Path(L"scenario.ini"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.ends_with(kSuccess + "\r\nTouch screen 1: failed\r\nTouch screen 2: updated\r\n"))
        << run.output;
    EXPECT_EQ(ReadFileBytes(Path(L"frame1.log")), ExpectedLog(kRecords, 5, true));
}

namespace {

// A console of the test's own, which the program attaches to as a terminal's.
class CTestConsole {
public:
    CTestConsole()
    {
        m_savedOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        m_savedError = GetStdHandle(STD_ERROR_HANDLE);
        FreeConsole();
        m_created = AllocConsole() != 0;
        m_output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    }
    ~CTestConsole()
    {
        if (m_output != INVALID_HANDLE_VALUE)
            CloseHandle(m_output);
        FreeConsole();
        SetStdHandle(STD_OUTPUT_HANDLE, m_savedOutput);
        SetStdHandle(STD_ERROR_HANDLE, m_savedError);
    }
    bool Ready() const { return m_created && m_output != INVALID_HANDLE_VALUE; }
    void Write(const std::wstring& text)
    {
        DWORD written = 0;
        WriteConsoleW(m_output, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    // Row `row` of the screen buffer, trailing blanks removed.
    std::string Row(int row)
    {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (!GetConsoleScreenBufferInfo(m_output, &info))
            return "?";
        std::wstring cells(static_cast<std::size_t>(info.dwSize.X), L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(m_output, cells.data(), info.dwSize.X, COORD{0, static_cast<SHORT>(row)}, &read);
        cells.resize(read);
        cells.erase(cells.find_last_not_of(L' ') + 1);
        return Narrow(cells);
    }
    std::wstring Title()
    {
        wchar_t title[256] = {};
        GetConsoleTitleW(title, 256);
        return title;
    }

private:
    HANDLE m_savedOutput;
    HANDLE m_savedError;
    bool m_created = false;
    HANDLE m_output = INVALID_HANDLE_VALUE;
};

} // namespace

TEST(FirmwareConsoleScreen, TheScreenIsClearedAndTheFigureRewrittenAtRowTwo)
{
    std::wstring folder = MakeTempFolder(L"pelno_firmware_screen");
    WriteFileBytes(folder + L"\\fw.bin", ToHexText(MakeConsoleFirmware({}, kRecords)));
    CTestConsole console;
    ASSERT_TRUE(console.Ready());
    for (int i = 0; i < 8; ++i)
        console.Write(L"an earlier program's line " + std::to_wstring(i) + L"\r\n");

    LaunchOptions options;
    options.arguments = L"-u fw.bin";
    options.currentDirectory = folder;
    options.environment = {{L"PELNOCPL_SIMULATE", L"2"}};
    ProgramRun run;
    ASSERT_TRUE(Launch(options, run));
    EXPECT_EQ(run.Wait(30000), 0);

    // The second touchscreen's screen, nothing of the first one's nor of the earlier lines.
    EXPECT_EQ(console.Row(0), "Note:Please don't close the console or remove the touch Screen!");
    EXPECT_EQ(console.Row(1), "Please wait a moment for updating!");
    EXPECT_EQ(console.Row(2), "Updating...100%");
    EXPECT_EQ(console.Row(3), "Update successfully!");
    EXPECT_EQ(console.Row(4), "Press any key to continue......");
    // Each touchscreen's outcome stays on the screen.
    EXPECT_EQ(console.Row(5), "Touch screen 1: updated");
    EXPECT_EQ(console.Row(6), "Touch screen 2: updated");
    for (int row = 7; row < 12; ++row)
        EXPECT_EQ(console.Row(row), "") << row;
    EXPECT_EQ(console.Title(), L"KALVEXO TouchScreen Updating");
}
