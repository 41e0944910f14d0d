// The real Settings dialog in this process over Sarnet.dll, Wine's registry
// and the Win32 mouse settings; the driver record is set and read back with
// Wine's reg.exe, as another program sees it.

#include "DialogPump.h"
#include "ParameterTestSupport.h"
#include "ProgramRunner.h"
#include "common/LanguageText.h"
#include "config/Basicprop_win32.h"
#include "config/ParameterPaths.h"
#include "config/SystemMouseSettings.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Platform.h"
#include "platform/Profile_win32.h"
#include "platform/Registry_win32.h"
#include "platform/SystemMouse_win32.h"
#include "res/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

const std::wstring kCursorsKey = L"HKCU\\Control Panel\\Cursors";
const std::wstring kMouseKey = L"HKCU\\Control Panel\\Mouse";

// reg query's line for one value: its type and data, or empty.
std::string RegQuery(const std::wstring& key, const wchar_t* name)
{
    CapturedRun run = RunReg(L"query \"" + key + L"\" /v " + name);
    std::size_t at = run.output.find("REG_");
    if (run.exitCode != 0 || at == std::string::npos)
        return {};
    std::size_t end = run.output.find_first_of("\r\n", at);
    return run.output.substr(at, end - at);
}

// The driver record through reg import, as the driver's installation leaves it.
void ImportDriverRecord(const std::string& values)
{
    const std::wstring file = MakeTempFolder(L"settings") + L"\\driver.reg";
    WriteFileBytes(file, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + Narrow(kDriverParametersPath) + "]\r\n" + values);
    ASSERT_EQ(RunReg(L"import \"" + file + L"\"").exitCode, 0);
}

// The prefix's values of a user key, put back when the test is done (the
// prefix is also the one tools/run uses).
class CKeptUserValues {
public:
    CKeptUserValues(const wchar_t* key, std::vector<std::wstring> names) : m_key(key), m_names(std::move(names))
    {
        for (const std::wstring& name : m_names)
            m_values.push_back(Read(name));
    }
    ~CKeptUserValues()
    {
        for (std::size_t i = 0; i < m_names.size(); ++i)
            if (m_values[i])
                RegSetKeyValueW(HKEY_CURRENT_USER, m_key, m_names[i].c_str(), m_values[i]->first,
                                m_values[i]->second.data(), static_cast<DWORD>(m_values[i]->second.size()));
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, m_key, m_names[i].c_str());
    }

private:
    std::optional<std::pair<DWORD, std::vector<BYTE>>> Read(const std::wstring& name) const
    {
        DWORD type = 0, size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, m_key, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::vector<BYTE> data(size);
        RegGetValueW(HKEY_CURRENT_USER, m_key, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
        data.resize(size);
        return std::pair{type, data};
    }
    const wchar_t* m_key;
    std::vector<std::wstring> m_names;
    std::vector<std::optional<std::pair<DWORD, std::vector<BYTE>>>> m_values;
};

struct SettingsDialogFixture : ::testing::Test {
    CKeptUserValues cursors{L"Control Panel\\Cursors", {kCursorNames.begin(), kCursorNames.end()}};
    CKeptUserValues mouseValues{L"Control Panel\\Mouse",
                                {L"DoubleClickWidth", L"DoubleClickHeight", L"DoubleClickSpeed"}};
    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Registry registry;
    CWin32SystemMouse mouse;
    CSarnetLibrary configuration;
    std::unique_ptr<CBasicprop> dialog;

    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
        InitCommonControlsEx(&controls);
        PlatformServices services;
        services.profile = &profile;
        services.system = &system;
        services.registry = &registry;
        services.mouse = &mouse;
        SetPlatform(services);
        DeleteServiceKey();
        RegDeleteTreeW(HKEY_CURRENT_USER, kKeptCursorsPath);
    }
    void TearDown() override
    {
        dialog.reset();
        DeleteServiceKey();
        SetPlatform(PlatformServices{});
    }
    void Open()
    {
        dialog = std::make_unique<CBasicprop>(SettingsPanelServices{configuration, mouse, registry});
        ASSERT_TRUE(dialog->Create());
        dialog->ShowWindow(SW_SHOW);
        PumpFor(50);
    }
    bool Enabled(int id) const { return dialog->IsDlgItemEnabled(id); }
    bool Checked(int id) const { return dialog->IsDlgButtonChecked(id); }
    LRESULT Slider(int id, UINT message) const { return SendMessageW(dialog->GetDlgItem(id), message, 0, 0); }
    void Click(int id)
    {
        SendMessageW(dialog->GetDlgItem(id), BM_CLICK, 0, 0);
        PumpFor(20);
    }
};

} // namespace

using SettingsDialog = SettingsDialogFixture;

