#pragma once
// The composition root's services for the program's dialogs: the
// process-wide device manager, protocol state, seams, device thread and
// configuration library, gathered here and nowhere else.

#include "app/MainPanel.h"
#include "config/SettingsPanel.h"

MainPanelServices ProgramMainPanelServices();
SettingsPanelServices ProgramSettingsPanelServices();
