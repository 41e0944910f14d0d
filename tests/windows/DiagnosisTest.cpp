// The Diagnostics dialog in the real program under Wine, over a virtual frame
// of 16 x 12 LEDs with two bad ones: a run's every line, the report through
// the real Save As dialog, and the frame unplugged while the dialog is open.

#include "ControlTestSupport.h"
#include "ProgramRunner.h"
#include "device/ReportProtocol.h"
#include "diagnostics/LedPicture.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kMainDiagnostics = 1054;
constexpr int kList = 1018;
constexpr int kRun = 1063;
constexpr int kExport = 1057;

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}

void Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A top-level dialog window owned by `owner`.
HWND OwnedDialog(HWND owner)
{
    struct Search {
        HWND owner;
        HWND found = nullptr;
    } search{owner};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (GetWindow(window, GW_OWNER) == s->owner && std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForOwnedDialog(HWND owner, DWORD milliseconds)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = OwnedDialog(owner)) != nullptr; }, milliseconds);
    return found;
}

std::vector<std::wstring> ListLines(HWND list)
{
    std::vector<std::wstring> lines;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.emplace_back(text);
    }
    return lines;
}

// A control's text as its own window procedure gives it (another process's
// edit keeps its text to itself otherwise).
std::wstring ControlText(HWND control)
{
    wchar_t text[1024] = {};
    SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring WriteScenario(const wchar_t* name, const char* text)
{
    std::wstring path = MakeTempFolder(name) + L"\\frames.ini";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return path;
}

// The program over the scenario, its main dialog ready, and the Diagnostics
// dialog opened for the first touchscreen.
struct OpenDiagnostics {
    explicit OpenDiagnostics(const std::wstring& scenario)
    {
        LaunchOptions options;
        options.environment = {{L"PELNOCPL_SIMULATE", scenario}};
        if (!Launch(options, run))
            return;
        main = WaitForWindow(L"#32770", EnglishText(L"79"), 15000);
        // The list holds both frames once the start-up query has asked them.
        if (!main || !WaitFor([&] { return SendMessageW(GetDlgItem(main, 1064), LVM_GETITEMCOUNT, 0, 0) == 2; }, 15000))
            return;
        Press(main, kMainDiagnostics);
        dialog = WaitForOwnedDialog(main, 10000);
    }
    ~OpenDiagnostics()
    {
        if (main)
            PostMessageW(main, WM_CLOSE, 0, 0);
        run.Wait(10000);
    }
    ProgramRun run;
    HWND main = nullptr;
    HWND dialog = nullptr;
};

// With PELNO_DIAGNOSIS_SHOT naming a PNG file (a Unix path), the window is
// captured from the X display (ImageMagick's import) for the documentation.
void CaptureWhenAsked(HWND window)
{
    char path[512] = {};
    if (!GetEnvironmentVariableA("PELNO_DIAGNOSIS_SHOT", path, sizeof path))
        return;
    RECT r{};
    GetWindowRect(window, &r);
    char command[1200];
    snprintf(command, sizeof command, "import -window root -crop %ldx%ld+%ld+%ld +repage %s", r.right - r.left,
             r.bottom - r.top, r.left, r.top, path);
    RunShell(command, 10000);
}

std::wstring LedLine(int number, bool bad)
{
    wchar_t digits[8];
    swprintf(digits, 8, L"%03d", number);
    return L"      " + std::wstring(digits) + std::wstring(74, L'-') + (bad ? L"[   Bad  ]" : L"[   OK   ]");
}

TEST(Diagnosis, ARunListsEveryLedAndExportSavesTheLinesThroughSaveAs)
{
    const std::wstring scenario =
        WriteScenario(L"pelno_diagnosis_run", "[Frame0]\r\nNumber=4\r\nLedsX=16\r\nLedsY=12\r\nLedStep=0x21\r\n"
                                              "BadLeds=3,17\r\n[Frame1]\r\n");
    OpenDiagnostics program(scenario);
    ASSERT_NE(program.dialog, nullptr) << "no Diagnostics dialog";
    const std::wstring title = WindowText(program.dialog);
    ASSERT_EQ(title.substr(0, 3), L"No.");
    const int number = _wtoi(title.c_str() + 3);
    EXPECT_EQ(title, L"No." + std::to_wstring(number) + L" " + EnglishText(L"58"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(program.dialog, kExport)));

    Press(program.dialog, kRun);
    HWND list = GetDlgItem(program.dialog, kList);
    ASSERT_TRUE(WaitFor(
        [&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) > 1 && IsWindowEnabled(GetDlgItem(program.dialog, kRun)); },
        15000))
        << "no result listed";

    std::vector<std::wstring> expected = {
        L"TouchScreen No:" + std::to_wstring(number),
        L"Hardware Version:86.50.49", // the frame's version characters "V210"
        L"Product Serial Number:0065535",
        L"Total leds:28 ",
        L"Summary:",
        L"       x-coordinate total leds:16  bad leds:1 ",
        L"       y-coordinate total leds:12  bad leds:1 ",
        L"Diagnostics Result:",
        L"      Led" + std::wstring(99, L' ') + L"Status",
        std::wstring(93, L'-'),
        L"    x-coordinate:",
    };
    for (int n = 1; n <= 16; ++n)
        expected.push_back(LedLine(n, n == 3));
    expected.push_back(L"    y-coordinate:");
    for (int n = 17; n <= 28; ++n)
        expected.push_back(LedLine(n, n == 17));
    const std::vector<std::wstring> lines = ListLines(list);
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(program.dialog, kExport)));

    // An earlier, longer report at the chosen path: the new one replaces it whole.
    const std::wstring report = MakeTempFolder(L"pelno_diagnosis_report") + L"\\saved.txt";
    {
        HANDLE file = CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::string old(20000, 'x');
        DWORD written = 0;
        WriteFile(file, old.data(), static_cast<DWORD>(old.size()), &written, nullptr);
        CloseHandle(file);
    }
    Press(program.dialog, kExport);
    HWND saveAs = WaitForOwnedDialog(program.dialog, 10000);
    ASSERT_NE(saveAs, nullptr) << "no Save As dialog";
    // The file name box: an edit (0x480) or, in other versions of the dialog, a combo box (0x47C).
    HWND nameBox = GetDlgItem(saveAs, 0x480) ? GetDlgItem(saveAs, 0x480) : GetDlgItem(saveAs, 0x47C);
    ASSERT_TRUE(
        WaitFor([&] { return ControlText(nameBox) == L"Diagnostics_" + std::to_wstring(number) + L".txt"; }, 5000))
        << "proposed: " << Narrow(ControlText(nameBox));
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report.c_str()));
    PostMessageW(saveAs, WM_COMMAND, IDOK, 0);
    // The overwrite prompt: yes.
    HWND prompt = WaitForOwnedDialog(saveAs, 5000);
    ASSERT_NE(prompt, nullptr) << "no overwrite prompt";
    PostMessageW(prompt, WM_COMMAND, IDYES, 0);

    std::string bytes;
    for (const std::wstring& line : expected)
        bytes += std::string(line.begin(), line.end()) + "\r\n";
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(report) == bytes; }, 5000)) << ReadFileBytes(report).size();
    DeleteFileW(report.c_str());
    DeleteFileW(scenario.c_str());
}

