// The real main dialog in this process, over virtual frames, the device
// thread and Sarnet.dll with Wine's registry.

#include "MainDialogRig.h"
#include "ProgramRunner.h"
#include "calibration/MouseHookMessages.h"
#include "common/LanguageText.h"
#include "device/RemovalNotice.h"
#include "libs/sarnet/Sarnet.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/Registry_win32.h"
#include "platform/SystemMouse_win32.h"
#include "win/Button.h"
#include "win/Dpi.h"
#include "win/GdiObjects.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

constexpr int kActionIds[] = {IDC_MAPPING, IDC_CALIBRATE, IDC_REGION_CALIBRATE, IDC_SETTINGS, IDC_DIAGNOSTICS};
constexpr int kOtherButtonIds[] = {IDC_ABOUT, IDC_HELP_MANUAL, IDC_EXIT};
// Mapping and Settings concern every touchscreen, not the selected one.
bool ForEveryTouchScreen(int id) { return id == IDC_MAPPING || id == IDC_SETTINGS; }

// Counts the mouse hook's messages the dialog takes in pre-translation.
class CCountingDlg : public COvamerDlg {
public:
    using COvamerDlg::COvamerDlg;
    int downs = 0, ups = 0, moves = 0;

protected:
    void OnMouseHookEvent(MouseHookEvent event) override
    {
        ++(event == MouseHookEvent::Down ? downs : event == MouseHookEvent::Up ? ups : moves);
    }
};

struct MainDialogFixture : ::testing::Test, CMainDialogRig<CCountingDlg> {
    bool Enabled(int id) const { return dialog->IsDlgItemEnabled(id); }
    // As a mapping that touched every touchscreen leaves them, for its save.
    void MarkBound()
    {
        for (unsigned slot = 0; slot < devices->Count(); ++slot)
            devices->WithRecord(slot, [](TouchScreenRecord& r) { r.boundInMapping = true; });
    }
    HCURSOR CursorAfterSetCursor() const
    {
        dialog->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(HWND(*dialog)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    }
};

} // namespace

using MainDialog = MainDialogFixture;

