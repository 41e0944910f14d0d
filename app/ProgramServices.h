#pragma once
// The composition root's services for the program's dialogs: the
// process-wide device manager, protocol state, seams, device thread and
// configuration library, gathered here and nowhere else.

#include "app/MainPanel.h"
#include "config/SettingsPanel.h"
#include "diagnostics/DiagnosisPanel.h"

MainPanelServices ProgramMainPanelServices();
SettingsPanelServices ProgramSettingsPanelServices();

// The Diagnostics dialog's services: the main dialog's device services, the
// platform's file store and code page, the language texts.
DiagnosisServices ProgramDiagnosisServices(const MainPanelServices& main);
