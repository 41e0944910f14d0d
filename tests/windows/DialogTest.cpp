// The dialog base: message tables and their chaining, reflection to the
// controls, the modal loop and the routing of messages to modeless dialogs.

#include "win/Dialog.h"
#include "DialogPump.h"
#include "res/resource.h"
#include "win/Button.h"
#include "win/Dpi.h"
#include "win/PostedRecords.h"
#include "win/Reflection.h"
#include "win/SubclassedWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

constexpr UINT WM_PROBE_PING = WM_APP + 1;
constexpr UINT WM_PROBE_THREAD = WM_APP + 2;
constexpr UINT WM_PROBE_RECORD = WM_APP + 3;
constexpr UINT WM_PROBE_SWALLOWED = WM_APP + 4;
constexpr UINT WM_PROBE_UNCLAIMED = WM_APP + 5;
constexpr UINT WM_PROBE_ENDED = WM_APP + 6;

// A posted record that counts its live instances.
struct CountedRecord {
    static inline int live = 0;
    int value = 0;
    explicit CountedRecord(int v = 0) : value(v) { ++live; }
    ~CountedRecord() { --live; }
};
const PostedRecordKind kProbeRecords[] = {
    PostedRecord<CountedRecord>(WM_PROBE_RECORD),
    PostedRecord<CountedRecord>(WM_PROBE_UNCLAIMED),
};

UINT ProbeRegisteredMessage() { return RegisterWindowMessageW(L"PelnoDialogTestRegistered"); }

// A dialog over the main template that counts what its table receives.
class CProbeDialog : public CDialogImpl<CProbeDialog> {
public:
    CProbeDialog() : CDialogImpl(IDD_MAIN) {}

    bool initialised = false;
    int pings = 0;
    int threadPings = 0;
    int helpClicks = 0;
    int notifications = 0;
    int swallowed = 0;
    int recordValue = 0;
    int registeredPings = 0;
    int textRequests = 0;
    bool leaveTextToDefault = false;
    unsigned dpiChangedTo = 0;
    bool keepsRect = false;

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override
    {
        initialised = true;
        return true;
    }
    void OnDpiChanged(unsigned dpi) override { dpiChangedTo = dpi; }
    bool KeepsRectOnDpiChange() const override { return keepsRect; }
    bool PreTranslateMessage(MSG& msg) override
    {
        if (msg.message != WM_PROBE_SWALLOWED)
            return false;
        ++swallowed;
        return true;
    }

    LRESULT OnPing(WPARAM, LPARAM lParam)
    {
        ++pings;
        return 40 + lParam;
    }

private:
    static const MessageEntry kEntries[];
    void OnThreadPing() { ++threadPings; }
    void OnCountedRecord(std::unique_ptr<CountedRecord> record) { recordValue = record->value; }
    void OnRegisteredPing() { ++registeredPings; }
    MessageResult OnSetText()
    {
        ++textRequests;
        return leaveTextToDefault ? MessageResult::Default() : MessageResult(TRUE);
    }
    void OnHelp() { ++helpClicks; }
    LRESULT OnListClick(NMHDR& header)
    {
        ++notifications;
        return static_cast<LRESULT>(header.idFrom);
    }
};

const MessageEntry CProbeDialog::kEntries[] = {
    OnMessage<&CProbeDialog::OnPing>(WM_PROBE_PING),
    OnThreadMessage<&CProbeDialog::OnThreadPing>(WM_PROBE_THREAD),
    OnRecord<&CProbeDialog::OnCountedRecord>(WM_PROBE_RECORD),
    OnRegistered<&CProbeDialog::OnRegisteredPing>(&ProbeRegisteredMessage),
    OnMessage<&CProbeDialog::OnSetText>(WM_SETTEXT),
    OnCommand<&CProbeDialog::OnHelp>(IDC_HELP_MANUAL, BN_CLICKED),
    OnNotify<&CProbeDialog::OnListClick>(IDC_TOUCHSCREEN_LIST, NM_CLICK),
};
const MessageTable CProbeDialog::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

// Overrides one entry; the others come from the base class's table.
class CDerivedProbe : public CDialogImpl<CDerivedProbe, CProbeDialog> {
public:
    static const MessageTable kMessageTable;

private:
    static const MessageEntry kEntries[];
    LRESULT OnOwnPing() { return 7; }
};

