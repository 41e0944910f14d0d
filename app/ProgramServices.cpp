#include "app/ProgramServices.h"

#include "common/LanguageText.h"
#include "common/MainLog.h"

#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/Platform.h"

namespace {
IConfigurationLibrary& ProgramConfiguration()
{
    static CSarnetLibrary library;
    return library;
}
} // namespace

MainPanelServices ProgramMainPanelServices()
{
    const PlatformServices& platform = GetPlatform();
    MainPanelServices services{GetDeviceManager(), GetProtocolState(), *platform.hid,         *platform.messenger,
                               &PostDeviceRequest, *platform.system,   ProgramConfiguration()};
    services.refit = MakeMainPanelRefit(
        RefitServices{services.devices, services.configuration, *platform.registry, &WriteMainLog, &GetLanguageText});
    return services;
}

SettingsPanelServices ProgramSettingsPanelServices()
{
    const PlatformServices& platform = GetPlatform();
    return SettingsPanelServices{ProgramConfiguration(), *platform.mouse, *platform.registry};
}

DiagnosisServices ProgramDiagnosisServices(const MainPanelServices& main)
{
    // A process that installed no file seam (a test of the main dialog alone)
    // gets files in memory, so that the dialog can still be built.
    static CMemoryFileStore memoryFiles;
    static CLatin1CodePage latin1;
    const PlatformServices& platform = GetPlatform();
    return DiagnosisServices{main.devices,
                             main.state,
                             main.postRequest,
                             platform.files ? *platform.files : memoryFiles,
                             platform.ansi ? *platform.ansi : latin1,
                             &GetLanguageText};
}