TEST_F(SettingsDialog, ShowsTheStoredRecordAndApplyStoresDriverMouseAndCursorValues)
{
    ImportDriverRecord("\"Mode\"=dword:00000001\r\n\"EnableTouch\"=dword:00000001\r\n"
                       "\"EnableRightClick\"=dword:00000001\r\n\"RightClickTime\"=dword:000001f4\r\n"
                       "\"RightClickArea\"=dword:00000008\r\n\"EnableDelayTouch\"=dword:00000000\r\n"
                       "\"DelayTouchTime\"=dword:00000032\r\n\"EnableDragDelay\"=dword:00000001\r\n"
                       "\"DragDelayTime\"=dword:0000012c\r\n\"HideCursor\"=dword:00000000\r\n"
                       "\"EnableBeep\"=dword:00000001\r\n\"BeepType\"=dword:00000000\r\n"
                       "\"BeepMode\"=dword:00000002\r\n\"BeepFrequency\"=dword:00000bb8\r\n"
                       "\"BeepDuration\"=dword:00000028\r\n\"EnableDoubleClick\"=dword:00000001\r\n"
                       "\"DoubleClickTime\"=dword:00000258\r\n\"DoubleClickArea\"=dword:00000010\r\n");
    ASSERT_EQ(RunReg(L"add \"" + kCursorsKey + L"\" /v Arrow /t REG_EXPAND_SZ /d C:\\my\\arrow.cur /f").exitCode, 0);
    Open();

    EXPECT_EQ(dialog->GetWindowText(), GetLanguageText(L"77"));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_BEEP_GROUP), GetLanguageText(L"32"));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_APPLY), GetLanguageText(L"40"));
    EXPECT_EQ(GetWindowLongPtrW(dialog->GetDlgItem(IDC_APPLY), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    // Click on release: right click and drag delay greyed, the beep mode forced.
    const std::pair<int, bool> checks[] = {
        {IDC_CLICK_ON_RELEASE, true},   {IDC_CLICK_ON_TOUCH, false},   {IDC_ENABLE_TOUCH, true},
        {IDC_ENABLE_RIGHT_CLICK, true}, {IDC_ENABLE_DRAG_DELAY, true}, {IDC_ENABLE_DELAY_TOUCH, false},
        {IDC_HIDE_CURSOR, false},       {IDC_ENABLE_BEEP, true},       {IDC_BEEP_ON_RELEASE, true},
        {IDC_BEEP_BOTH, false},         {IDC_PC_SPEAKER, true},        {IDC_SOUND_CARD, false}};
    for (auto [id, checked] : checks)
        EXPECT_EQ(Checked(id), checked) << id;
    const std::pair<int, bool> enabled[] = {{IDC_ENABLE_RIGHT_CLICK, false}, {IDC_RIGHT_CLICK_TIME, false},
                                            {IDC_ENABLE_DRAG_DELAY, false},  {IDC_DRAG_DELAY_GROUP, false},
                                            {IDC_DELAY_TOUCH_TIME, false},   {IDC_DOUBLE_CLICK_AREA, true},
                                            {IDC_BEEP_ON_TOUCH, false},      {IDC_BEEP_ON_RELEASE, true},
                                            {IDC_BEEP_FREQUENCY, true},      {IDC_APPLY, false}};
    for (auto [id, on] : enabled)
        EXPECT_EQ(Enabled(id), on) << id;
    struct SliderSeen {
        int id, position, minimum, maximum, line, page;
        const wchar_t* label;
    };
    const SliderSeen sliders[] = {{IDC_DOUBLE_CLICK_TIME, 600, 200, 1000, 100, 100, L"600"},
                                  {IDC_DOUBLE_CLICK_AREA, 16, 4, 32, 4, 4, L"16"},
                                  {IDC_RIGHT_CLICK_TIME, 1000, 1000, 8000, 1000, 1000, L"1000"},
                                  {IDC_RIGHT_CLICK_AREA, 8, 4, 32, 4, 4, L"8"},
                                  {IDC_DELAY_TOUCH_TIME, 50, 25, 250, 25, 25, L"50"},
                                  {IDC_DRAG_DELAY_TIME, 300, 100, 1000, 100, 100, L"300"},
                                  {IDC_BEEP_FREQUENCY, 3000, 50, 7000, 100, 50, L"3000"},
                                  {IDC_BEEP_DURATION, 40, 10, 100, 10, 10, L"40"}};
    for (const SliderSeen& s : sliders) {
        EXPECT_EQ(Slider(s.id, TBM_GETPOS), s.position) << s.id;
        EXPECT_EQ(Slider(s.id, TBM_GETRANGEMIN), s.minimum) << s.id;
        EXPECT_EQ(Slider(s.id, TBM_GETRANGEMAX), s.maximum) << s.id;
        EXPECT_EQ(Slider(s.id, TBM_GETLINESIZE), s.line) << s.id;
        EXPECT_EQ(Slider(s.id, TBM_GETPAGESIZE), s.page) << s.id;
    }
    for (const SettingsOptionControl& s : kSettingsOptionControls)
        if (s.valueLabel) {
            EXPECT_EQ(dialog->GetDlgItemText(s.valueLabel), std::to_wstring(Slider(s.id, TBM_GETPOS))) << s.id;
        }

    Click(IDC_MOUSE_EMULATION);
    EXPECT_TRUE(Enabled(IDC_ENABLE_RIGHT_CLICK));
    EXPECT_TRUE(Enabled(IDC_RIGHT_CLICK_AREA));
    EXPECT_TRUE(Enabled(IDC_BEEP_BOTH));
    Click(IDC_BEEP_BOTH);
    Click(IDC_SOUND_CARD);
    EXPECT_FALSE(Enabled(IDC_BEEP_FREQUENCY));
    Click(IDC_HIDE_CURSOR);
    ASSERT_TRUE(Enabled(IDC_APPLY));
    Click(IDC_APPLY);
    EXPECT_FALSE(Enabled(IDC_APPLY));
    EXPECT_EQ(GetFocus(), dialog->GetDlgItem(IDOK));
    EXPECT_TRUE(dialog->IsWindow());

    const std::pair<const wchar_t*, const char*> stored[] = {{L"Mode", "0x2"},
                                                             {L"HideCursor", "0x1"},
                                                             {L"BeepType", "0x1"},
                                                             {L"BeepMode", "0x2"},
                                                             {L"BeepFrequency", "0xbb8"},
                                                             {L"RightClickTime", "0x3e8"},
                                                             {L"EnableRightClick", "0x1"},
                                                             {L"EnableDelayTouch", "0x0"},
                                                             {L"DoubleClickArea", "0x10"}};
    for (auto [name, value] : stored)
        EXPECT_EQ(RegQueryDword(kDriverParametersPath, name), value) << Narrow(name);
    EXPECT_EQ(RegQuery(kMouseKey, L"DoubleClickWidth"), "REG_SZ    16");
    EXPECT_EQ(RegQuery(kMouseKey, L"DoubleClickHeight"), "REG_SZ    16");
    EXPECT_EQ(RegQuery(kMouseKey, L"DoubleClickSpeed"), "REG_SZ    600");
    EXPECT_EQ(GetDoubleClickTime(), 600u);
    for (const wchar_t* name : kCursorNames)
        EXPECT_EQ(RegQuery(kCursorsKey, name), "REG_EXPAND_SZ    %SYSTEMROOT%\\Cursors\\null.cur") << Narrow(name);

    // The invisible cursor in another spelling, as an earlier version left it.
    ASSERT_EQ(RunReg(L"add \"" + kCursorsKey + L"\" /v Help /t REG_EXPAND_SZ /d C:\\x\\NULL.CUR /f").exitCode, 0);
    Click(IDC_HIDE_CURSOR);
    Click(IDC_APPLY);
    EXPECT_EQ(RegQueryDword(kDriverParametersPath, L"HideCursor"), "0x0");
    EXPECT_EQ(RegQuery(kCursorsKey, L"Help"), "REG_EXPAND_SZ    ") << "any spelling of the file is shown again";
    EXPECT_EQ(RegQuery(kCursorsKey, L"Arrow"), "REG_EXPAND_SZ    C:\\my\\arrow.cur") << "the user's own cursor is back";
    EXPECT_EQ(RegQuery(kCursorsKey, L"Hand"), "REG_EXPAND_SZ    ");
}

TEST_F(SettingsDialog, EnterTogglesTheFocusedCheckBoxAndCancelWritesNothing)
{
    ImportDriverRecord("\"Mode\"=dword:00000002\r\n\"EnableTouch\"=dword:00000001\r\n");
    Open();
    HWND box = dialog->GetDlgItem(IDC_ENABLE_TOUCH);
    dialog->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    ASSERT_EQ(GetFocus(), box);
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(box, WM_CHAR, '\r', 0);
    PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpFor(100);
    EXPECT_FALSE(Checked(IDC_ENABLE_TOUCH));
    EXPECT_TRUE(dialog->IsWindow() && dialog->IsWindowVisible()) << "Enter does not press OK";
    EXPECT_TRUE(Enabled(IDC_APPLY));

    Click(IDCANCEL);
    EXPECT_FALSE(dialog->IsWindow());
    EXPECT_EQ(RegQueryDword(kDriverParametersPath, L"EnableTouch"), "0x1") << "Cancel writes nothing";
}

TEST(InvisibleCursor, LoadsFromBesideTheProgramAsACursorThatDrawsNothing)
{
    const std::wstring path = ProgramPath().substr(0, ProgramPath().find_last_of(L'\\')) + L"\\null.cur";
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(cursor, nullptr) << "null.cur beside PelnoCpl.exe";
    // Drawn onto white and onto black, it leaves both as they were.
    for (COLORREF fill : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, 32, 32};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ASSERT_TRUE(DrawIconEx(dc, 0, 0, cursor, 32, 32, 0, nullptr, DI_NORMAL));
        for (int y = 0; y < 32; y += 3)
            for (int x = 0; x < 32; x += 3)
                ASSERT_EQ(GetPixel(dc, x, y), fill) << x << "," << y;
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DestroyCursor(cursor);
}
