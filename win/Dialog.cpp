#include "win/Dialog.h"

#include "win/PostedRecords.h"
#include "win/Reflection.h"

#include <algorithm>
#include <vector>

namespace {

// The dialogs alive on this thread, oldest first: RouteMessage looks here.
thread_local std::vector<CDialog*> t_dialogs;

// Messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

bool IsColourRequest(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

bool Matches(const MessageEntry& entry, bool threadMessage, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((entry.kind == MessageKind::Thread) != threadMessage)
        return false;
    switch (entry.kind) {
    case MessageKind::Window:
    case MessageKind::Thread:
    case MessageKind::Record:
        return entry.message == message;
    case MessageKind::Registered:
        return entry.registered() == message;
    case MessageKind::Command:
        return message == WM_COMMAND && entry.id == LOWORD(wParam) &&
               (entry.code == kAnyCode || entry.code == HIWORD(wParam));
    case MessageKind::Notify: {
        if (message != WM_NOTIFY)
            return false;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header && entry.id == header->idFrom && entry.code == header->code;
    }
    }
    return false;
}

} // namespace

const MessageEntry CDialog::kEntries[] = {
    OnCommand<&CDialog::OnOK>(IDOK),
    OnCommand<&CDialog::OnCancel>(IDCANCEL),
    OnMessage<&CDialog::OnDpiChangedMessage>(WM_DPICHANGED),
};
const MessageTable CDialog::kMessageTable = MakeMessageTable(nullptr, kEntries);

CDialog::CDialog(UINT templateId, HINSTANCE instance)
    : m_templateId(templateId), m_instance(instance ? instance : ::GetModuleHandleW(nullptr))
{
}

CDialog::~CDialog()
{
    // The derived parts are gone: the window is destroyed without them.
    if (HWND window = m_hWnd) {
        ForgetWindow();
        FreeQueuedRecords(window);
        ::DestroyWindow(window);
    }
}

void CDialog::ForgetWindow()
{
    if (m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    std::erase(t_dialogs, this);
    m_hWnd = nullptr;
    m_ended = true;
}

bool CDialog::Create(HWND parent)
{
    if (m_hWnd)
        return false;
    m_ended = false;
    m_result = -1;
    HWND window = ::CreateDialogParamW(m_instance, MAKEINTRESOURCEW(m_templateId), parent, DialogProc,
                                       reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

INT_PTR CDialog::DoModal(HWND owner)
{
    m_modal = true;
    if (!Create(owner)) {
        m_modal = false;
        return -1;
    }
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    if (m_hWnd && !m_ended)
        ::ShowWindow(m_hWnd, SW_SHOW);

    MSG msg{};
    while (!m_ended && m_hWnd) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_result = -1;
            break;
        }
        if (got < 0)
            break;
        if (!RouteMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // The owner is enabled before the dialog goes, so that it gets the activation back.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_modal = false;
    return m_result;
}

void CDialog::EndDialog(INT_PTR result)
{
    m_result = result;
    m_ended = true;
    if (!m_hWnd)
        return;
    if (m_modal)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop
    else
        ::DestroyWindow(m_hWnd);
}

CDialog* CDialog::FromHandle(HWND window)
{
    for (CDialog* dialog : t_dialogs)
        if (dialog->m_hWnd == window)
            return dialog;
    return nullptr;
}

bool CDialog::RouteMessage(MSG& msg)
{
    if (!msg.hwnd) {
        for (auto it = t_dialogs.rbegin(); it != t_dialogs.rend(); ++it)
            if ((*it)->DispatchThreadMessage(msg))
                return true;
        return false;
    }
    HWND innermost = nullptr;
    for (HWND window = msg.hwnd; window; window = ::GetParent(window)) {
        CDialog* dialog = FromHandle(window);
        if (!dialog)
            continue;
        if (!innermost)
            innermost = window;
        if (dialog->PreTranslateMessage(msg))
            return true;
    }
    // A handler above may have closed the dialog.
    return innermost && FromHandle(innermost) && ::IsDialogMessageW(innermost, &msg);
}

bool CDialog::DispatchThreadMessage(const MSG& msg)
{
    const MessageEntry* entry = Find(true, msg.message, msg.wParam, msg.lParam);
    if (!entry)
        return false;
    return entry->thunk(*this, msg.wParam, msg.lParam).Handled();
}

const MessageEntry* CDialog::Find(bool threadMessage, UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (const MessageTable* table = &Messages(); table; table = table->base)
        for (const MessageEntry* entry = table->begin; entry != table->end; ++entry)
            if (Matches(*entry, threadMessage, message, wParam, lParam))
                return entry;
    return nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = window;
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        t_dialogs.push_back(self);
        self->m_dpi.Attach(window, self->KeepsRectOnDpiChange());
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE; // messages before WM_INITDIALOG
    if (message == WM_DPICHANGED && self->m_inSystemDpiHandling)
        return FALSE;
    INT_PTR answer = self->OnDialogMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->ForgetWindow();
        FreeQueuedRecords(window);
        self->OnFinalMessage();
    }
    return answer;
}

INT_PTR CDialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM || IsColourRequest(message)) {
        if (LRESULT reflected = ReflectToControl(message, wParam, lParam)) {
            if (AnswersDirectly(message))
                return static_cast<INT_PTR>(reflected);
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, reflected);
            return TRUE;
        }
    } else if (message == WM_COMMAND) {
        ReflectToControl(message, wParam, lParam);
    }

    const MessageEntry* entry = Find(false, message, wParam, lParam);
    if (!entry)
        return FreePostedRecord(message, lParam) ? TRUE : FALSE;
    const MessageResult result = entry->thunk(*this, wParam, lParam);
    if (!result.Handled())
        return FALSE; // the dialog's default handling
    if (AnswersDirectly(message))
        return static_cast<INT_PTR>(result.Value());
    if (m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result.Value());
    return TRUE;
}

LRESULT CDialog::OnDpiChangedMessage(WPARAM wParam, LPARAM lParam)
{
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (!suggested)
        return 0;
    HWND window = m_hWnd;
    m_dpi.Apply(window, LOWORD(wParam), *suggested, KeepsRectOnDpiChange(), [&] {
        // The dialog manager's handling, with this procedure stepping aside.
        m_inSystemDpiHandling = true;
        ::DefDlgProcW(window, WM_DPICHANGED, wParam, lParam);
        m_inSystemDpiHandling = false;
    });
    OnDpiChanged(m_dpi.Dpi());
    return 0;
}

std::wstring CDialog::GetDlgItemText(int id) const { return CWindow(GetDlgItem(id)).GetWindowText(); }

void CDialog::SetDlgItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }

bool CDialog::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void CDialog::CheckDlgButton(int id, bool checked) const
{
    ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CDialog::EnableDlgItem(int id, bool enable) const { ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE); }

bool CDialog::IsDlgItemEnabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
