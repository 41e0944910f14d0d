#pragma once
// A window wrapper: holds one HWND without owning it. Most methods are
// one-line calls of the system function of the same name; controls and
// dialogs add their own helpers on top.

#include <windows.h>

#include <string>

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND window) : m_hWnd(window) {}

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach()
    {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam) != FALSE;
    }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    std::wstring GetWindowText() const
    {
        int length = ::GetWindowTextLengthW(m_hWnd);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        int copied = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        return text;
    }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }

    bool EnableWindow(bool enable = true) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }

    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE); }
    void UpdateWindow() const { ::UpdateWindow(m_hWnd); }
    RECT GetClientRect() const
    {
        RECT rect{};
        ::GetClientRect(m_hWnd, &rect);
        return rect;
    }
    RECT GetWindowRect() const
    {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }

    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    // Removes then adds style bits; returns whether the style changed.
    bool ModifyStyle(LONG_PTR remove, LONG_PTR add) const
    {
        LONG_PTR style = GetStyle();
        LONG_PTR changed = (style & ~remove) | add;
        if (changed == style)
            return false;
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, changed);
        return true;
    }

    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, bool redraw = true) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }

protected:
    HWND m_hWnd = nullptr;
};
