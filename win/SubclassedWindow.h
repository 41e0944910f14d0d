#pragma once
// Subclassing: an object takes over an existing control's window procedure
// (an owner-drawn button, a link static) while the control lives. WindowProc
// sees every message first; DefaultProc passes one on to the control's own
// procedure. The subclass is removed at WM_NCDESTROY or by Unsubclass.

#include "win/Window.h"

class CSubclassedWindow : public CWindow {
public:
    CSubclassedWindow() = default;
    virtual ~CSubclassedWindow();
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

    // Subclasses the control; false when it is already subclassed by an
    // object or the system refuses.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    void Unsubclass();

protected:
    // Called after the subclass is in place, before any message arrives.
    virtual void OnSubclassed() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
};
