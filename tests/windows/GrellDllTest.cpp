// Grell.dll as the program uses it: linked through its import library, the
// pointer driven by xdotool on the X display (the low-level hook sees it only
// over a Wine window, so a window covers the screen), the three registered
// messages arriving posted in the window's queue.

#include "ControlTestSupport.h"
#include "libs/grell/Grell_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Messages {
    UINT down = RegisterWindowMessageW(kGrellMouseDownMessage);
    UINT up = RegisterWindowMessageW(kGrellMouseUpMessage);
    UINT move = RegisterWindowMessageW(kGrellMouseMoveMessage);
};

// What reached the window through its queue. PeekMessage returns posted
// messages only (sent ones go straight to the window procedure), so every
// entry here was posted.
struct Received {
    std::vector<MSG> messages;
    int Count(UINT message) const
    {
        int n = 0;
        for (const MSG& msg : messages)
            n += msg.message == message;
        return n;
    }
    int IndexOf(UINT message) const
    {
        for (std::size_t i = 0; i < messages.size(); ++i)
            if (messages[i].message == message)
                return static_cast<int>(i);
        return -1;
    }
};

struct CoverWindow {
    CoverWindow()
    {
        window =
            CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
        PumpFor(100);
    }
    ~CoverWindow() { DestroyWindow(window); }
    // Records the hook's messages addressed to the cover.
    std::function<void(const MSG&)> Recorder(Received& received) const
    {
        Messages names;
        HWND target = window;
        return [&received, names, target](const MSG& msg) {
            if (msg.hwnd == target &&
                (msg.message == names.down || msg.message == names.up || msg.message == names.move))
                received.messages.push_back(msg);
        };
    }
    HWND window = nullptr;
};

// One absolute pointer move through the system's input queue.
void MoveBySendInput(int x, int y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

} // namespace

TEST(GrellDll, MovesAndLeftClicksArrivePosted)
{
    CoverWindow cover;
    ASSERT_TRUE(cover.window);
    Messages names;
    Received received;
    auto record = cover.Recorder(received);
    if (!RunXdotool("mousemove 200 200"))
        GTEST_SKIP() << "no xdotool on this system";
    PumpFor(100);

    StartMouseHook(cover.window);
    ASSERT_TRUE(RunXdotool("mousemove 300 250 click 1", record));
    PumpUntil([&] { return received.Count(names.up) > 0; }, 2000, record);
    StopMouseHook(cover.window);

    ASSERT_GT(received.Count(names.move), 0) << "no move reported";
    EXPECT_EQ(received.Count(names.down), 1);
    EXPECT_EQ(received.Count(names.up), 1);
    EXPECT_LT(received.IndexOf(names.move), received.IndexOf(names.down));
    EXPECT_LT(received.IndexOf(names.down), received.IndexOf(names.up));
    const MSG& down = received.messages[static_cast<std::size_t>(received.IndexOf(names.down))];
    EXPECT_EQ(down.wParam, static_cast<WPARAM>(WM_LBUTTONDOWN));
    EXPECT_EQ(static_cast<short>(LOWORD(down.lParam)), 300);
    EXPECT_EQ(static_cast<short>(HIWORD(down.lParam)), 250);
    POINT cursor;
    GetCursorPos(&cursor); // what the receiver reads
    EXPECT_EQ(cursor.x, 300);
    EXPECT_EQ(cursor.y, 250);

    // Only the left button is reported; after the stop, nothing at all.
    received.messages.clear();
    StartMouseHook(cover.window);
    ASSERT_TRUE(RunXdotool("click 3", record));
    PumpFor(300, record);
    EXPECT_EQ(received.Count(names.down) + received.Count(names.up), 0) << "the right button is not reported";
    StopMouseHook(cover.window);
    received.messages.clear();
    ASSERT_TRUE(RunXdotool("mousemove 320 260 click 1", record));
    PumpFor(300, record);
    EXPECT_TRUE(received.messages.empty()) << "reported after StopMouseHook";
}

TEST(GrellDll, StopWithoutStartOrTwiceDoesNothing)
{
    CoverWindow cover;
    Received received;
    auto record = cover.Recorder(received);
    StopMouseHook(cover.window);
    StopMouseHook(nullptr);
    StartMouseHook(cover.window);
    StopMouseHook(cover.window);
    StopMouseHook(cover.window);
    MoveBySendInput(150, 140);
    PumpFor(300, record);
    EXPECT_TRUE(received.messages.empty());

    StartMouseHook(nullptr); // names no window: starts nothing
    MoveBySendInput(160, 140);
    PumpFor(300, record);
    EXPECT_TRUE(received.messages.empty());
    StopMouseHook(nullptr);
}

TEST(GrellDll, StartsAndStopsFromManyThreadsLeaveOneHook)
{
    CoverWindow cover;
    Messages names;
    Received received;
    auto record = cover.Recorder(received);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&cover, t] {
            for (int i = 0; i < 25; ++i) {
                if ((i + t) % 2)
                    StartMouseHook(cover.window);
                else
                    StopMouseHook(cover.window);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    StopMouseHook(cover.window);
    PumpFor(100, record);
    received.messages.clear();

    // Started once more, one pointer move is reported exactly once: every
    // earlier hook is gone.
    StartMouseHook(cover.window);
    MoveBySendInput(400, 300);
    PumpUntil([&] { return received.Count(names.move) > 0; }, 2000, record);
    PumpFor(200, record);
    StopMouseHook(cover.window);
    EXPECT_EQ(received.Count(names.move), 1);
}
