// The mapping window in this process, opened by the real main dialog's
// Mapping button over virtual frames: where it lies, what it draws, the
// cursor, and its keys.

#include "DialogPump.h"
#include "app/OvamerDlg.h"
#include "config/ParameterPaths.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/Platform.h"
#include "platform/Profile_win32.h"
#include "platform/System_win32.h"
#include "platform/WindowMessenger_win32.h"
#include "res/resource.h"
#include "sim/SimHidPort.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class CBinFolderSystem : public CWin32System {
public:
    std::wstring ProgramFolder() override
    {
        std::wstring tests = CWin32System::ProgramFolder();
        return tests.substr(0, tests.find_last_of(L'\\')) + L"\\bin";
    }
};

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

TEST(DeviceMatchDialog, CoversTheMonitorDrawsItsTargetAndEndsOnceOnEsc)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Messenger messenger;
    PlatformServices platform;
    platform.profile = &profile;
    platform.system = &system;
    platform.messenger = &messenger;
    SetPlatform(platform);
    CFixedMonitors monitors;
    monitors.monitors = {{100, 50, 1124, 818}};
    CSimHidPort port(MakeCountedScenario(2), &messenger);
    CDeviceManager devices(port, monitors, messenger);
    CProtocolState state;
    CDeviceThread thread(port, messenger, devices, state, system);
    thread.Start();
    CSarnetLibrary configuration;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountMappingEnds, nullptr, GetCurrentThreadId());
    {
        auto post = [&](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); };
        COvamerDlg main(MainPanelServices{devices, state, port, messenger, post, system, configuration});
        ASSERT_TRUE(main.Create());
        main.ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return main.Panel().ListIsReady(); }));
        const int cursorBefore = CursorCount();

        main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MAPPING, BN_CLICKED),
                         reinterpret_cast<LPARAM>(main.GetDlgItem(IDC_MAPPING)));
        CDeviceMatchDlg* mapping = main.MappingDialog();
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
        EXPECT_FALSE(main.IsWindowEnabled());
        EXPECT_LT(CursorCount(), 0);
        EXPECT_TRUE(PumpUntil([&] { return port.FrameAt(0)->Streaming() && port.FrameAt(1)->Streaming(); }));

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
        EXPECT_TRUE(PumpUntil([&] { return !main.MappingDialog() && main.IsWindowEnabled(); }));
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(CursorCount(), cursorBefore);
        EXPECT_TRUE(PumpUntil([&] { return !port.FrameAt(0)->Streaming() && !port.FrameAt(1)->Streaming(); }));
        PumpFor(300);
        EXPECT_EQ(g_mappingEnds, 1);
        main.SendMessage(WM_CLOSE);
    }
    UnhookWindowsHookEx(hook);
    thread.Stop();
    SetPlatform(PlatformServices{});
}