const MessageEntry CDerivedProbe::kEntries[] = {
    OnMessage<&CDerivedProbe::OnOwnPing>(WM_PROBE_PING),
};
const MessageTable CDerivedProbe::kMessageTable = MakeMessageTable(&CProbeDialog::kMessageTable, kEntries);

// A control that answers the messages its dialog reflects to it.
class CReflectingControl : public CSubclassedWindow {
public:
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    int draws = 0;
    int commands = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kReflectBase + WM_CTLCOLORBTN)
            return reinterpret_cast<LRESULT>(brush);
        if (message == kReflectBase + WM_DRAWITEM) {
            ++draws;
            return TRUE;
        }
        if (message == kReflectBase + WM_COMMAND) {
            ++commands;
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }
};

// Runs steps on the dialog's thread while a modal loop runs, one per timer
// tick; the last one must end the dialog. After 200 ticks the dialog is
// ended with -2, so that a test fails instead of hanging.
class CModalScript {
public:
    using Step = std::function<void()>;
    CModalScript(CDialog& dialog, std::vector<Step> steps) : m_dialog(dialog), m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 20, &CModalScript::Tick);
    }
    ~CModalScript()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CModalScript* self = s_current;
        if (!self)
            return;
        if (self->m_next < self->m_steps.size())
            self->m_steps[self->m_next++]();
        else if (++self->m_idleTicks > 200)
            self->m_dialog.EndDialog(-2);
    }
    static inline CModalScript* s_current = nullptr;
    CDialog& m_dialog;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_idleTicks = 0;
    UINT_PTR m_timer = 0;
};

struct DialogFixture : ::testing::Test {
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

} // namespace

using Dialog = DialogFixture;

TEST_F(Dialog, TableDispatchesMessagesCommandsAndNotifications)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.initialised);

    EXPECT_EQ(dialog.SendMessage(WM_PROBE_PING, 0, 2), 42) << "the handler's result is the answer";
    dialog.SendMessage(ProbeRegisteredMessage());
    EXPECT_EQ(dialog.registeredPings, 1) << "a registered message reaches its entry";

    CButton(dialog.GetDlgItem(IDC_HELP_MANUAL)).Click();
    EXPECT_EQ(dialog.helpClicks, 1);
    // Another code from the same control is not the entry's.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HELP_MANUAL, BN_SETFOCUS),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDC_HELP_MANUAL)));
    EXPECT_EQ(dialog.helpClicks, 1);

    NMHDR header{dialog.GetDlgItem(IDC_TOUCHSCREEN_LIST), IDC_TOUCHSCREEN_LIST, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(dialog.SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)), IDC_TOUCHSCREEN_LIST);
    header.idFrom = IDC_PICTURE;
    EXPECT_EQ(dialog.SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(dialog.notifications, 1);

    // IDCANCEL from the base class's table ends a modeless dialog at once.
    HWND window = dialog;
    dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(Dialog, DerivedTableWinsAndChainsToTheBaseTable)
{
    CDerivedProbe dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.SendMessage(WM_PROBE_PING, 0, 2), 7);
    EXPECT_EQ(dialog.pings, 0);
    CButton(dialog.GetDlgItem(IDC_HELP_MANUAL)).Click();
    EXPECT_EQ(dialog.helpClicks, 1);
}

