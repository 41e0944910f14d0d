#include "app/MainDialogFactories_win32.h"

#include "app/ProgramServices.h"
#include "libs/grell/Grell_win32.h"
#include "platform/Platform.h"

MainDialogFactories ProgramDialogFactories(const MainPanelServices& services)
{
    MainDialogFactories factories;
    factories.calibration = [services](unsigned slot, bool instructions, HWND main) {
        CalibratePanelServices calibration{
            services.devices,       services.state, services.postRequest,           services.messenger,
            services.configuration, main,           [main] { StopMouseHook(main); }, GetPlatform().registry};
        return std::make_unique<CCalibrateDlg>(std::move(calibration), slot, instructions);
    };
    factories.calibrationArea = [services](unsigned slot) {
        return FullScreenCalibrationRect(services.devices, services.configuration, slot);
    };
    factories.settings = [] { return std::make_unique<CBasicprop>(ProgramSettingsPanelServices()); };
    factories.properties = [services](int slot) { return std::make_unique<DovInfo>(services.devices, slot); };
    factories.update = [services](std::function<void()> onEnded) {
        return std::make_unique<CUpdate>(UpdateServices{services.devices, services.postRequest}, std::move(onEnded));
    };
    factories.diagnosis = [services] { return ProgramDiagnosisServices(services); };
    return factories;
}
