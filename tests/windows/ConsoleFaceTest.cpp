// The console face of the real executable, with standard output redirected
// to a file as a script would.

#include "ProgramRunner.h"
#include "app/ConsoleDispatcher.h"

#include <gtest/gtest.h>

namespace {

CapturedRun RunConsole(const std::wstring& arguments, const std::wstring& program = ProgramPath())
{
    return RunCaptured(program, arguments);
}

} // namespace

TEST(ConsoleFace, HelpBannerByteForByteForEverySpelling)
{
    for (const wchar_t* flag : {L"-help", L"/?", L"-?", L"/help", L"-h"}) {
        CapturedRun run = RunConsole(flag);
        EXPECT_EQ(run.exitCode, 0) << flag;
        EXPECT_EQ(run.output, WithCrLf(kHelpBanner)) << flag;
    }
}

TEST(ConsoleFace, TestPrintoutAndSimulationDoNotMatter)
{
    CapturedRun run = RunConsole(L"-t");
    EXPECT_EQ(run.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += "test line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(run.output, expected);

    // The console face runs before any touchscreen is looked for.
    LaunchOptions options;
    options.arguments = L"/test";
    options.outputFile = UniqueOutputFile();
    options.environment = {{L"PELNOCPL_SIMULATE", L"0"}};
    ProgramRun second;
    ASSERT_TRUE(Launch(options, second));
    EXPECT_EQ(second.Wait(20000), 0);
    EXPECT_EQ(ReadFileBytes(options.outputFile), expected);
}

TEST(ConsoleFace, RunsFromAFolderLongerThan200Characters)
{
    // The program folder is not held in a fixed buffer.
    std::wstring folder = MakeTempFolder(L"pelno_long");
    while (folder.size() <= 200)
        folder += L"\\abcdefghijklmnopqrstuvwxyz0123456789";
    for (std::size_t i = folder.find(L'\\', 3); i != std::wstring::npos; i = folder.find(L'\\', i + 1))
        CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring program = folder + L"\\PelnoCpl.exe";
    ASSERT_GT(folder.size(), 200u);
    ASSERT_LT(program.size(), std::size_t(MAX_PATH));
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), program.c_str(), FALSE)) << GetLastError();
    // The libraries it is bound to at load time go with it.
    const std::wstring bin = ProgramPath().substr(0, ProgramPath().find_last_of(L'\\'));
    for (const wchar_t* library : {L"\\Sarnet.dll", L"\\Grell.dll"})
        ASSERT_TRUE(CopyFileW((bin + library).c_str(), (folder + library).c_str(), FALSE)) << GetLastError();
    CapturedRun run = RunConsole(L"-t", program);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.substr(0, 13), "test line 0\r\n");
    DeleteFileW(program.c_str());
    for (const wchar_t* library : {L"\\Sarnet.dll", L"\\Grell.dll"})
        DeleteFileW((folder + library).c_str());
}

TEST(ConsoleFace, ImportAndUpdateWithoutAFileNameSayWhichOptionNeedsOne)
{
    for (const wchar_t* option : {L"-i", L"-u", L"/import", L"-update"}) {
        CapturedRun run = RunConsole(option);
        EXPECT_EQ(run.exitCode, 1) << option;
        std::wstring name(option + 1);
        EXPECT_EQ(run.output, "\r\nThe option -" + std::string(name.begin(), name.end()) + " needs a file name!\r\n");
    }
}