TEST_F(MainDialog, ListsTheTouchScreensWithTheFirstSelectedAndTheLanguageTexts)
{
    StoreParameters(1, 1, 1);
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[1].answerDelayMs = 1500; // a slow frame
    Start(scenario);
    ASSERT_TRUE(dialog->Create());
    dialog->ShowWindow(SW_SHOW);
    EXPECT_EQ(CursorAfterSetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << "the wait cursor while querying";
    for (int id : kActionIds)
        EXPECT_EQ(Enabled(id), id == IDC_SETTINGS) << "no number known yet: " << id;
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE, BN_CLICKED), 0); // a click queued before
    EXPECT_EQ(dialog->Calibration(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return dialog->Panel().ListIsReady(); }, 30000));

    CListView list = List();
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0), L"TouchScreen No.0 \n   Monitor     No.0");
    EXPECT_EQ(list.GetItemText(1), L"TouchScreen No.1 \n   Monitor     No.1");
    EXPECT_EQ(list.GetItemImage(0), 0);
    EXPECT_EQ(list.GetItemImage(1), 1) << "touchscreen 1 is calibrated";
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED), UINT(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u);
    for (int id : kActionIds)
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kOtherButtonIds)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_NE(CursorAfterSetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << "the default cursor once ready";

    EXPECT_EQ(dialog->GetWindowText(), GetLanguageText(L"79"));
    EXPECT_NE(GetLanguageText(L"79"), L"79") << "1033.ini is missing beside the program";
    EXPECT_EQ(dialog->GetDlgItemText(IDC_REGION_CALIBRATE), GetLanguageText(L"3"));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_REGION_WHEN_PART), GetLanguageText(L"101"));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_LIST_GROUP), GetLanguageText(L"9"));
    EXPECT_TRUE(SendMessageW(dialog->GetDlgItem(IDC_EXIT), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    EXPECT_EQ(GetWindowLongPtrW(dialog->GetDlgItem(IDC_EXIT), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW)
        << "the buttons are the owner-drawn ones";
}

TEST_F(MainDialog, TheNotesUnderTheListFitItsLineInEveryLanguage)
{
    Start(MakeCountedScenario(1));
    ASSERT_TRUE(dialog->Create());
    const HWND line = dialog->GetDlgItem(IDC_CALIBRATION_HINT);
    RECT client{};
    GetClientRect(line, &client);
    CWindowDC dc(line);
    CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(line, WM_GETFONT, 0, 0)));
    auto width = [&](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    for (unsigned language : {1033u, 2052u, 1041u}) {
        auto text = [&](const std::wstring& key, const std::wstring& field = L"", const std::wstring& value = L"") {
            std::wstring found = LookUpLanguageText(profile, system.ProgramFolder(), language, key);
            if (const auto at = found.find(field); !field.empty() && at != std::wstring::npos)
                found.replace(at, field.size(), value);
            return found;
        };
        // The re-fit's longest reason, with a two-digit monitor number.
        std::wstring reason;
        for (int key = 184; key <= 189; ++key)
            if (std::wstring r = text(std::to_wstring(key), L"%d", L"63"); width(r) > width(reason))
                reason = r;
        const std::pair<const char*, std::wstring> notes[] = {
            {"190", text(L"190", L"%d", L"63")}, {"191", text(L"191")}, {"192", text(L"192", L"%s", reason)}};
        for (const auto& [key, note] : notes)
            EXPECT_LE(width(note), client.right) << language << " " << key;
    }
}

TEST_F(MainDialog, ActionsFollowTheSelectedTouchScreensCalibrationState)
{
    StoreParameters(0, 0, 2);
    Start(MakeCountedScenario(2));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());
    for (int id : kActionIds)
        EXPECT_EQ(Enabled(id), ForEveryTouchScreen(id)) << id;
    for (int id : kOtherButtonIds)
        EXPECT_TRUE(Enabled(id)) << id;

    List().SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(dialog->Panel().Selected(), 1);
    for (int id : kActionIds)
        EXPECT_TRUE(Enabled(id)) << id;
    List().SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(dialog->Panel().Selected(), -1);
    EXPECT_FALSE(Enabled(IDC_CALIBRATE));
}

TEST_F(MainDialog, UnpluggingTheSelectedTouchScreenClearsTheSelection)
{
    Start(MakeCountedScenario(2));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());
    port->Unplug(0);
    ASSERT_TRUE(PumpUntil([&] { return List().GetItemCount() == 1; }, 5000));
    EXPECT_EQ(List().GetItemText(0), L"TouchScreen No.1 \n   Monitor     No.0");
    EXPECT_EQ(List().GetSelectedItem(), -1);
    EXPECT_EQ(dialog->Panel().Selected(), -1);
    for (int id : kActionIds)
        EXPECT_EQ(Enabled(id), ForEveryTouchScreen(id)) << id;
}

TEST_F(MainDialog, CalibrationAndMouseHookMessagesReachTheDialog)
{
    Start(MakeCountedScenario(1));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());
    dialog->PostMessage(WM_CALIBRATION_BEGIN);
    ASSERT_TRUE(PumpUntil([&] { return !dialog->IsWindowEnabled(); }, 2000));
    dialog->PostMessage(WM_CALIBRATION_END, 1, 0);
    ASSERT_TRUE(PumpUntil([&] { return dialog->IsWindowEnabled(); }, 2000));

    const MouseHookMessages& mouse = RegisterMouseHookMessages();
    EXPECT_EQ(mouse.down, RegisterWindowMessageW(L"WM_USER_MOUSEDOWN_MSG"));
    dialog->PostMessage(mouse.move);
    dialog->PostMessage(mouse.down);
    dialog->PostMessage(mouse.move);
    dialog->PostMessage(mouse.up);
    ASSERT_TRUE(PumpUntil([&] { return dialog->ups == 1; }, 2000));
    EXPECT_EQ(dialog->downs, 1);
    EXPECT_EQ(dialog->moves, 2);
}

