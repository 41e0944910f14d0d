#pragma once
// The TouchScreen Properties box: what the program holds about one
// touchscreen (its number, monitor, calibration, interface, hardware version,
// serial number and status), read from its record when the box opens. It
// sends nothing to the touchscreen and reads no parameter. Modal; OK or
// Escape closes it.

#include "ui/XPButton_win32.h"
#include "win/GdiObjects.h"
#include "win/ThemedDialog.h"

class CDeviceManager;

class DovInfo : public CDialogImpl<DovInfo, CThemedDialog> {
public:
    // The touchscreen is named by its slot in the device manager.
    DovInfo(CDeviceManager& devices, int touchScreen);

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;

private:
    CDeviceManager& m_devices;
    int m_touchScreen;
    CXPButton m_ok;
};
