// The Properties box, About and the firmware update dialog, opened from the
// real main dialog in this process over virtual frames, the device thread and
// Sarnet.dll with Wine's registry. With PELNO_SHOT_DIR set, each dialog is
// also saved there as a PPM image (the pictures in docs/).

#include "ControlTestSupport.h"
#include "FirmwareMaker.h"
#include "MainDialogRig.h"
#include "ProgramRunner.h"
#include "common/LanguageText.h"
#include "info/Version_win32.h"
#include "libs/sarnet/Sarnet.h"
#include "update/UpdateDlg_win32.h"
#include "win/Button.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;

// Saves the window as it is on the screen to PELNO_SHOT_DIR\<name>.ppm.
void SaveShot(HWND window, const wchar_t* name)
{
    const wchar_t* folder = _wgetenv(L"PELNO_SHOT_DIR");
    if (!folder)
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    GetWindowRect(window, &rect);
    CCanvas canvas(rect.right - rect.left, rect.bottom - rect.top, {});
    HDC screen = GetDC(nullptr);
    BitBlt(canvas, 0, 0, canvas.Width(), canvas.Height(), screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    std::ofstream out(fs::path(folder) / (std::wstring(name) + L".ppm"), std::ios::binary);
    out << "P6\n" << canvas.Width() << " " << canvas.Height() << "\n255\n";
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            out << canvas.At(x, y).red << canvas.At(x, y).green << canvas.At(x, y).blue;
}

// A folder of the test's own, made the current directory (where the update
// dialog looks for "update\kolvane") while it lives.
struct TemporaryFolder {
    TemporaryFolder()
    {
        path = fs::temp_directory_path() / ("pelno-info-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(path);
        fs::create_directories(path);
        previous = fs::current_path();
        fs::current_path(path);
    }
    ~TemporaryFolder()
    {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
    fs::path previous;
};

// The dialog file: `records` records of `length` bytes.
void WriteDialogFirmware(const fs::path& folder, std::size_t records, std::size_t length)
{
    fs::create_directories(folder / "update");
    std::ofstream(folder / "update" / "kolvane")
        << ToHexText(MakeRecordSequence(*FillRecords(records * (length + 2), length, 7)));
}

std::vector<std::string> LogLines(const fs::path& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct InfoDialogsFixture : ::testing::Test, CMainDialogRig<> {
    void Start(SimScenario scenario)
    {
        CMainDialogRig::Start(std::move(scenario));
        ASSERT_TRUE(Open());
    }
    void Select(int item) const
    {
        CListView list = List();
        if (item < 0)
            list.SetItemState(-1, 0, LVIS_SELECTED);
        else
            list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
};

} // namespace

using PropertiesDialog = InfoDialogsFixture;
using AboutDialog = InfoDialogsFixture;
using UpdateDialog = InfoDialogsFixture;

TEST_F(PropertiesDialog, DoubleClickAndEnterOnAnItemShowItsValues)
{
    StoreParameters(1, 1, 1); // touchscreen number 1: monitor 1, calibrated
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[1].versionText = "2015";
    Start(scenario);
    Select(1);

    // A double click of the real pointer on item 1.
    RECT item{LVIR_ICON, 0, 0, 0};
    SendMessageW(List(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(List(), &centre);
    bool clicked = false;
    OwnedDialog shown = OpenedBy(
        [&] {
            clicked = RunXdotool("mousemove --sync " + std::to_string(centre.x) + " " + std::to_string(centre.y) +
                                 " click --repeat 2 --delay 60 1");
        },
        [](HWND box) {
            SaveShot(box, L"properties-dialog");
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    if (clicked) {
        ASSERT_TRUE(shown.found) << "no Properties box after a double click";
        EXPECT_EQ(shown.caption, GetLanguageText(L"62"));
        const std::map<int, std::wstring> expected = {
            {IDC_PROPERTIES_NUMBER, L"1"},
            {IDC_PROPERTIES_MONITOR, L"1"},
            {IDC_PROPERTIES_CALIBRATED, GetLanguageText(L"75")},
            {IDC_PROPERTIES_INTERFACE, L"USB"},
            {IDC_PROPERTIES_VERSION, L"2.0.1.5"},
            {IDC_PROPERTIES_SERIAL, L"0065535"},
            {IDC_PROPERTIES_STATUS, GetLanguageText(L"70")},
            {IDC_PROPERTIES_GROUP, GetLanguageText(L"62")},
            {IDC_PROPERTIES_NUMBER_LABEL, GetLanguageText(L"63")},
            {IDC_PROPERTIES_STATUS_LABEL, GetLanguageText(L"69")},
            {IDC_PROPERTIES_OK, GetLanguageText(L"38")},
        };
        for (const auto& [id, text] : expected)
            EXPECT_EQ(shown.texts[id], text) << id;
        EXPECT_NE(GetLanguageText(L"75"), L"75") << "1033.ini is missing beside the program";
    } else {
        std::cout << "no xdotool: the double click is not tried\n";
    }

    // Enter with the focus on item 0 opens its box, and the program goes on.
    Select(0);
    SetFocus(List());
    shown = OpenedBy([&] {
        PostMessageW(List(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(List(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    });
    ASSERT_TRUE(shown.found) << "no Properties box after Enter on the list";
    EXPECT_EQ(shown.texts[IDC_PROPERTIES_NUMBER], L"0");
    EXPECT_EQ(shown.texts[IDC_PROPERTIES_CALIBRATED], GetLanguageText(L"76"));
    EXPECT_EQ(shown.texts[IDC_PROPERTIES_VERSION], L"V.2.1.0");
    EXPECT_TRUE(IsWindow(*dialog) && IsWindowVisible(*dialog)) << "Enter on the list ended the main dialog";

    // With no item selected Enter opens nothing and ends nothing.
    Select(-1);
    SetFocus(List());
    shown = OpenedBy([&] { PostMessageW(List(), WM_KEYDOWN, VK_RETURN, 0x001C0001); }, {}, 500);
    EXPECT_FALSE(shown.found);
    EXPECT_TRUE(IsWindow(*dialog) && IsWindowVisible(*dialog));
}

TEST_F(AboutDialog, ShowsTheTextsTheVersionsAndThePictureUnstretched)
{
    // A language file without "56" and "57": their labels show the keys.
    TemporaryFolder folder;
    fs::create_directories(folder.path / "Language");
    const std::wstring english = L"\xFEFF[Language]\r\n38=OK\r\n55=Maker\r\n78=About it\r\n80=Rights:\r\n81=All "
                                 L"rights kept.\r\n82=https://example.invalid/\r\n";
    std::ofstream(folder.path / "Language" / "1033.ini", std::ios::binary)
        .write(reinterpret_cast<const char*>(english.data()), english.size() * sizeof(wchar_t));
    system.programFolder = folder.path.wstring();
    Start(MakeCountedScenario(1));

    static int s_differences = -1, s_checked = -1;
    OwnedDialog shown = OpenedBy([&] { CButton(dialog->GetDlgItem(IDC_ABOUT)).Click(); },
                                 [](HWND box) {
                                     // The frame as painted, against bitmap 177 copied from its corner.
                                     HWND frame = GetDlgItem(box, IDC_VERSION_PICTURE);
                                     RECT client;
                                     GetClientRect(frame, &client);
                                     auto painted = PrintClient(frame, client.right, client.bottom, {1, 2, 3});
                                     CCanvas expected(client.right, client.bottom, {1, 2, 3});
                                     HBITMAP bitmap =
                                         LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE));
                                     HDC source = CreateCompatibleDC(expected);
                                     HGDIOBJ previous = SelectObject(source, bitmap);
                                     BitBlt(expected, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
                                     SelectObject(source, previous);
                                     DeleteDC(source);
                                     DeleteObject(bitmap);
                                     s_differences = 0;
                                     s_checked = client.right * client.bottom;
                                     for (int y = 0; y < client.bottom; ++y)
                                         for (int x = 0; x < client.right; ++x)
                                             s_differences += !(painted->At(x, y) == expected.At(x, y));
                                     PostMessageW(box, WM_COMMAND, IDOK, 0);
                                 });
    ASSERT_TRUE(shown.found) << "no About box";
    EXPECT_EQ(shown.caption, L"About it");
    EXPECT_EQ(shown.texts[IDC_VERSION_DRIVER_LABEL], L"56");
    EXPECT_EQ(shown.texts[IDC_VERSION_PANEL_LABEL], L"57");
    EXPECT_EQ(std::count(shown.allTexts.begin(), shown.allTexts.end(), std::wstring(kDriverVersionText)), 2)
        << "both version texts";
    EXPECT_EQ(shown.texts[IDC_VERSION_MAKER], L"Maker");
    EXPECT_EQ(shown.texts[IDC_VERSION_RIGHTS_LABEL], L"Rights:");
    EXPECT_EQ(shown.texts[IDC_VERSION_RIGHTS], L"All rights kept.");
    EXPECT_EQ(shown.texts[IDC_VERSION_LINK], L"https://example.invalid/");
    EXPECT_EQ(shown.texts[IDC_VERSION_OK], L"OK");
    EXPECT_FALSE(shown.visible[IDC_VERSION_UPDATE]) << "Update is never shown";
    EXPECT_GT(s_checked, 1000) << "the frame's size";
    EXPECT_EQ(s_differences, 0) << "the picture is bitmap 177 from its top-left corner, unstretched";
    EXPECT_TRUE(IsWindowEnabled(*dialog)) << "the main dialog is enabled again";
}

TEST_F(UpdateDialog, AboutsUpdateUpdatesTheFirstTouchScreenAndClosesByItself)
{
    TemporaryFolder folder;
    WriteDialogFirmware(folder.path, 20, 120); // 3 frames a record
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[0].logFile = (folder.path / "frame0.log").wstring();
    scenario.frames[0].answerDelayMs = 5; // slow enough to see the bar move
    scenario.frames[1].logFile = (folder.path / "frame1.log").wstring();
    Start(scenario);

    OwnedDialog about = OpenedBy([&] { CButton(dialog->GetDlgItem(IDC_ABOUT)).Click(); },
                                 [](HWND box) {
                                     SaveShot(box, L"about-dialog"); // with the program's language file
                                     PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_VERSION_UPDATE, BN_CLICKED), 0);
                                 });
    ASSERT_TRUE(about.found);
    ASSERT_NE(dialog->UpdateDialog(), nullptr);
    HWND update = *dialog->UpdateDialog();
    EXPECT_EQ(GetWindow(update, GW_OWNER), nullptr) << "no parent";
    EXPECT_TRUE(IsWindowVisible(update));

    std::vector<int> positions;
    std::vector<std::wstring> figures, messages;
    bool shot = false;
    PumpUntil(
        [&] {
            if (!IsWindow(update))
                return true;
            int position = int(SendDlgItemMessageW(update, IDC_UPDATE_PROGRESS, PBM_GETPOS, 0, 0));
            if (positions.empty() || positions.back() != position)
                positions.push_back(position);
            std::wstring figure = WindowText(GetDlgItem(update, IDC_UPDATE_PERCENT));
            if (figures.empty() || figures.back() != figure)
                figures.push_back(figure);
            if (!shot && position >= 40) {
                SaveShot(update, L"update-dialog");
                shot = true;
            }
            HWND message = GetDlgItem(update, IDC_UPDATE_MESSAGE);
            if (IsWindowVisible(message) && (messages.empty() || messages.back() != WindowText(message)))
                messages.push_back(WindowText(message));
            return false;
        },
        20000);
    EXPECT_FALSE(IsWindow(update)) << "the update dialog did not close by itself";
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GE(positions.size(), 3u) << "the bar advanced by steps";
    EXPECT_EQ(positions.back(), 100);
    EXPECT_EQ(figures.back(), L"100 %");
    EXPECT_EQ(messages, (std::vector<std::wstring>{kUpdatingText, kUpdateCompletedText}));
    EXPECT_TRUE(PumpUntil([&] { return dialog->UpdateDialog() == nullptr; }, 1000)) << "released";

    // Slot 0 got the whole update, slot 1 nothing of it.
    std::vector<std::string> sent = LogLines(folder.path / "frame0.log");
    ASSERT_GE(sent.size(), 62u);
    EXPECT_EQ(sent[sent.size() - 62].substr(0, 11), "31 52 62 05");
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const std::string& l) { return l.rfind("51 ", 0) == 0; }), 60);
    EXPECT_EQ(sent.back().substr(0, 11), "31 52 63 00");
    for (const std::string& line : LogLines(folder.path / "frame1.log"))
        EXPECT_NE(line.substr(0, 3), "51 ");
}

TEST_F(UpdateDialog, WithoutTheFileItSaysSoAndClosesAtOnce)
{
    TemporaryFolder folder; // no update\kolvane in it
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].logFile = (folder.path / "frame0.log").wstring();
    Start(scenario);
    const std::size_t before = LogLines(folder.path / "frame0.log").size();

    CUpdate update(UpdateServices{*devices, Poster()});
    ASSERT_TRUE(update.Create(nullptr));
    update.ShowWindow(SW_SHOWNORMAL);
    EXPECT_EQ(update.GetDlgItemText(IDC_UPDATE_MESSAGE), kUpdateReadFailedText);
    EXPECT_TRUE(IsWindowVisible(update.GetDlgItem(IDC_UPDATE_MESSAGE)));
    EXPECT_FALSE(IsWindowVisible(update.GetDlgItem(IDC_UPDATE_PROGRESS)));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(update); }, 500)) << "closes at once";
    EXPECT_EQ(LogLines(folder.path / "frame0.log").size(), before) << "nothing sent";
}

TEST_F(UpdateDialog, ClosingTheMainDialogDuringAnUpdateEndsItCleanly)
{
    TemporaryFolder folder;
    WriteDialogFirmware(folder.path, 200, 1000); // about 4300 frames: still running when the dialog goes
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].logFile = (folder.path / "frame0.log").wstring();
    Start(scenario);
    OpenedBy([&] { CButton(dialog->GetDlgItem(IDC_ABOUT)).Click(); },
             [](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDC_VERSION_UPDATE, BN_CLICKED), 0); });
    ASSERT_NE(dialog->UpdateDialog(), nullptr);
    HWND update = *dialog->UpdateDialog();
    ASSERT_TRUE(
        PumpUntil([&] { return SendDlgItemMessageW(update, IDC_UPDATE_PROGRESS, PBM_GETPOS, 0, 0) >= 2; }, 20000));

    dialog.reset(); // the main dialog, and the update it owns, go
    EXPECT_FALSE(IsWindow(update));
    PumpUntil([] { return false; }, 300);
    const std::size_t sent = LogLines(folder.path / "frame0.log").size();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(LogLines(folder.path / "frame0.log").size(), sent) << "frames went on after the dialog went";
    const DWORD start = GetTickCount();
    thread->Stop();
    EXPECT_LT(GetTickCount() - start, 2000u) << "the device thread's workers ended";
    thread.reset();
}