TEST_F(MainDialog, EscapeDoesNothingAndEnterPressesTheFocusedButton)
{
    Start(MakeCountedScenario(2));
    // The dialog runs modally; the script runs in its loop, one step per tick.
    struct Script {
        MainDialogFixture* fixture;
        int step = 0;
        int ticks = 0;
        bool aliveAfterEscape = false;
        bool focusOnExit = false;
    };
    static Script* s_script = nullptr;
    Script script{this};
    s_script = &script;
    auto tick = [](HWND, UINT, UINT_PTR, DWORD) {
        Script& s = *s_script;
        COvamerDlg& dlg = *s.fixture->dialog;
        HWND exit = dlg.GetDlgItem(IDC_EXIT);
        if (++s.ticks > 500) { // 10 s: end it rather than hang
            dlg.EndDialog(-2);
            return;
        }
        switch (s.step) {
        case 0: // ready: Escape to the focused Exit button, and to the dialog
            if (!dlg.Panel().ListIsReady())
                return;
            SetFocus(exit);
            PostMessageW(exit, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(exit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0);
            ++s.step;
            return;
        case 1:
            s.aliveAfterEscape = IsWindow(dlg) && IsWindowVisible(dlg);
            s.focusOnExit = GetFocus() == exit;
            PostMessageW(exit, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(exit, WM_CHAR, '\r', 0);
            PostMessageW(exit, WM_KEYUP, VK_RETURN, 0xC0000001);
            ++s.step;
            return;
        default:
            return;
        }
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 20, tick);
    INT_PTR result = dialog->DoModal();
    KillTimer(nullptr, timer);
    s_script = nullptr;
    EXPECT_TRUE(script.aliveAfterEscape);
    EXPECT_TRUE(script.focusOnExit);
    EXPECT_EQ(result, IDOK) << "Enter on Exit ends the dialog as Exit does";
}

TEST_F(MainDialog, CloseBoxEndsTheModalDialog)
{
    Start(MakeCountedScenario(1));
    static COvamerDlg* s_dialog = nullptr;
    s_dialog = dialog.get();
    auto tick = [](HWND, UINT, UINT_PTR, DWORD) {
        if (s_dialog->Panel().ListIsReady())
            s_dialog->PostMessage(WM_CLOSE);
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 20, tick);
    UINT_PTR guard = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { s_dialog->EndDialog(-2); });
    EXPECT_EQ(dialog->DoModal(), IDCANCEL);
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    s_dialog = nullptr;
}

TEST_F(MainDialog, HelpReportsTheMissingManualWithTheLanguageTexts)
{
    Start(MakeCountedScenario(1));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());
    // The build prints UserManual.pdf into the runnable tree: it is moved
    // aside for the click and put back after.
    const std::wstring manual = system.ProgramFolder() + L"\\UserManual.pdf";
    const std::wstring aside = manual + L".aside";
    const bool moved = MoveFileExW(manual.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    struct PutBack {
        bool moved;
        const std::wstring &from, &to;
        ~PutBack()
        {
            if (moved)
                MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    } putBack{moved, aside, manual};
    OwnedDialog box = OpenedBy([&] { CButton(dialog->GetDlgItem(IDC_HELP_MANUAL)).Click(); });
    EXPECT_EQ(box.caption, GetLanguageText(kProgramTitleKey)) << "the program's title, not text 70 (\"Normal\")";
    EXPECT_EQ(box.texts[0xFFFF], GetLanguageText(L"73"));
}

TEST_F(MainDialog, MappingClosedSavesTheMappingAndAFailureIsShown)
{
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[0].touchScreenNumber = 40;
    scenario.frames[1].touchScreenNumber = 41;
    scenario.frames[1].ignoredCommands = {0x5631};
    Start(scenario);
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());

    dialog->PostMessage(WM_MAPPING_CLOSED, 0, 0); // no record: nothing to save
    PumpFor(300);
    EXPECT_EQ(port->FrameAt(0)->StoredNumber(), 40);
    MarkBound();

    OwnedDialog box =
        OpenedBy([&] { dialog->PostMessage(WM_MAPPING_CLOSED, 0, reinterpret_cast<LPARAM>(new MappingClosedRecord)); });
    EXPECT_EQ(port->FrameAt(0)->StoredNumber(), 0) << "slot 0's number was written into its frame";
    EXPECT_EQ(box.texts[0xFFFF], L"Save Match info failed!") << "the frame that does not answer";
    EXPECT_EQ(box.caption, L"pelno_windows_tests") << "the program's name";
}

TEST_F(MainDialog, SilentAndGarbledFramesFirstLeaveTheOthersListedWithTheirOwnNumbers)
{
    StoreParameters(5, 1, 1);
    StoreParameters(7, 2, 0);
    StoreParameters(0, 3, 1); // what a touchscreen taken for number 0 would show
    SimScenario scenario = MakeCountedScenario(4);
    scenario.frames[0].silent = true;
    scenario.frames[1].garbage = true;
    scenario.frames[2].touchScreenNumber = 5;
    scenario.frames[3].touchScreenNumber = 7;
    Start(scenario);
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(PumpUntil([&] { return dialog->Panel().ListIsReady(); }, 20000));

    CListView list = List();
    ASSERT_EQ(list.GetItemCount(), 4);
    const wchar_t* const texts[] = {
        L"TouchScreen No.0 \n   Monitor     No.0", L"TouchScreen No.0 \n   Monitor     No.0",
        L"TouchScreen No.5 \n   Monitor     No.1", L"TouchScreen No.7 \n   Monitor     No.2"};
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(list.GetItemText(item), texts[item]) << item;
        list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        for (int id : kActionIds)
            EXPECT_EQ(Enabled(id), item >= 2 || ForEveryTouchScreen(id)) << "item " << item << ", button " << id;
    }
}

