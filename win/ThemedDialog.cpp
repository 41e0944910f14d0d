#include "win/ThemedDialog.h"

const MessageEntry CThemedDialog::kEntries[] = {
    OnMessage<&CThemedDialog::OnCtlColor>(WM_CTLCOLORDLG),
    OnMessage<&CThemedDialog::OnCtlColor>(WM_CTLCOLORSTATIC),
    OnMessage<&CThemedDialog::OnCtlColor>(WM_CTLCOLORBTN),
    OnMessage<&CThemedDialog::OnEraseBackground>(WM_ERASEBKGND),
};
const MessageTable CThemedDialog::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);

CThemedDialog::CThemedDialog(UINT templateId, DialogTheme theme)
    : CDialog(templateId), m_theme(theme), m_background(::CreateSolidBrush(theme.background))
{
}

LRESULT CThemedDialog::OnCtlColor(WPARAM dc, LPARAM control)
{
    // The one place the message's parameters are unpacked.
    return reinterpret_cast<LRESULT>(PaintControl(reinterpret_cast<HDC>(dc), reinterpret_cast<HWND>(control)));
}

MessageResult CThemedDialog::OnEraseBackground(WPARAM dc, LPARAM)
{
    if (!m_theme.erasesBackground)
        return MessageResult::Default();
    const RECT client = GetClientRect();
    ::FillRect(reinterpret_cast<HDC>(dc), &client, m_background.Get());
    return TRUE;
}

HBRUSH CThemedDialog::PaintControl(HDC dc, HWND control) const
{
    if (const std::optional<COLORREF> text = ControlTextColour(control))
        ::SetTextColor(dc, *text);
    ::SetBkMode(dc, TRANSPARENT);
    return m_background.Get();
}
