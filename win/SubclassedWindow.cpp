#include "win/SubclassedWindow.h"

#include <commctrl.h>

namespace {
// The subclass id: one subclass of ours per control.
constexpr UINT_PTR kSubclassId = 0x50434C;
// Marks a control subclassed by an object of ours. (GetWindowSubclass would
// tell, but comctl32 exports it by ordinal only and the MinGW import
// library does not name it.)
constexpr wchar_t kSubclassedProperty[] = L"PelnoSubclassed";
} // namespace

CSubclassedWindow::~CSubclassedWindow() { Unsubclass(); }

bool CSubclassedWindow::SubclassWindow(HWND window)
{
    if (!window || m_hWnd)
        return false;
    if (::GetPropW(window, kSubclassedProperty))
        return false;
    if (!::SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    ::SetPropW(window, kSubclassedProperty, reinterpret_cast<HANDLE>(this));
    m_hWnd = window;
    OnSubclassed();
    return true;
}

void CSubclassedWindow::Unsubclass()
{
    if (!m_hWnd)
        return;
    ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    ::RemovePropW(m_hWnd, kSubclassedProperty);
    m_hWnd = nullptr;
}

LRESULT CSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

LRESULT CSubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR data)
{
    auto* self = reinterpret_cast<CSubclassedWindow*>(data);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->WindowProc(message, wParam, lParam);
        self->Unsubclass();
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}
