#include "ControlTestSupport.h"

#include "win/Reflection.h"

#include <string>

namespace {

constexpr wchar_t kParentClass[] = L"PelnoReflectingParent";

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT reflected = ReflectToControl(message, wParam, lParam))
        return reflected;
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterParentClass()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kParentClass;
    RegisterClassW(&windowClass); // a second registration fails harmlessly
}

} // namespace

CReflectingParent::CReflectingParent(int x, int y, int width, int height, bool visible)
{
    RegisterParentClass();
    m_window =
        CreateWindowExW(0, kParentClass, L"control test", WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), x, y,
                        width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

CReflectingParent::~CReflectingParent()
{
    if (m_window)
        DestroyWindow(m_window);
}

HWND CReflectingParent::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, RECT rect, int id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, m_window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

CCanvas::CCanvas(int width, int height, Rgb fill) : m_width(width), m_height(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<const std::uint32_t*>(bits);
    m_previous = SelectObject(m_dc, m_bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(fill.red, fill.green, fill.blue));
    RECT all{0, 0, width, height};
    FillRect(m_dc, &all, brush);
    DeleteObject(brush);
}

CCanvas::~CCanvas()
{
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

Rgb CCanvas::At(int x, int y) const
{
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    GdiFlush();
    std::uint32_t pixel = m_bits[static_cast<std::size_t>(y) * m_width + x];
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
}

std::unique_ptr<CCanvas> PrintClient(HWND window, int width, int height, Rgb fill)
{
    auto canvas = std::make_unique<CCanvas>(width, height, fill);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(*canvas)), PRF_CLIENT);
    return canvas;
}

// Wine starts a Unix program named by CreateProcessW, but gives no process
// handle to wait on: the shell leaves a marker file when the command is done.
bool RunShell(const std::string& command, DWORD milliseconds, const MessageSeen& seen)
{
    static int runs = 0;
    std::string marker = "/tmp/pelno-shell-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    std::string line = "/bin/sh -c \"" + command + " && : > " + marker + "\"";
    std::wstring commandLine(line.begin(), line.end());
    std::wstring markerPath = L"Z:" + std::wstring(marker.begin(), marker.end());
    for (wchar_t& c : markerPath)
        if (c == L'/')
            c = L'\\';

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool finished = PumpUntil([&] { return GetFileAttributesW(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES; },
                              milliseconds, seen);
    DeleteFileW(markerPath.c_str());
    return finished;
}

bool RunXdotool(const std::string& arguments, const MessageSeen& seen)
{
    return RunShell("xdotool " + arguments, 5000, seen);
}
