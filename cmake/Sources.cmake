# Portable sources: standard C++ only, built natively and for Windows.
set(PELNO_PORTABLE_SOURCES
  platform/Platform.cpp
  platform/MemoryProfile.cpp
  platform/MemoryRegistry.cpp
  platform/MemoryFileStore.cpp
  common/LanguageText.cpp
  common/MainLog.cpp
  common/TextEncoding.cpp
  app/CommandLineInfoEx.cpp
  app/ConsoleDispatcher.cpp
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
  sim/SimScenario.cpp
  sim/SimFrame.cpp
  sim/SimHidPort.cpp
  sim/SimMouseFinger.cpp
  config/DeviceKey.cpp
  config/ParameterHelpers.cpp
  config/ParameterValidation.cpp
  config/ParameterExport.cpp
  config/ParameterImport.cpp
  config/ProfileEncoding.cpp
  config/ProfileMerge.cpp
  calibration/CalibrationResult.cpp
  libs/sarnet/SarnetLibrary.cpp
)

# Windows-only sources: the Win32 seams, the window framework, the program.
set(PELNO_WIN32_SOURCES
  platform/Profile_win32.cpp
  platform/FileStore_win32.cpp
  platform/AnsiCodePage_win32.cpp
  platform/Registry_win32.cpp
  platform/Console_win32.cpp
  platform/Monitors_win32.cpp
  platform/WindowMessenger_win32.cpp
  platform/System_win32.cpp
  platform/HidPort_win32.cpp
  win/AppBase.cpp
  win/SubclassedWindow.cpp
  app/Win32Platform.cpp
  sim/SimMouseFinger_win32.cpp
  config/ParameterCommands_win32.cpp
)

# The main dialog: its behaviour (portable) and its window, the dialog base.
list(APPEND PELNO_PORTABLE_SOURCES app/MainPanel.cpp app/ProgramServices.cpp)
list(APPEND PELNO_WIN32_SOURCES win/Dialog.cpp win/PostedRecords.cpp app/OvamerDlg.cpp app/PostedRecordKinds.cpp
  calibration/MouseHookMessages_win32.cpp)

# The configuration library: a DLL on Windows, a static library natively.
set(SARNET_SOURCES
  libs/sarnet/Sarnet.cpp
  libs/sarnet/SarnetStore.cpp
)

# The owner-drawn controls: their looks (portable) and their windows.
list(APPEND PELNO_PORTABLE_SOURCES
  ui/XPButtonLook.cpp
  ui/HyperLinkLook.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  ui/XPButton.cpp
  ui/HyperLink.cpp
  ui/ImageStatic.cpp
)
# Firmware update (update/): the firmware files, both transports, the console update.
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
)
# The firmware-file maker (tools/firmware-maker): the tool and the tests' files.
set(PELNO_FIRMWARE_MAKER_SOURCES tools/firmware-maker/FirmwareMaker.cpp)
# The Settings dialog: its behaviour and the user's mouse settings it applies
# (portable), the mouse-settings seam and the dialog's window.
list(APPEND PELNO_PORTABLE_SOURCES
  platform/MemorySystemMouse.cpp
  config/SystemMouseSettings.cpp
  config/SettingsPanel.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  platform/SystemMouse_win32.cpp
  config/Basicprop.cpp
)
# The mapping dialog: its behaviour (portable), its window and the cursor helper.
list(APPEND PELNO_PORTABLE_SOURCES calibration/DeviceMatchPanel.cpp)
list(APPEND PELNO_WIN32_SOURCES calibration/DeviceMatchDlg.cpp win/CursorVisibility.cpp)
# Diagnostics (diagnostics/): the LED scan, the dialog's behaviour, the report, the dialog.
list(APPEND PELNO_PORTABLE_SOURCES
  diagnostics/LedScan.cpp
  diagnostics/DiagnosticsReport.cpp
  diagnostics/DiagnosisPanel.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  diagnostics/Diagnosis.cpp
)
# The information dialogs (info/): TouchScreen Properties and About.
list(APPEND PELNO_PORTABLE_SOURCES info/TouchScreenProperties.cpp)
list(APPEND PELNO_WIN32_SOURCES info/DovInfo.cpp info/Version.cpp update/UpdateDlg.cpp)
# Calibration (calibration/): storing a calibration, the calibration window's
# behaviour and layout, region selection; the calibration and hint windows.
list(APPEND PELNO_PORTABLE_SOURCES
  calibration/ApplyCalibration.cpp
  calibration/CalibrationLayout.cpp
  calibration/CalibratePanel.cpp
  calibration/InterruptedCalibration.cpp
  calibration/RegionSelection.cpp
  calibration/TouchSetCheck.cpp
  calibration/ReviewTrail.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  calibration/CalibrateDlg.cpp
  ui/MessageInfoDlg.cpp
)
# The picture of a frame's LEDs in the Diagnostics dialog; the console's
# listing and diagnosis of every touchscreen.
list(APPEND PELNO_PORTABLE_SOURCES
  diagnostics/LedPicture.cpp
  app/ConsoleMailbox.cpp
  app/FleetCommands.cpp
)
list(APPEND PELNO_WIN32_SOURCES
  app/FleetCommands_win32.cpp
)
