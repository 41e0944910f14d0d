#pragma once
// GDI helpers that put back what they change: owned pens, brushes, fonts,
// bitmaps and icons deleted with their object; a selection undone at scope
// end; a saved device-context state restored at scope end; a window's device
// context (painting or not) released at scope end.

#include <windows.h>

#include <utility>

// Owns one GDI object (pen, brush, font, bitmap) and deletes it.
template <typename Handle> class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(Handle handle) : m_handle(handle) {}
    ~CGdiObject() { Reset(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    operator Handle() const { return m_handle; }
    Handle Get() const { return m_handle; }
    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            ::DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using CPen = CGdiObject<HPEN>;
using CBrush = CGdiObject<HBRUSH>;
using CFont = CGdiObject<HFONT>;
using CBitmap = CGdiObject<HBITMAP>;

// Owns one icon loaded with LoadImage and destroys it.
class CIcon {
public:
    CIcon() = default;
    explicit CIcon(HICON icon) : m_icon(icon) {}
    ~CIcon()
    {
        if (m_icon)
            ::DestroyIcon(m_icon);
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    CIcon& operator=(CIcon&& other) noexcept
    {
        std::swap(m_icon, other.m_icon);
        return *this;
    }
    HICON Get() const { return m_icon; }

private:
    HICON m_icon = nullptr;
};

// The painting of one WM_PAINT: BeginPaint at construction, EndPaint at scope end.
class CPaintDC {
public:
    explicit CPaintDC(HWND window) : m_window(window), m_dc(::BeginPaint(window, &m_paint)) {}
    ~CPaintDC() { ::EndPaint(m_window, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// A window's device context outside painting (GetDCEx with these flags;
// GetDC when no flags are given), released at scope end.
class CWindowDC {
public:
    explicit CWindowDC(HWND window, DWORD flags = 0)
        : m_window(window), m_dc(flags ? ::GetDCEx(window, nullptr, flags) : ::GetDC(window))
    {
    }
    ~CWindowDC()
    {
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context for the scope's duration.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~CSelectObject()
    {
        if (m_previous && m_previous != HGDI_ERROR)
            ::SelectObject(m_dc, m_previous);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Saves the whole drawing state of a device context and restores it.
class CSaveDC {
public:
    explicit CSaveDC(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~CSaveDC()
    {
        if (m_saved)
            ::RestoreDC(m_dc, m_saved);
    }
    CSaveDC(const CSaveDC&) = delete;
    CSaveDC& operator=(const CSaveDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// A memory device context compatible with a given one (or the screen).
class CMemoryDC {
public:
    explicit CMemoryDC(HDC compatible = nullptr) : m_dc(::CreateCompatibleDC(compatible)) {}
    ~CMemoryDC()
    {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};
