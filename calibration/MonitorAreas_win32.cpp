#include "calibration/MonitorAreas_win32.h"

namespace {

template <typename Function> Function Load(const wchar_t* module, const char* name)
{
    HMODULE library = ::GetModuleHandleW(module);
    if (!library)
        library = ::LoadLibraryW(module);
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name))) : nullptr;
}

// Windows 10 1607 and later.
using GetThreadContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)();
using SetThreadContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
using AwarenessOfContextFunction = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
using SystemDpiFunction = UINT(WINAPI*)();
// Windows 8.1 and later (shcore).
using ProcessAwarenessFunction = HRESULT(WINAPI*)(HANDLE, int*);
using MonitorDpiFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int kPerMonitorAware = 2; // DPI_AWARENESS_PER_MONITOR_AWARE, PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;    // MDT_EFFECTIVE_DPI

bool ThreadIsPerMonitorAware()
{
    static const auto getContext = Load<GetThreadContextFunction>(L"user32.dll", "GetThreadDpiAwarenessContext");
    static const auto awarenessOf =
        Load<AwarenessOfContextFunction>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
    if (getContext && awarenessOf)
        return awarenessOf(getContext()) == kPerMonitorAware;
    static const auto processAwareness = Load<ProcessAwarenessFunction>(L"shcore.dll", "GetProcessDpiAwareness");
    int awareness = 0;
    if (processAwareness && SUCCEEDED(processAwareness(nullptr, &awareness)))
        return awareness == kPerMonitorAware;
    return true; // Windows 7: one DPI for every monitor, nothing is virtualised
}

unsigned SystemDpi()
{
    static const auto systemDpi = Load<SystemDpiFunction>(L"user32.dll", "GetDpiForSystem");
    if (systemDpi)
        return systemDpi();
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

// The thread reads per-monitor (physical) coordinates for its lifetime,
// where the system can switch it.
class CPerMonitorContext {
public:
    CPerMonitorContext()
    {
        static const auto setContext = Load<SetThreadContextFunction>(L"user32.dll", "SetThreadDpiAwarenessContext");
        if (!setContext || ThreadIsPerMonitorAware())
            return;
        m_before = setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        if (!m_before)
            m_before = setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
        m_set = setContext;
    }
    ~CPerMonitorContext()
    {
        if (m_set && m_before)
            m_set(m_before);
    }
    CPerMonitorContext(const CPerMonitorContext&) = delete;
    CPerMonitorContext& operator=(const CPerMonitorContext&) = delete;

private:
    SetThreadContextFunction m_set = nullptr;
    DPI_AWARENESS_CONTEXT m_before = nullptr;
};

struct Enumeration {
    std::vector<MonitorArea> areas;
    unsigned fallbackDpi;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data)
{
    static const auto monitorDpi = Load<MonitorDpiFunction>(L"shcore.dll", "GetDpiForMonitor");
    auto* enumeration = reinterpret_cast<Enumeration*>(data);
    UINT dpiX = 0, dpiY = 0;
    if (!monitorDpi || FAILED(monitorDpi(monitor, kEffectiveDpi, &dpiX, &dpiY)) || dpiX == 0)
        dpiX = enumeration->fallbackDpi;
    enumeration->areas.push_back({{rect->left, rect->top, rect->right, rect->bottom}, dpiX});
    return TRUE;
}

} // namespace

std::vector<MonitorArea> ReadMonitorAreas()
{
    CPerMonitorContext physical;
    Enumeration enumeration{{}, SystemDpi()};
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
    return enumeration.areas;
}

unsigned DrawingDpiAt(ScreenPoint point)
{
    return ThreadIsPerMonitorAware() ? DpiAtPoint(ReadMonitorAreas(), point) : SystemDpi();
}

ScreenRect PhysicalWindowRect(HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    const ScreenRect read{r.left, r.top, r.right, r.bottom};
    if (ThreadIsPerMonitorAware())
        return read;
    return PhysicalFromVirtualised(ReadMonitorAreas(), read, SystemDpi());
}