TEST(Diagnosis, UnpluggingTheFrameWhileTheDialogIsOpenIsToldAndDisablesDiagnostics)
{
    const std::wstring scenario =
        WriteScenario(L"pelno_diagnosis_unplug", "[Frame0]\r\nUnplugAfter=8000\r\n[Frame1]\r\n");
    OpenDiagnostics program(scenario);
    ASSERT_NE(program.dialog, nullptr) << "no Diagnostics dialog";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(program.dialog, kRun)));

    HWND box = WaitForOwnedDialog(program.dialog, 15000);
    ASSERT_NE(box, nullptr) << "no removal box";
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), L"The device you have selected has been removed!");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(program.dialog, kRun)));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    PostMessageW(program.dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(program.dialog); }, 5000));
    DeleteFileW(scenario.c_str());
}

// The scan a frame of x by y LEDs with these bad ones streams (step 1).
CLedScan FrameScan(std::uint8_t x, std::uint8_t y, const std::vector<int>& badNumbers)
{
    std::vector<std::uint8_t> levels = {'Z', 'v', x, y, 0x11, 1, 50, 0, 0}, statuses = {'Z', 'g', 0, 0, 0, 0, 0, 0};
    for (int index = 0; index <= x + y; ++index) {
        const int number = index < x ? index + 1 : index;
        const bool bad = index != x && std::find(badNumbers.begin(), badNumbers.end(), number) != badNumbers.end();
        levels.push_back(bad ? 25 : 200);
        statuses.push_back(index == x ? 0 : 1);
    }
    CLedScan scan;
    for (auto* bytes : {&levels, &statuses})
        for (std::size_t at = 0; at < bytes->size(); at += 8) {
            Report report{};
            report[0] = kDiagnosticsReportId;
            for (std::size_t i = 0; i < 8 && at + i < bytes->size(); ++i)
                report[1 + i] = (*bytes)[at + i];
            bytes == &levels ? scan.AddLevelReport(report) : scan.AddStatusReport(report);
        }
    scan.ParseLedScan();
    return scan;
}

