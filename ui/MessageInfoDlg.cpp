#include "ui/MessageInfoDlg.h"

#include "common/LanguageText.h"
#include "res/resource.h"

namespace {
constexpr COLORREF kBackgroundColour = RGB(0, 128, 192);
constexpr COLORREF kTextColour = RGB(255, 255, 0);
constexpr wchar_t kHintKey[] = L"54";
} // namespace

const MessageEntry MessageInfoDlg::kEntries[] = {
    OnMessage<&MessageInfoDlg::OnEraseBackground>(WM_ERASEBKGND),
    OnMessage<&MessageInfoDlg::OnCtlColor>(WM_CTLCOLORDLG),
    OnMessage<&MessageInfoDlg::OnCtlColor>(WM_CTLCOLORSTATIC),
};
const MessageTable MessageInfoDlg::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

MessageInfoDlg::MessageInfoDlg() : CDialogImpl(IDD_MESSAGE_INFO), m_background(::CreateSolidBrush(kBackgroundColour)) {}

bool MessageInfoDlg::OnInitDialog()
{
    SetDlgItemText(IDC_MESSAGE_INFO_TEXT, GetLanguageText(kHintKey));
    return true;
}

bool MessageInfoDlg::PreTranslateMessage(MSG& msg)
{
    const bool mine = msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd);
    return mine && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.wParam == VK_RETURN;
}

LRESULT MessageInfoDlg::OnEraseBackground(WPARAM dc, LPARAM)
{
    RECT client = GetClientRect();
    ::FillRect(reinterpret_cast<HDC>(dc), &client, m_background.Get());
    return TRUE;
}

LRESULT MessageInfoDlg::OnCtlColor(WPARAM dc, LPARAM)
{
    HDC context = reinterpret_cast<HDC>(dc);
    ::SetBkMode(context, TRANSPARENT);
    ::SetTextColor(context, kTextColour);
    return reinterpret_cast<LRESULT>(m_background.Get());
}
