// The low-level mouse hook lives on a thread of its own with a message loop:
// the system calls a low-level hook on the thread that installed it, through
// that thread's message loop, and every pointer event of the desktop waits
// for the call. On the caller's (user-interface) thread a slow handler or a
// blocked moment would stall the whole desktop's pointer, and the system
// drops hooks that keep it waiting too long. On its own thread the hook
// answers at once whatever the caller does, and Start and Stop may be called
// from any thread.

#include "libs/grell/Grell_win32.h"

#include "platform/UniqueHandle_win32.h"

#include <atomic>

namespace {

// Serialises StartMouseHook and StopMouseHook.
SRWLOCK g_control = SRWLOCK_INIT;
// The hook thread, while reporting is active.
CUniqueHandle g_thread;
DWORD g_threadId = 0;

// Read by the hook on its thread.
std::atomic<HWND> g_target{nullptr};
std::atomic<UINT> g_downMessage{0};
std::atomic<UINT> g_upMessage{0};
std::atomic<UINT> g_moveMessage{0};

constexpr DWORD kThreadWaitMs = 5000;

UINT ReportedMessage(WPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        return g_moveMessage.load();
    case WM_LBUTTONDOWN:
        return g_downMessage.load();
    case WM_LBUTTONUP:
        return g_upMessage.load();
    default:
        return 0;
    }
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        HWND target = g_target.load();
        UINT reported = ReportedMessage(message);
        if (target && reported) {
            POINT point = reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt;
            ::PostMessageW(target, reported, message, MAKELPARAM(point.x, point.y));
        }
    }
    return ::CallNextHookEx(nullptr, code, message, data);
}

HMODULE ThisModule(DWORD flags)
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | flags, reinterpret_cast<LPCWSTR>(&LowLevelMouseProc),
                         &module);
    return module;
}

// parameter: the thread's own handle of the event it sets once its hook is
// in place. The thread releases the reference to this library that
// StartHookThread took for it, so that the hook's code stays mapped until
// the hook is removed.
DWORD WINAPI HookThread(void* parameter)
{
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the thread's queue, for WM_QUIT
    HMODULE module = ThisModule(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
    HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, module, 0);
    {
        // Closed here: FreeLibraryAndExitThread never returns to run a destructor.
        const CUniqueHandle ready(parameter);
        ::SetEvent(ready.Get());
    }
    if (hook) {
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        ::UnhookWindowsHookEx(hook);
    }
    ::FreeLibraryAndExitThread(module, hook ? 0 : 1);
}

void RegisterMessages()
{
    g_downMessage = ::RegisterWindowMessageW(kGrellMouseDownMessage);
    g_upMessage = ::RegisterWindowMessageW(kGrellMouseUpMessage);
    g_moveMessage = ::RegisterWindowMessageW(kGrellMouseMoveMessage);
}

// Starts the hook thread and waits until its hook is in place; false when
// the thread ended because the hook could not be installed.
bool StartHookThread()
{
    HMODULE module = ThisModule(0); // released by the thread
    if (!module)
        return false;
    const CUniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE duplicate = nullptr;
    if (ready.Valid())
        ::DuplicateHandle(::GetCurrentProcess(), ready.Get(), ::GetCurrentProcess(), &duplicate, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
    CUniqueHandle threadReady(duplicate); // the thread's own, handed over once it runs
    CUniqueHandle thread(threadReady.Valid() ? ::CreateThread(nullptr, 0, HookThread, threadReady.Get(), 0, &g_threadId)
                                             : nullptr);
    if (!thread.Valid()) {
        ::FreeLibrary(module);
        return false;
    }
    threadReady.Release();
    HANDLE handles[] = {ready.Get(), thread.Get()};
    if (::WaitForMultipleObjects(2, handles, FALSE, kThreadWaitMs) == WAIT_OBJECT_0 + 1)
        return false; // it ended: no hook
    // Installed, or (after the time-out) still starting: kept either way,
    // and StopMouseHook ends it.
    g_thread = std::move(thread);
    return true;
}

// Ends the hook thread's loop and waits for it; false when it did not end
// in time (it is then kept, and a later stop tries again).
bool StopHookThread()
{
    for (DWORD waited = 0; waited < kThreadWaitMs; waited += 50) {
        ::PostThreadMessageW(g_threadId, WM_QUIT, 0, 0);
        if (::WaitForSingleObject(g_thread.Get(), 50) != WAIT_TIMEOUT) {
            g_thread.Close();
            g_threadId = 0;
            return true;
        }
    }
    return false;
}

struct ExclusiveLock {
    ExclusiveLock() { ::AcquireSRWLockExclusive(&g_control); }
    ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&g_control); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
};

} // namespace

extern "C" GRELL_API void StartMouseHook(HWND window)
{
    if (!::IsWindow(window))
        return;
    ExclusiveLock lock;
    RegisterMessages();
    g_target = window;
    if (!g_thread.Valid() && !StartHookThread())
        g_target = nullptr;
}

extern "C" GRELL_API void StopMouseHook(HWND)
{
    ExclusiveLock lock;
    g_target = nullptr; // a hook call still under way posts nothing more
    if (g_thread.Valid())
        StopHookThread();
}
