#include "calibration/ApplyCalibration.h"

#include "calibration/CalibratedDisplay.h"
#include "config/ConfigurationLibrary.h"
#include "config/DeviceKey.h"
#include "device/DeviceManager.h"

#include <string>

bool WriteClickMode(IConfigurationLibrary& configuration, std::int32_t mode)
{
    DriverConfig driver{};
    if (!configuration.GetDriverConfig(driver))
        return false;
    driver.Mode = mode;
    return configuration.SetDriverConfig(driver);
}

bool ApplyCalibration(CalibrationStoreServices services, const CalibrationTouchScreen& touchScreen,
                      const std::array<RawTouchPoint, 4>& points, const ScreenRect& window, ScreenSize primaryScreen,
                      std::int32_t savedClickMode, ClickModeAfterStore clickMode)
{
    services.devices.RefreshMonitors();
    if (clickMode == ClickModeAfterStore::Restore)
        WriteClickMode(services.configuration, savedClickMode);

    TouchScreenRecord record;
    MappingEntry mapping;
    if (!services.devices.WithRecordAndMapping(touchScreen.slot, touchScreen.identity,
                                               [&](const TouchScreenRecord& r, const MappingEntry& m) {
                                                   record.touchScreenNumber = r.touchScreenNumber;
                                                   record.deviceObjectName = r.deviceObjectName;
                                                   mapping = m;
                                               }))
        return false;
    const std::uint32_t deviceKey = DeviceKeyFromObjectName(record.deviceObjectName);

    // A touchscreen never stored before has nothing to read: the record then
    // starts from the read request (its number, every other slot 0).
    DeviceConfig stored = CalibrationReadRequest(record);
    services.configuration.GetDeviceConfig(stored);

    const std::vector<MonitorEntry> monitors = services.devices.Monitors();
    CalibrationInput input;
    input.points = points;
    input.window = window;
    input.monitors = monitors;
    input.mapping = mapping;
    input.primaryScreen = primaryScreen;
    if (!services.configuration.SetDeviceConfig(deviceKey, ComputeCalibratedConfig(input, stored)))
        return false;
    if (const std::optional<MonitorEntry> monitor = MonitorUnder(window, monitors); services.registry && monitor)
        KeepCalibratedDisplay(*services.registry, deviceKey,
                              CalibratedDisplay{*monitor, ScaleBase(monitors, primaryScreen), window, false});
    return true;
}