TEST_F(MainDialog, ARefusedRemovalKeepsTheTouchScreenUsable)
{
    SimScenario scenario = MakeCountedScenario(2);
    scenario.frames[0].touchScreenNumber = 40;
    Start(scenario);
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());

    // The system asks to remove touchscreen 0, which closes it, then reports the removal refused.
    port->RefuseRemoval(0);
    PumpFor(200);
    devices->WithRecord(0, [](TouchScreenRecord& r) {
        EXPECT_EQ(r.openFlag, 1);
        EXPECT_NE(r.hid.handle, kInvalidDeviceHandle);
    });
    EXPECT_EQ(List().GetItemCount(), 2);

    // It answers exchanges again: the mapping save writes its number.
    MarkBound();
    dialog->PostMessage(WM_MAPPING_CLOSED, 0, reinterpret_cast<LPARAM>(new MappingClosedRecord));
    ASSERT_TRUE(PumpUntil([&] { return port->FrameAt(0)->StoredNumber() == 0; }, 10000));

    // And its unplugging is still noticed, under the handle it was opened with again.
    port->Unplug(0);
    ASSERT_TRUE(PumpUntil([&] { return List().GetItemCount() == 1; }, 5000));
}

TEST_F(MainDialog, TheRemovalNoticeGoesToThisProgramsWindowsOnly)
{
    // Another program's window, and two of ours on two threads.
    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", L"0"}};
    ProgramRun other;
    ASSERT_TRUE(Launch(options, other));
    HWND foreign = WaitForWindow(L"#32770", GetLanguageText(L"71"), 15000);
    ASSERT_NE(foreign, nullptr);
    HWND ours = CreateWindowExW(0, L"STATIC", L"ours", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND oursElsewhere = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread elsewhere([&] {
        oursElsewhere =
            CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        SetEvent(made);
        WaitForSingleObject(done, 20000);
        DestroyWindow(oursElsewhere);
    });
    WaitForSingleObject(made, 5000);

    const std::vector<HWND> own = OwnTopLevelWindows();
    auto listed = [&](HWND window) { return std::find(own.begin(), own.end(), window) != own.end(); };
    EXPECT_TRUE(listed(ours));
    EXPECT_TRUE(listed(oursElsewhere));
    EXPECT_FALSE(listed(foreign));

    // Unplugging a touchscreen posts the notice, with this program's key.
    Start(MakeCountedScenario(2));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());
    port->Unplug(1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, ours, WM_TOUCHSCREEN_REMOVED, WM_TOUCHSCREEN_REMOVED, PM_REMOVE));
    EXPECT_TRUE(IsOwnRemovalNotice(msg.wParam));
    EXPECT_EQ(msg.lParam, 1);

    SetEvent(done);
    elsewhere.join();
    CloseHandle(made);
    CloseHandle(done);
    DestroyWindow(ours);
    PostMessageW(foreign, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(other.Wait(10000), 0);
}