TEST_F(Dialog, ControlsAnswerTheMessagesReflectedToThem)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CReflectingControl help;
    ASSERT_TRUE(help.SubclassDlgItem(IDC_HELP_MANUAL, dialog));
    EXPECT_FALSE(CReflectingControl().SubclassDlgItem(IDC_HELP_MANUAL, dialog)) << "subclassed twice";

    HDC dc = GetDC(dialog);
    EXPECT_EQ(dialog.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(HWND(help))),
              reinterpret_cast<LRESULT>(help.brush));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_HELP_MANUAL;
    item.hwndItem = help;
    item.hDC = dc;
    EXPECT_EQ(dialog.SendMessage(WM_DRAWITEM, IDC_HELP_MANUAL, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(help.draws, 1);
    ReleaseDC(dialog, dc);

    // A command goes to its control and to the dialog's table.
    CButton(help).Click();
    EXPECT_EQ(help.commands, 1);
    EXPECT_EQ(dialog.helpClicks, 1);
}

TEST_F(Dialog, ModalLoopDisablesTheOwnerRoutesPostedMessagesAndReturnsTheResult)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    CProbeDialog dialog;
    bool ownerDisabled = false;
    CModalScript script(dialog, {
                                    [&] {
                                        ownerDisabled = !IsWindowEnabled(owner);
                                        PostThreadMessageW(GetCurrentThreadId(), WM_PROBE_THREAD, 0, 0);
                                        dialog.PostMessage(WM_PROBE_SWALLOWED);
                                        dialog.PostMessage(WM_PROBE_PING);
                                    },
                                    [&] { dialog.EndDialog(77); },
                                });
    EXPECT_EQ(dialog.DoModal(owner), 77);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.threadPings, 1) << "a thread message reaches the thread-message entry";
    EXPECT_EQ(dialog.swallowed, 1);
    EXPECT_EQ(dialog.pings, 1) << "a posted message not taken in pre-translation is dispatched";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the loop destroys the dialog";
    DestroyWindow(owner);
}

TEST_F(Dialog, QuitEndsTheModalLoopAndIsPostedAgain)
{
    CProbeDialog dialog;
    CModalScript script(dialog, {[] { PostQuitMessage(3); }});
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// Moved to a monitor of twice the scale and back. Where the system does not
// re-lay the dialog itself (Wine, Windows 8.1) the base takes the suggested
// rectangle and scales the controls and their font; a window that places
// itself keeps its rectangle.
TEST_F(Dialog, DpiChangeReLaysTheDialogForTheNewDpi)
{
    auto edges = [](const RECT& r) { return std::array{r.left, r.top, r.right, r.bottom}; };
    auto placeOf = [](HWND control, HWND dialog) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto fontHeight = [](HWND control) {
        LOGFONTW look{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof look, &look);
        return look.lfHeight;
    };
    for (bool keepsRect : {false, true}) {
        CProbeDialog dialog;
        dialog.keepsRect = keepsRect;
        ASSERT_TRUE(dialog.Create());
        const unsigned dpi = WindowDpi(dialog);
        HWND help = dialog.GetDlgItem(IDC_HELP_MANUAL);
        const RECT control = placeOf(help, dialog);
        const LONG height = fontHeight(help);
        const RECT place = dialog.GetWindowRect();
        RECT suggested{place.left + 10, place.top + 20, place.left + 10 + 2 * (place.right - place.left),
                       place.top + 20 + 2 * (place.bottom - place.top)};

        dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(edges(dialog.GetWindowRect()), edges(keepsRect ? place : suggested)) << keepsRect;
        EXPECT_EQ(edges(placeOf(help, dialog)),
                  (std::array{2 * control.left, 2 * control.top, 2 * control.right, 2 * control.bottom}));
        EXPECT_EQ(fontHeight(help), 2 * height);
        EXPECT_EQ(dialog.dpiChangedTo, 2 * dpi);

        RECT back = place;
        dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&back));
        EXPECT_EQ(edges(placeOf(help, dialog)), edges(control));
        EXPECT_EQ(fontHeight(help), height);
        EXPECT_EQ(dialog.dpiChangedTo, dpi);
    }
}

TEST_F(Dialog, ModelessDialogGetsItsDialogKeys)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    SetFocus(dialog.GetDlgItem(IDC_SETTINGS));
    PostMessageW(dialog.GetDlgItem(IDC_SETTINGS), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == dialog.GetDlgItem(IDC_DIAGNOSTICS); }, 2000))
        << "Tab moves to the next control";
}

