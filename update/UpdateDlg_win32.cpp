#include "update/UpdateDlg_win32.h"

#include "platform/Messages.h"
#include "res/resource.h"

#include <commctrl.h>

const MessageEntry CUpdate::kEntries[] = {
    OnRecord<&CUpdate::OnReply>(WM_UPDATE_REPLY),
    OnMessage<&CUpdate::OnTimer>(WM_TIMER),
    OnMessage<&CUpdate::OnClose>(WM_CLOSE),
    OnMessage<&CUpdate::OnDestroy>(WM_DESTROY),
};
const MessageTable CUpdate::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

CUpdate::CUpdate(UpdateServices services, std::function<void()> onEnded)
    : CDialogImpl(IDD_UPDATE), m_panel(std::move(services), *this), m_onEnded(std::move(onEnded))
{
}

bool CUpdate::OnInitDialog()
{
    SendDlgItemMessageW(m_hWnd, IDC_UPDATE_PROGRESS, PBM_SETRANGE32, 0, 100);
    SendDlgItemMessageW(m_hWnd, IDC_UPDATE_PROGRESS, PBM_SETPOS, 0, 0);
    ::ShowWindow(GetDlgItem(IDC_UPDATE_MESSAGE), SW_HIDE);
    m_panel.Open(m_hWnd);
    return true;
}

void CUpdate::OnFinalMessage()
{
    if (m_onEnded)
        m_onEnded();
}

// ---- IUpdateView

void CUpdate::ShowProgress(int percent, const std::wstring& figure)
{
    SendDlgItemMessageW(m_hWnd, IDC_UPDATE_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    SetDlgItemText(IDC_UPDATE_PERCENT, figure);
}

void CUpdate::ShowFinalMessage(const std::wstring& text)
{
    for (int id : {IDC_UPDATE_SENDING, IDC_UPDATE_PROGRESS, IDC_UPDATE_PERCENT})
        ::ShowWindow(GetDlgItem(id), SW_HIDE);
    SetDlgItemText(IDC_UPDATE_MESSAGE, text);
    ::ShowWindow(GetDlgItem(IDC_UPDATE_MESSAGE), SW_SHOW);
}

void CUpdate::StartTimer(unsigned id, unsigned milliseconds) { ::SetTimer(m_hWnd, id, milliseconds, nullptr); }

void CUpdate::StopTimer(unsigned id) { ::KillTimer(m_hWnd, id); }

void CUpdate::Close() { PostMessage(WM_CLOSE); }

// ---- messages

void CUpdate::OnReply(std::unique_ptr<DeviceReply> reply) { m_panel.OnReply(std::move(reply)); }

void CUpdate::OnTimer(WPARAM id, LPARAM) { m_panel.OnTimer(static_cast<unsigned>(id)); }

void CUpdate::OnClose()
{
    ::KillTimer(m_hWnd, kUpdateTimerId);
    EndDialog(IDCANCEL);
}

void CUpdate::OnDestroy()
{
    // Replies still on their way find no window and are freed.
    m_panel.Close();
}