namespace {

// The thread's cursor display count (the pointer shows while it is 0 or more).
int CursorCount()
{
    const int count = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    return count;
}

// WM_MAPPING_END messages taken from this thread's queue.
int g_mappingEnds = 0;
LRESULT CALLBACK CountMappingEnds(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_MAPPING_END)
        ++g_mappingEnds;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST_F(MainDialog, MappingCoversTheMonitorDrawsItsTargetAndEndsOnceOnEsc)
{
    monitors.monitors = {{100, 50, 1124, 818}};
    Start(MakeCountedScenario(2));
    ASSERT_TRUE(dialog->Create());
    dialog->ShowWindow(SW_SHOW);
    ASSERT_TRUE(WaitReady());
    const int cursorBefore = CursorCount();
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountMappingEnds, nullptr, GetCurrentThreadId());

    SetFocus(dialog->GetDlgItem(IDC_MAPPING));
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MAPPING, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog->GetDlgItem(IDC_MAPPING)));
    CDeviceMatchDlg* mapping = dialog->MappingDialog();
    ASSERT_NE(mapping, nullptr);
    const HWND window = *mapping;
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right, 1124);
    EXPECT_EQ(rect.bottom, 818);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(dialog->IsWindowEnabled());
    EXPECT_LT(CursorCount(), 0);
    EXPECT_TRUE(PumpUntil([&] { return port->FrameAt(0)->Streaming() && port->FrameAt(1)->Streaming(); }));

    // The client's centre (512, 384), below the number: the cross on the background.
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 512, 384), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 512 + 45, 384), RGB(0, 0, 0)) << "the cross reaches 50 pixels";
    EXPECT_EQ(GetPixel(dc, 512 + 55, 384), RGB(0, 128, 192));
    // Along a row just below the cross: five rings, each left visible
    // by the larger discs drawn after it.
    int rings = 0;
    bool onRing = false;
    for (int d = 3; d <= 60; ++d) {
        const bool black = GetPixel(dc, 512 + d, 384 + 3) == RGB(0, 0, 0);
        rings += black && !onRing;
        onRing = black;
    }
    EXPECT_EQ(rings, 5);
    ReleaseDC(window, dc);

    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(200);
    EXPECT_TRUE(IsWindow(window)) << "Enter is swallowed";

    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !dialog->MappingDialog() && dialog->IsWindowEnabled(); }));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CursorCount(), cursorBefore);
    EXPECT_TRUE(PumpUntil([&] { return !port->FrameAt(0)->Streaming() && !port->FrameAt(1)->Streaming(); }));
    PumpFor(300);
    EXPECT_EQ(g_mappingEnds, 1);
    EXPECT_EQ(GetFocus(), dialog->GetDlgItem(IDC_TOUCHSCREEN_LIST))
        << "the keyboard is back (Mapping is off while saving)";
    UnhookWindowsHookEx(hook);
}

