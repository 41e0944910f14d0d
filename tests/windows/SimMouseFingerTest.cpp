// The mouse as the virtual touchscreen's finger, with real input under Wine.

#include "sim/SimMouseFinger.h"
#include "platform/Monitors_win32.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

namespace {

void ClickAt(int x, int y)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = x * 65535 / (width - 1);
        input.mi.dy = y * 65535 / (height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

// Pumps this thread's messages for a while (the hook needs the input to flow).
void Pump(DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
}

} // namespace

TEST(SimMouseFinger, ReleaseOverTheMonitorWhileStreamingIsATouch)
{
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].rawMaxX = 1000;
    scenario.frames[0].rawMaxY = 1000;
    CSimHidPort port(scenario);
    HidDeviceInfo info;
    ASSERT_TRUE(port.OpenForQuery(CSimHidPort::PathOf(0), info));
    ASSERT_TRUE(port.CompleteOpen(CSimHidPort::PathOf(0), info));
    StartMouseFinger(port);

    // The hook sees the pointer only over a window of ours.
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(cover);
    Pump(200);

    ClickAt(width / 2, height / 2); // not streaming: no touch
    Pump(300);
    EXPECT_EQ(port.FrameAt(0)->QueuedReports(), 0u);

    std::uint8_t start[100] = {0x31, 0xAA, 0x50};
    ASSERT_TRUE(port.SendOutputReport(info.handle, start, sizeof start));
    ClickAt(width / 2, height / 4);
    Pump(300);
    std::uint8_t report[100] = {};
    auto read = port.StartRead(info.handle, report, sizeof report);
    std::size_t n = 0;
    ASSERT_EQ(read->Wait(1000, n), HidWaitResult::Completed);
    EXPECT_EQ(report[2], 0x84);
    int x = report[3] | report[4] << 8, y = report[5] | report[6] << 8;
    EXPECT_NEAR(x, 500, 2);
    EXPECT_NEAR(y, 250, 2);
    DestroyWindow(cover);
}