TEST(Diagnosis, ThePictureShowsBadLedsRedAtTheirMarksAndTheHoverNamesThem)
{
    const std::wstring scenario =
        WriteScenario(L"pelno_diagnosis_picture", "[Frame0]\r\nNumber=4\r\nLedsX=16\r\nLedsY=12\r\n"
                                                  "BadLeds=3,17\r\n[Frame1]\r\n");
    OpenDiagnostics program(scenario);
    ASSERT_NE(program.dialog, nullptr) << "no Diagnostics dialog";
    Press(program.dialog, kRun);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(program.dialog, kExport)); }, 15000))
        << "no result listed";
    SetWindowPos(program.dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(program.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);

    // Where the marks stand, by the layout rule over the placeholder's place.
    RECT area{};
    GetWindowRect(GetDlgItem(program.dialog, 1138), &area);
    MapWindowPoints(nullptr, program.dialog, reinterpret_cast<POINT*>(&area), 2);
    const LedPictureLayout layout =
        LayOutLedPicture(FrameScan(16, 12, {3, 17}), {area.left, area.top, area.right, area.bottom});
    ASSERT_EQ(layout.marks.size(), 28u);
    HDC screen = GetDC(nullptr);
    for (const LedMark& mark : layout.marks) {
        POINT centre{(mark.mark.left + mark.mark.right) / 2, (mark.mark.top + mark.mark.bottom) / 2};
        ClientToScreen(program.dialog, &centre);
        const COLORREF pixel = GetPixel(screen, centre.x, centre.y);
        EXPECT_EQ(pixel, mark.bad ? RGB(224, 0, 0) : RGB(0, 160, 0)) << "LED " << mark.number;
    }
    ReleaseDC(nullptr, screen);
    CaptureWhenAsked(program.dialog);

    // Hovering the first y LED's mark names it below the picture.
    const LedMark& first = layout.marks[16];
    POINT at{(first.mark.left + first.mark.right) / 2, (first.mark.top + first.mark.bottom) / 2};
    ClientToScreen(program.dialog, &at);
    // The real pointer, moved onto the mark from beside the picture.
    ASSERT_TRUE(RunXdotool("mousemove " + std::to_string(at.x + 40) + " " + std::to_string(at.y + 40)));
    ASSERT_TRUE(RunXdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y)));
    EXPECT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(program.dialog, 1139)) == L"Led 017  Bad"; }, 5000))
        << Narrow(WindowText(GetDlgItem(program.dialog, 1139)));
    DeleteFileW(scenario.c_str());
}

} // namespace
