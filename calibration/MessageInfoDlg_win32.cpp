#include "calibration/MessageInfoDlg_win32.h"

#include "common/LanguageText.h"
#include "res/resource.h"

namespace {
constexpr wchar_t kHintKey[] = L"54";
} // namespace

// Nothing of its own: the theme paints it.
const MessageTable MessageInfoDlg::kMessageTable = InheritedMessageTable(&CThemedDialog::kMessageTable);

MessageInfoDlg::MessageInfoDlg()
    : CDialogImpl(IDD_MESSAGE_INFO, DialogTheme{kCalibrationBackground, kCalibrationHintText, true})
{
}

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
