#include "MainDialogRig.h"

#include "config/ParameterPaths.h"
#include "libs/sarnet/Sarnet.h"
#include "platform/Platform.h"

#include <commctrl.h>

void StoreParameters(std::int32_t number, std::int32_t monitor, std::int32_t calibrated)
{
    DeviceConfig config{};
    config.TouchScreenNumber = number;
    config.MonitorID = monitor;
    config.IsCalibrate = calibrated;
    SetDeviceConfig(0, config);
}

CDeviceRig::CDeviceRig()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    PlatformServices services;
    services.profile = &profile;
    services.system = &system;
    services.messenger = &messenger;
    SetPlatform(services);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceParametersPath);
}

CDeviceRig::~CDeviceRig()
{
    StopDevices();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceParametersPath);
    SetPlatform(PlatformServices{});
}

void CDeviceRig::StopDevices()
{
    if (thread)
        thread->Stop();
    thread.reset();
    devices.reset();
    port.reset();
}

void CDeviceRig::StartDevices(SimScenario scenario)
{
    StopDevices();
    port = std::make_unique<CSimHidPort>(std::move(scenario), &messenger);
    devices = std::make_unique<CDeviceManager>(*port, monitors, messenger);
    state = std::make_unique<CProtocolState>();
    thread = std::make_unique<CDeviceThread>(*port, messenger, *devices, *state, system);
    thread->Start();
}

RequestPoster CDeviceRig::Poster()
{
    return [this](std::unique_ptr<DeviceRequest> request) { return thread->PostRequest(std::move(request)); };
}

MainPanelServices CDeviceRig::Services()
{
    return MainPanelServices{*devices, *state, *port, messenger, Poster(), system, configuration};
}
