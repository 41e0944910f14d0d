#include "calibration/MessageInfoDlg_win32.h"

#include "common/LanguageText.h"
#include "res/resource.h"
#include "win/GdiObjects.h"

#include <string>

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

SIZE MessageInfoDlg::TextExtent() const
{
    HWND text = GetDlgItem(IDC_MESSAGE_INFO_TEXT);
    RECT area{};
    ::GetClientRect(text, &area);
    const std::wstring shown = CWindow(text).GetWindowText();
    CWindowDC dc(text);
    CSelectObject font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(text, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    return {area.right, area.bottom};
}

bool MessageInfoDlg::PreTranslateMessage(MSG& msg)
{
    const bool mine = msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd);
    return mine && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.wParam == VK_RETURN;
}
