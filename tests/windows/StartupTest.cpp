// Start-up of the dialog face: the no-touchscreen box, an unknown option,
// and the single-instance rule, with the real executable under Wine.

#include "ProgramRunner.h"
#include "app/ConsoleDispatcher.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

std::wstring MessageText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

} // namespace

TEST(Startup, NoTouchScreenOrUnknownOptionShowsTheLanguageFileBox)
{
    ASSERT_NE(EnglishText(L"71"), L"71") << "1033.ini is missing beside the program";
    for (const wchar_t* arguments : {L"", L"-x"}) { // an unknown option opens the dialog face too
        LaunchOptions options;
        options.arguments = arguments;
        options.environment = {{L"PELNOCPL_SIMULATE", L"0"}};
        ProgramRun run;
        ASSERT_TRUE(Launch(options, run));
        HWND box = WaitForWindow(L"#32770", EnglishText(L"71"), 15000);
        ASSERT_NE(box, nullptr) << "no message box titled with text 71";
        EXPECT_EQ(MessageText(box), EnglishText(L"72"));
        EXPECT_EQ(run.Wait(300), -1) << "the program must wait for OK";
    }
}

TEST(Startup, OkEndsTheProgramWithCodeZero)
{
    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", L"0"}};
    ProgramRun run;
    ASSERT_TRUE(Launch(options, run));
    HWND box = WaitForWindow(L"#32770", EnglishText(L"71"), 15000);
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(run.Wait(10000), 0);
}

TEST(Startup, SecondInstanceBringsTheFirstForwardAndEnds)
{
    LaunchOptions first;
    first.environment = {{L"PELNOCPL_SIMULATE", L"2"}};
    ProgramRun firstRun;
    ASSERT_TRUE(Launch(first, firstRun));
    HWND window = WaitForWindow(L"#32770", EnglishText(L"79"), 15000);
    ASSERT_NE(window, nullptr) << "the first instance shows no window titled with text 79";

    // Put another window in front, then start the program again.
    HWND other = CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(other);
    LaunchOptions second;
    second.arguments = L"-t"; // the test lines touch no touchscreen: they run as always
    second.outputFile = UniqueOutputFile();
    ProgramRun secondRun;
    ASSERT_TRUE(Launch(second, secondRun));
    EXPECT_EQ(secondRun.Wait(15000), 0);
    EXPECT_EQ(ReadFileBytes(second.outputFile).substr(0, 11), "test line 0");
    EXPECT_EQ(GetForegroundWindow(), window);
    DestroyWindow(other);

    // A console command is not run either, and says so: exit code 1.
    const std::wstring exported = MakeTempFolder(L"pelno_second") + L"\\out.ini";
    LaunchOptions exporting;
    exporting.arguments = L"-e " + exported;
    exporting.outputFile = UniqueOutputFile();
    ProgramRun exportRun;
    ASSERT_TRUE(Launch(exporting, exportRun));
    EXPECT_EQ(exportRun.Wait(15000), 1);
    EXPECT_EQ(ReadFileBytes(exporting.outputFile), WithCrLf(kAlreadyRunningLine));
    EXPECT_EQ(GetFileAttributesW(exported.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was exported";

    PostMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(firstRun.Wait(10000), 0);

    // With no first instance left, a start runs normally again.
    LaunchOptions third;
    third.arguments = L"-t";
    third.outputFile = UniqueOutputFile();
    ProgramRun thirdRun;
    ASSERT_TRUE(Launch(third, thirdRun));
    EXPECT_EQ(thirdRun.Wait(15000), 0);
    EXPECT_EQ(ReadFileBytes(third.outputFile).substr(0, 11), "test line 0");
}

TEST(Startup, GuiStartRunsTheMainDialogUntilItIsClosed)
{
    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", L"3"}};
    ProgramRun run;
    ASSERT_TRUE(Launch(options, run));
    HWND window = WaitForWindow(L"#32770", EnglishText(L"79"), 15000);
    ASSERT_NE(window, nullptr) << "no main dialog titled with text 79";
    // The window has its title before its controls; the list is filled once
    // the start-up query has asked every touchscreen.
    HWND list = nullptr;
    LRESULT items = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000 && items != 3; Sleep(50)) {
        if (!list)
            list = GetDlgItem(window, 1064);
        if (list)
            items = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    }
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(items, 3);
    EXPECT_EQ(WaitForSingleObject(run.process.hProcess, 300), WAIT_TIMEOUT) << "the dialog runs until it is closed";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
}

TEST(Startup, UnpluggingTheLastTouchScreenEndsTheProgram)
{
    std::wstring scenario = MakeTempFolder(L"pelno_unplug") + L"\\unplug.ini";
    HANDLE file = CreateFileW(scenario.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char text[] = "[Frame0]\r\nUnplugAfter=2500\r\n";
    DWORD written = 0;
    WriteFile(file, text, sizeof text - 1, &written, nullptr);
    CloseHandle(file);

    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", scenario}};
    ProgramRun run;
    ASSERT_TRUE(Launch(options, run));
    HWND window = WaitForWindow(L"#32770", EnglishText(L"79"), 15000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(run.Wait(15000), 0) << "the program ends when its touchscreen is unplugged";
    DeleteFileW(scenario.c_str());
}
