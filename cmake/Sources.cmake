# The sources of the program, by layer (docs/architecture.md), lowest first.
# Portable sources are standard C++ and build natively too; Windows-only
# sources lie in win/ or end in _win32 and build for Windows alone.

set(PELNO_PORTABLE_SOURCES)
set(PELNO_WIN32_SOURCES)
# platform/: the seams: interfaces, in-memory implementations, Win32 implementations
list(APPEND PELNO_PORTABLE_SOURCES
  platform/Platform.cpp
  platform/MemoryProfile.cpp
  platform/MemoryRegistry.cpp
  platform/MemoryFileStore.cpp
  platform/MemorySystemMouse.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  platform/Profile_win32.cpp
  platform/FileStore_win32.cpp
  platform/AnsiCodePage_win32.cpp
  platform/Registry_win32.cpp
  platform/Console_win32.cpp
  platform/Monitors_win32.cpp
  platform/WindowMessenger_win32.cpp
  platform/System_win32.cpp
  platform/HidPort_win32.cpp
  platform/SystemMouse_win32.cpp
)
# common/: language texts, text encoding, Main.Log
list(APPEND PELNO_PORTABLE_SOURCES
  common/LanguageText.cpp
  common/MainLog.cpp
  common/TextEncoding.cpp
)
# device/: HID scan, device manager, device thread, protocol
list(APPEND PELNO_PORTABLE_SOURCES
  device/HidScan.cpp
  device/DeviceManager.cpp
  device/ReportProtocol.cpp
  device/ProtocolState.cpp
  device/DeviceThread.cpp
  device/RequestWorker.cpp
  device/ProbeTouchScreens.cpp
  device/Exchange.cpp
  device/TouchStreams.cpp
  device/RemovalNotice.cpp
)
# sim/: the virtual touchscreens
list(APPEND PELNO_PORTABLE_SOURCES
  sim/SimScenario.cpp
  sim/SimFrame.cpp
  sim/SimHidPort.cpp
  sim/SimMouseFinger.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  sim/SimMouseFinger_win32.cpp
)
# win/: the window framework
list(APPEND PELNO_WIN32_SOURCES
  win/AppBase.cpp
  win/SubclassedWindow.cpp
  win/Dialog.cpp
  win/ThemedDialog.cpp
  win/PostedRecords.cpp
  win/CursorVisibility.cpp
)
# ui/: the owner-drawn controls
list(APPEND PELNO_PORTABLE_SOURCES
  ui/XPButtonLook.cpp
  ui/HyperLinkLook.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  ui/XPButton_win32.cpp
  ui/HyperLink_win32.cpp
  ui/ImageStatic_win32.cpp
  calibration/MessageInfoDlg_win32.cpp
)
# config/: parameter records, export and import, the Settings dialog and the mouse settings
list(APPEND PELNO_PORTABLE_SOURCES
  config/DeviceKey.cpp
  config/ParameterHelpers.cpp
  config/ParameterValidation.cpp
  config/ParameterExport.cpp
  config/ParameterImport.cpp
  config/ProfileEncoding.cpp
  config/ProfileMerge.cpp
  config/SystemMouseSettings.cpp
  config/SettingsPanel.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  config/ParameterCommands_win32.cpp
  config/Basicprop_win32.cpp
)
# calibration/: storing a calibration, the calibration, region and mapping windows
list(APPEND PELNO_PORTABLE_SOURCES
  calibration/CalibrationResult.cpp
  calibration/DeviceMatchPanel.cpp
  calibration/ApplyCalibration.cpp
  calibration/CalibratedDisplay.cpp
  calibration/CalibrationRefit.cpp
  calibration/CalibrationLayout.cpp
  calibration/CalibratePanel.cpp
  calibration/InterruptedCalibration.cpp
  calibration/RegionSelection.cpp
  calibration/RegionCalibrationPanel.cpp
  calibration/TouchSetCheck.cpp
  calibration/ReviewTrail.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  calibration/MouseHookMessages_win32.cpp
  calibration/DeviceMatchDlg_win32.cpp
  calibration/CalibrateDlg_win32.cpp
)
# diagnostics/: the LED scan, the report, the Diagnostics dialog
list(APPEND PELNO_PORTABLE_SOURCES
  diagnostics/LedScan.cpp
  diagnostics/DiagnosticsReport.cpp
  diagnostics/DiagnosisPanel.cpp
  diagnostics/LedPicture.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  diagnostics/Diagnosis_win32.cpp
)
# update/: firmware files, the console update, the update dialog
list(APPEND PELNO_PORTABLE_SOURCES
  update/FirmwareImage.cpp
  update/HexText.cpp
  update/Crc16Arc.cpp
  update/FirmwareFile.cpp
  update/ConsoleFrames.cpp
  update/ConsoleUpdater.cpp
  update/UpdateTransfer.cpp
  update/UpdatePanel.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  update/FirmwareCommands_win32.cpp
  update/UpdateDlg_win32.cpp
)
# info/: Properties and About
list(APPEND PELNO_PORTABLE_SOURCES
  info/TouchScreenProperties.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  info/DovInfo_win32.cpp
  info/Version_win32.cpp
)
# libs/: the configuration library as the program reaches it
list(APPEND PELNO_PORTABLE_SOURCES
  libs/sarnet/SarnetLibrary.cpp
)
# app/: the composition root: start-up, command line, console, the main dialog
list(APPEND PELNO_PORTABLE_SOURCES
  app/CommandLineInfoEx.cpp
  app/ConsoleDispatcher.cpp
  app/MainPanel.cpp
  app/ProgramServices.cpp
  app/ConsoleMailbox.cpp
  app/FleetCommands.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  app/MainDialogFactories_win32.cpp
  app/Win32Platform_win32.cpp
  app/OvamerDlg_win32.cpp
  app/PostedRecordKinds_win32.cpp
  app/FleetCommands_win32.cpp
)

# The configuration library: a DLL on Windows, a static library natively.
set(SARNET_SOURCES
  libs/sarnet/Sarnet.cpp
  libs/sarnet/SarnetStore.cpp
)
# The firmware-file maker (tools/firmware-maker): the tool and the tests' files.
set(PELNO_FIRMWARE_MAKER_SOURCES tools/firmware-maker/FirmwareMaker.cpp)