TEST_F(MainDialog, SettingsRunsTheSettingsDialogModallyOverIt)
{
    CWin32Registry registry;
    CWin32SystemMouse mouse;
    PlatformServices services = GetPlatform();
    services.registry = &registry;
    services.mouse = &mouse;
    SetPlatform(services);
    Start(MakeCountedScenario(1));
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(WaitReady());

    struct Seen {
        HWND main = nullptr;
        HWND settings = nullptr;
        bool mainDisabled = false;
    };
    static Seen s_seen;
    s_seen = {*dialog};
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND settings = FindWindowW(L"#32770", GetLanguageText(L"77").c_str());
        if (!settings || GetWindow(settings, GW_OWNER) != s_seen.main || s_seen.settings)
            return;
        s_seen.settings = settings;
        s_seen.mainDisabled = !IsWindowEnabled(s_seen.main);
        PostMessageW(settings, WM_COMMAND, IDCANCEL, 0);
    });
    // The click returns once the modal dialog has ended (at most 10 s: the timer cancels it).
    UINT_PTR guard = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        if (HWND settings = FindWindowW(L"#32770", GetLanguageText(L"77").c_str()))
            PostMessageW(settings, WM_COMMAND, IDCANCEL, 0);
    });
    CButton(dialog->GetDlgItem(IDC_SETTINGS)).Click();
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    EXPECT_NE(s_seen.settings, nullptr) << "Settings showed its dialog";
    EXPECT_TRUE(s_seen.mainDisabled) << "the main dialog waits while Settings is open";
    EXPECT_FALSE(IsWindow(s_seen.settings));
    EXPECT_TRUE(dialog->IsWindowEnabled());
}

// The list at the DPI the test runs at (PELNO_EXPECTED_DPI, 96 when unset;
// tests/windows/with-dpi.sh gives a prefix of another DPI): the icons drawn
// for it, and every label, even of the widest numbers, whole on its two lines.
using MainDialogScaled = MainDialogFixture;

TEST_F(MainDialogScaled, IconsFollowTheDpiAndEveryLabelIsWhole)
{
    const char* expected = std::getenv("PELNO_EXPECTED_DPI");
    const unsigned dpi = expected ? static_cast<unsigned>(std::atoi(expected)) : 96;
    StoreParameters(12, 10, 1);
    StoreParameters(254, 99, 0);
    SimScenario scenario = MakeCountedScenario(3);
    scenario.frames[0].touchScreenNumber = 12;
    scenario.frames[1].touchScreenNumber = 254;
    Start(scenario);
    ASSERT_TRUE(Open());
    CListView list = List();
    ASSERT_EQ(WindowDpi(list), dpi) << "the prefix's LogPixels";
    int iconWidth = 0, iconHeight = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL)), &iconWidth,
                          &iconHeight);
    EXPECT_EQ(iconWidth, ScaleForDpi(72, dpi));
    EXPECT_EQ(iconHeight, ScaleForDpi(58, dpi));

    CWindowDC dc(list);
    CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(list.SendMessage(WM_GETFONT)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1), L"TouchScreen No.254 \n   Monitor     No.99");
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const std::wstring text = list.GetItemText(i);
        RECT label{LVIR_LABEL, 0, 0, 0};
        ASSERT_TRUE(list.SendMessage(LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&label)));
        RECT needed{0, 0, label.right - label.left, 0};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX | DT_EDITCONTROL);
        EXPECT_EQ(needed.bottom, 2 * metrics.tmHeight) << "two lines: " << i;
        EXPECT_LE(needed.right, label.right - label.left) << i;
        EXPECT_LE(needed.bottom, label.bottom - label.top) << i;
    }
}
