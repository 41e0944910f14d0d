#pragma once
// The dialogs the main window opens, made from the services the composition
// root hands it: the window asks for a dialog and never reaches into the
// services itself.

#include "app/MainPanel.h"
#include "calibration/CalibrateDlg_win32.h"
#include "config/Basicprop_win32.h"
#include "diagnostics/DiagnosisPanel.h"
#include "info/DovInfo_win32.h"
#include "update/UpdateDlg_win32.h"

#include <functional>
#include <memory>
#include <optional>

struct MainDialogFactories {
    // The calibration window of a touchscreen, over the main window (whose
    // region calibration's mouse hook it stops at Esc).
    std::function<std::unique_ptr<CCalibrateDlg>(unsigned slot, bool instructions, HWND mainWindow)> calibration;
    // The monitor a full-screen calibration covers, when it is known.
    std::function<std::optional<ScreenRect>(unsigned slot)> calibrationArea;
    std::function<std::unique_ptr<CBasicprop>()> settings;
    std::function<std::unique_ptr<DovInfo>(int slot)> properties;
    std::function<std::unique_ptr<CUpdate>(std::function<void()> onEnded)> update;
    std::function<DiagnosisServices()> diagnosis;
};

// The program's dialogs over these services (the process's seams for the
// Settings dialog and the Diagnostics report).
MainDialogFactories ProgramDialogFactories(const MainPanelServices& services);
