#pragma once
// The dialog base: a dialog from a resource template, modeless (Create) or
// modal (DoModal), whose messages go through the class's message table.
//
// Modal dialogs run our own message loop rather than the system's: the
// dialog is created modeless, its owner is disabled, and the loop calls
// RouteMessage for every message until EndDialog. The system's modal loop
// would hide posted thread messages and the messages meant for
// PreTranslateMessage; ours shows them to the dialog first. A WM_QUIT ends
// the loop too and is posted again for the loop outside.
//
// Before its table sees them, a dialog reflects WM_DRAWITEM and WM_CTLCOLOR*
// to the control that sent them (win/Reflection.h); a non-zero answer of the
// control is the dialog's answer. WM_COMMAND is reflected to its control and
// then dispatched to the table as well. A posted record that no entry
// claims is freed (win/PostedRecords.h).
//
// On WM_DPICHANGED (moved to a monitor of another scale) the base re-lays the
// dialog for the new DPI, doing what the system left undone (win/DpiChange.h),
// then calls OnDpiChanged.
//
// A dialog class derives from CDialogImpl<itself>, which finds its table;
// the class declares `static const MessageTable kMessageTable`. The window
// goes with the object at the latest: the base destroys a window still
// there, after detaching it, so that no handler runs on a half-destroyed
// object (end a dialog with EndDialog for its WM_DESTROY handler to run).
// A modeless dialog is owned by the window that opened it, through a
// std::unique_ptr that the owner resets when the dialog's end message comes.

#include "win/DpiChange.h"
#include "win/MessageMap.h"
#include "win/Window.h"

#include <string>

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId, HINSTANCE instance = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog modeless; false when the template cannot be loaded.
    bool Create(HWND parent = nullptr);
    // Runs the dialog modally over the owner (disabled meanwhile); returns
    // the EndDialog result, or -1 when it could not be created or a WM_QUIT
    // ended it.
    INT_PTR DoModal(HWND owner = nullptr);
    // Ends the dialog: a modal one leaves its loop and is destroyed there, a
    // modeless one is destroyed at once.
    void EndDialog(INT_PTR result);
    bool IsModal() const { return m_modal; }

    // Shows the message to the dialogs of this thread before it is
    // dispatched: a thread message (no window) to their thread-message
    // entries, any other to PreTranslateMessage of the dialog holding its
    // window and of that dialog's owners, then to IsDialogMessage. True when
    // the message was handled and must not be dispatched.
    static bool RouteMessage(MSG& msg);

    // Texts, checks and enabling of the dialog's controls.
    std::wstring GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::wstring& text) const;
    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked) const;
    void EnableDlgItem(int id, bool enable) const;
    bool IsDlgItemEnabled(int id) const;

    static const MessageTable kMessageTable;

protected:
    // WM_INITDIALOG; true lets the system focus the first control.
    virtual bool OnInitDialog() { return true; }
    // Sees the messages of the dialog's windows before they are dispatched
    // (see RouteMessage); true when it handled the message.
    virtual bool PreTranslateMessage(MSG& msg) { return false; }
    // IDOK and IDCANCEL: end the dialog with that result.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The window is gone (WM_NCDESTROY); the object may still live.
    virtual void OnFinalMessage() {}
    // The window and its controls were re-laid for a new DPI: re-make what
    // the dialog made for the old one itself (its own fonts, images).
    virtual void OnDpiChanged(unsigned /*dpi*/) {}
    // True for a window that covers a monitor or follows the pointer: it
    // places itself in physical pixels and keeps its rectangle when its DPI
    // changes, instead of taking the one the system suggests.
    virtual bool KeepsRectOnDpiChange() const { return false; }

    // The most derived class's table; CDialogImpl gives it.
    virtual const MessageTable& Messages() const = 0;

private:
    static const MessageEntry kEntries[];

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static CDialog* FromHandle(HWND window);
    INT_PTR OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The first table entry for the message, most derived class first.
    const MessageEntry* Find(bool threadMessage, UINT message, WPARAM wParam, LPARAM lParam) const;
    // The window goes: forget it without running another handler.
    void ForgetWindow();
    bool DispatchThreadMessage(const MSG& msg);
    LRESULT OnDpiChangedMessage(WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HINSTANCE m_instance;
    bool m_modal = false;
    bool m_ended = false;
    INT_PTR m_result = -1;
    CDialogDpi m_dpi;
    // The system's own handling of WM_DPICHANGED runs: the dialog procedure
    // leaves the message to it.
    bool m_inSystemDpiHandling = false;
};

// The base of every dialog class: finds Derived's message table, which
// chains to Base's. A class that forgets to declare its own table does not
// compile.
template <class Derived, class Base = CDialog> class CDialogImpl : public Base {
public:
    using Base::Base;

protected:
    const MessageTable& Messages() const override
    {
        static_assert(&Derived::kMessageTable != &Base::kMessageTable,
                      "a dialog class declares its own static const MessageTable kMessageTable");
        return Derived::kMessageTable;
    }
};
