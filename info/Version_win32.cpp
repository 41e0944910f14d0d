#include "info/Version_win32.h"

#include "common/LanguageText.h"
#include "res/resource.h"

namespace {

constexpr ControlText kControlTexts[] = {
    {IDC_VERSION_OK, L"38"},    {IDC_VERSION_DRIVER_LABEL, L"56"}, {IDC_VERSION_PANEL_LABEL, L"57"},
    {IDC_VERSION_MAKER, L"55"}, {IDC_VERSION_RIGHTS_LABEL, L"80"}, {IDC_VERSION_RIGHTS, L"81"},
    {IDC_VERSION_LINK, L"82"},
};

} // namespace

const MessageEntry CVersion::kEntries[] = {
    OnCommand<&CVersion::OnUpdate>(IDC_VERSION_UPDATE, BN_CLICKED),
    // OK is IDOK: the base class ends the dialog.
};
const MessageTable CVersion::kMessageTable = MakeMessageTable(&CThemedDialog::kMessageTable, kEntries);

CVersion::CVersion(std::function<void()> openUpdate) : CDialogImpl(IDD_VERSION), m_openUpdate(std::move(openUpdate)) {}

bool CVersion::OnInitDialog()
{
    SetWindowText(GetLanguageText(L"78"));
    // The link's text is its address: set before it is attached, so that it
    // opens the address the language file names and fits that text.
    for (const ControlText& text : kControlTexts)
        SetDlgItemText(text.id, GetLanguageText(text.key));
    m_picture.SubclassDlgItem(IDC_VERSION_PICTURE, m_hWnd);
    m_ok.SubclassDlgItem(IDC_VERSION_OK, m_hWnd);
    m_link.SubclassDlgItem(IDC_VERSION_LINK, m_hWnd);
    return true;
}

void CVersion::OnUpdate()
{
    if (m_openUpdate)
        m_openUpdate();
    PostMessage(WM_CLOSE);
}
