#include "app/PelnoCplApp_win32.h"

#include "app/CommandLineInfoEx.h"
#include "app/ConsoleDispatcher.h"
#include "app/FleetCommands_win32.h"
#include "app/OvamerDlg_win32.h"
#include "app/PostedRecordKinds_win32.h"
#include "app/ProgramServices.h"
#include "app/Win32Platform_win32.h"
#include "calibration/InterruptedCalibration.h"
#include "calibration/MouseHookMessages.h"
#include "common/LanguageText.h"
#include "common/TextEncoding.h"
#include "config/ParameterCommands.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "platform/Console.h"
#include "platform/Platform.h"
#include "update/FirmwareCommands.h"

#include <commctrl.h>

#include <memory>

namespace {
CPelnoCplApp theApp;
constexpr wchar_t kDeviceThreadFailedText[] =
    L"The touchscreens cannot be reached: the device thread could not be started.";
} // namespace

CPelnoCplApp::CPelnoCplApp() = default;
CPelnoCplApp::~CPelnoCplApp() = default;

bool CPelnoCplApp::AnotherInstanceRuns()
{
    m_instanceMutex = CreateMutexW(nullptr, FALSE, AppName().c_str());
    if (m_instanceMutex && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    // Creation failing for any reason counts as another instance running.
    if (HWND window = FindWindowW(nullptr, GetLanguageText(kProgramTitleKey).c_str())) {
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
    }
    return true;
}

bool CPelnoCplApp::InitInstance()
{
    std::string platformError = InstallWin32Platform();

    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);

    auto commandLine = std::make_unique<CCommandLineInfoEx>();
    commandLine->ParseArguments(Arguments());

    if (AnotherInstanceRuns()) {
        // A console command must not look done when it was not run; the
        // option summary and the test lines touch no touchscreen and run.
        if (commandLine->OptionCount() > 0) {
            IConsole& console = *GetPlatform().console;
            console.Attach();
            DispatchResult result = DispatchWhileAnotherRuns(*commandLine, console);
            if (result.handled) {
                m_exitCode = result.exitCode;
                return false;
            }
        }
        PostQuitMessage(0);
        return true;
    }
    // A calibration of an earlier run that was killed left the driver
    // clicking on release, perhaps with a calibration nobody confirmed.
    if (IRegistry* registry = GetPlatform().registry)
        RestoreInterruptedCalibration(*registry, ProgramSettingsPanelServices().configuration);

    if (commandLine->OptionCount() > 0) {
        IConsole& console = *GetPlatform().console;
        console.Attach();
        console.SetTitle(L" ");
        if (!platformError.empty())
            console.Write(platformError + "\n");
        ConsoleCommands commands;
        AddParameterCommands(commands);
        AddFirmwareCommands(commands);
        AddFleetCommands(commands);
        DispatchResult result = DispatchConsoleCommand(*commandLine, console, commands);
        if (result.handled) {
            m_exitCode = result.exitCode;
            return false;
        }
    }
    commandLine.reset();

    if (!platformError.empty()) {
        MessageBoxW(nullptr, FromUtf8(platformError).c_str(), GetLanguageText(kProgramTitleKey).c_str(), MB_OK | MB_ICONERROR);
        m_exitCode = 1;
        return false;
    }

    unsigned count = GetDeviceManager().Count();
    if (count == 0) {
        MessageBoxW(nullptr, GetLanguageText(L"72").c_str(), GetLanguageText(L"71").c_str(),
                    MB_OK | MB_ICONINFORMATION);
        PostQuitMessage(0);
        return false;
    }

    const PlatformServices& platform = GetPlatform();
    m_deviceThread = std::make_unique<CDeviceThread>(*platform.hid, *platform.messenger, GetDeviceManager(),
                                                     GetProtocolState(), *platform.system);
    if (!m_deviceThread->Start()) {
        m_deviceThread.reset();
        MessageBoxW(nullptr, kDeviceThreadFailedText, GetLanguageText(kProgramTitleKey).c_str(), MB_OK | MB_ICONERROR);
        m_exitCode = 1;
        return false;
    }
    SetCurrentDeviceThread(m_deviceThread.get());

    // The mouse hook's messages keep their numbers for the process's life.
    RegisterMouseHookMessages();
    SetPostedRecordKinds(ProgramPostedRecords());
    {
        // Our modal loop (win/Dialog.h) lets the dialog see posted messages
        // before they are dispatched. The dialog makes itself the main window.
        COvamerDlg dialog(ProgramMainPanelServices());
        dialog.DoModal();
    }
    return false;
}

int CPelnoCplApp::ExitInstance()
{
    // No worker may outlive the objects it uses: stop and join before release.
    if (m_deviceThread) {
        SetCurrentDeviceThread(nullptr);
        m_deviceThread->Stop();
        m_deviceThread.reset();
    }
    return m_exitCode;
}
