#include "info/DovInfo_win32.h"

#include "common/LanguageText.h"
#include "device/DeviceManager.h"
#include "info/TouchScreenProperties.h"
#include "res/resource.h"

namespace {

constexpr ControlText kLabels[] = {
    {IDC_PROPERTIES_GROUP, kPropertiesTitleKey},
    {IDC_PROPERTIES_NUMBER_LABEL, L"63"},
    {IDC_PROPERTIES_MONITOR_LABEL, L"64"},
    {IDC_PROPERTIES_CALIBRATED_LABEL, L"65"},
    {IDC_PROPERTIES_INTERFACE_LABEL, L"66"},
    {IDC_PROPERTIES_VERSION_LABEL, L"67"},
    {IDC_PROPERTIES_SERIAL_LABEL, L"68"},
    {IDC_PROPERTIES_STATUS_LABEL, L"69"},
    {IDC_PROPERTIES_OK, L"38"},
};

} // namespace

// OK is IDOK and Escape IDCANCEL: the base class ends the dialog.
const MessageTable DovInfo::kMessageTable = InheritedMessageTable(&CThemedDialog::kMessageTable);

DovInfo::DovInfo(CDeviceManager& devices, int touchScreen)
    : CDialogImpl(IDD_PROPERTIES), m_devices(devices), m_touchScreen(touchScreen)
{
}

bool DovInfo::OnInitDialog()
{
    m_ok.SubclassDlgItem(IDC_PROPERTIES_OK, m_hWnd);

    // A copy taken under the table's lock; a slot emptied meanwhile shows a
    // fresh record's values.
    TouchScreenRecord record;
    if (m_touchScreen >= 0)
        m_devices.WithRecord(static_cast<unsigned>(m_touchScreen),
                             [&](const TouchScreenRecord& held) { record = held; });
    const TouchScreenProperties values = FormatTouchScreenProperties(record);
    SetDlgItemText(IDC_PROPERTIES_CALIBRATED, GetLanguageText(values.calibratedKey));
    SetDlgItemText(IDC_PROPERTIES_MONITOR, values.monitorNumber);
    SetDlgItemText(IDC_PROPERTIES_NUMBER, values.touchScreenNumber);
    SetDlgItemText(IDC_PROPERTIES_VERSION, values.hardwareVersion);
    SetDlgItemText(IDC_PROPERTIES_SERIAL, values.serialNumber);
    SetDlgItemText(IDC_PROPERTIES_STATUS, GetLanguageText(kPropertiesStatusKey));

    SetWindowText(GetLanguageText(kPropertiesTitleKey));
    for (const ControlText& label : kLabels)
        SetDlgItemText(label.id, GetLanguageText(label.key));
    return true;
}