TEST_F(Dialog, PostedRecordsAreOwnedByTheirEntryAndFreedWhenNobodyClaimsThem)
{
    SetPostedRecordKinds(kProbeRecords);
    {
        CProbeDialog dialog;
        ASSERT_TRUE(dialog.Create());
        dialog.PostMessage(WM_PROBE_RECORD, 0, reinterpret_cast<LPARAM>(new CountedRecord(7)));
        dialog.PostMessage(WM_PROBE_UNCLAIMED, 0, reinterpret_cast<LPARAM>(new CountedRecord));
        EXPECT_TRUE(PumpUntil([] { return CountedRecord::live == 0; }, 2000)) << "claimed or not, both are freed";
        EXPECT_EQ(dialog.recordValue, 7) << "the entry's handler got the record";

        // Records still queued when the window goes are freed with it.
        dialog.PostMessage(WM_PROBE_RECORD, 0, reinterpret_cast<LPARAM>(new CountedRecord(8)));
        dialog.PostMessage(WM_PROBE_UNCLAIMED, 0, reinterpret_cast<LPARAM>(new CountedRecord));
        dialog.EndDialog(IDOK);
        EXPECT_EQ(CountedRecord::live, 0);
        EXPECT_EQ(dialog.recordValue, 7);

        // And so are those queued for a window that its object takes along.
        CProbeDialog second;
        ASSERT_TRUE(second.Create());
        second.PostMessage(WM_PROBE_RECORD, 0, reinterpret_cast<LPARAM>(new CountedRecord(9)));
    }
    EXPECT_EQ(CountedRecord::live, 0);
    SetPostedRecordKinds({});
}

TEST_F(Dialog, DefaultResultLeavesTheMessageToTheDialogsDefaultHandling)
{
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetWindowText(L"taken");
    EXPECT_EQ(dialog.textRequests, 1);
    EXPECT_NE(dialog.GetWindowText(), L"taken") << "a handled WM_SETTEXT skips the default";
    dialog.leaveTextToDefault = true;
    dialog.SetWindowText(L"left");
    EXPECT_EQ(dialog.textRequests, 2);
    EXPECT_EQ(dialog.GetWindowText(), L"left");
}

namespace {

// A modeless dialog that tells its owner when it ends, as the calibration
// and mapping dialogs do.
class CChildDialog : public CDialogImpl<CChildDialog> {
public:
    static inline int live = 0;
    CChildDialog() : CDialogImpl(IDD_MAIN) { ++live; }
    ~CChildDialog() override { --live; }
    static inline int destroyHandled = 0; // WM_DESTROY handled
    static const MessageTable kMessageTable;

private:
    static const MessageEntry kEntries[];
    void OnOK() override
    {
        ::PostMessageW(GetParent(), WM_PROBE_ENDED, 0, 0);
        EndDialog(IDOK);
    }
    void OnDestroy() { ++destroyHandled; }
};
const MessageEntry CChildDialog::kEntries[] = {
    OnMessage<&CChildDialog::OnDestroy>(WM_DESTROY),
};
const MessageTable CChildDialog::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

// Owns its modeless child through a unique_ptr until the child's end message.
class COwnerDialog : public CDialogImpl<COwnerDialog> {
public:
    COwnerDialog() : CDialogImpl(IDD_MAIN) {}
    std::unique_ptr<CChildDialog> child;
    static const MessageTable kMessageTable;

private:
    static const MessageEntry kEntries[];
    void OnChildEnded() { child.reset(); }
};
const MessageEntry COwnerDialog::kEntries[] = {
    OnMessage<&COwnerDialog::OnChildEnded>(WM_PROBE_ENDED),
};
const MessageTable COwnerDialog::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

} // namespace

TEST_F(Dialog, ModelessDialogIsDestroyedByItsOwnerOnItsEndMessage)
{
    COwnerDialog owner;
    ASSERT_TRUE(owner.Create());
    owner.child = std::make_unique<CChildDialog>();
    ASSERT_TRUE(owner.child->Create(owner));
    HWND childWindow = *owner.child;

    CButton(owner.child->GetDlgItem(IDC_EXIT)).Click(); // IDOK
    EXPECT_TRUE(PumpUntil([&] { return !owner.child; }, 2000));
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(CChildDialog::live, 0);
    EXPECT_EQ(CChildDialog::destroyHandled, 1) << "a dialog ended with EndDialog sees its WM_DESTROY";

    // An owner that lets its child go while the window is open: the base
    // destroys the window, and no handler of the destroyed object runs.
    owner.child = std::make_unique<CChildDialog>();
    ASSERT_TRUE(owner.child->Create(owner));
    childWindow = *owner.child;
    owner.child.reset();
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(CChildDialog::live, 0);
    EXPECT_EQ(CChildDialog::destroyHandled, 1) << "no handler runs on a destroyed object";
}
