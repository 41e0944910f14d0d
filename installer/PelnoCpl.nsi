; The installer of the TouchScreen Control Panel, built by tools/package (the
; build's target pelno_installer) with makensis. The build passes:
;   PELNO_BIN           the runnable tree (PelnoCpl.exe and what lies beside it)
;   PELNO_VERSION       four numbers, "2.1.0.8"
;   PELNO_VERSION_TEXT  as the About box shows it, "2.1.0.0008"
;   PELNO_OUTFILE       the installer to write
; Silent with /S; /D=<folder> (last, unquoted) chooses the program folder;
; /CONFIG=<file.ini> imports the site's settings once the files are in place
; (PelnoCpl.exe -i): a file the import refuses removes the installation again
; and ends the installer with exit code 2, the import's output in
; %TEMP%\PelnoCplSetup.log.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "TouchScreen Control Panel"
!define MAKER "Pelno Touch Systems"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PelnoCpl"
!define CURSORS_KEY "Control Panel\Cursors"
!define INVISIBLE_CURSOR "%SYSTEMROOT%\Cursors\null.cur"
; Where the program keeps the scheme values "Hide Cursor" replaced.
!define PROGRAM_USER_KEY "Software\${MAKER}\${PRODUCT}"
!define KEPT_CURSORS_KEY "${PROGRAM_USER_KEY}\Hidden Cursors"
!define SPI_SETCURSORS 0x57

Name "${PRODUCT}"
OutFile "${PELNO_OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${MAKER}"

VIProductVersion "${PELNO_VERSION}"
VIFileVersion "${PELNO_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${PELNO_VERSION_TEXT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${PELNO_VERSION_TEXT}"
VIAddVersionKey /LANG=0 "LegalCopyright" "(C) ${MAKER}. All rights reserved."

!define MUI_ICON "${PELNO_RES}/PelnoCpl.ico"
!define MUI_UNICON "${PELNO_RES}/PelnoCpl.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\PelnoCpl.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the user's language where it has it.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "Japanese"

; Removes what the installation put in place; the uninstaller and a refused
; /CONFIG file share it.
!macro RemoveInstalled
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledCursor"
  ${If} $0 == 1
    Delete "$WINDIR\Cursors\null.cur"
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\PelnoCpl.exe"
  Delete "$INSTDIR\Sarnet.dll"
  Delete "$INSTDIR\Grell.dll"
  Delete "$INSTDIR\UserManual.pdf"
  Delete "$INSTDIR\UserManual-2052.pdf"
  Delete "$INSTDIR\UserManual-1041.pdf"
  Delete "$INSTDIR\Language\*.ini"
  RMDir "$INSTDIR\Language"
  Delete "$INSTDIR\Uninstall.exe"
  ; Files the user saved there (reports, exports) keep the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
!macroend

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${PELNO_BIN}/PelnoCpl.exe"
  File "${PELNO_BIN}/Sarnet.dll"
  File "${PELNO_BIN}/Grell.dll"
  File "${PELNO_BIN}/UserManual.pdf"
  File "${PELNO_BIN}/UserManual-2052.pdf"
  File "${PELNO_BIN}/UserManual-1041.pdf"
  SetOutPath "$INSTDIR\Language"
  File "${PELNO_BIN}/Language/*.ini"
  SetOutPath "$INSTDIR"

  ; The invisible cursor of "Hide Cursor". One that is already there (from
  ; the driver's own installation) is left as it is and stays at uninstall.
  ${IfNot} ${FileExists} "$WINDIR\Cursors\null.cur"
    CreateDirectory "$WINDIR\Cursors"
    SetOutPath "$WINDIR\Cursors"
    File "${PELNO_BIN}/null.cur"
    SetOutPath "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledCursor" 1
  ${EndIf}

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\PelnoCpl.exe" "" "$INSTDIR\PelnoCpl.exe" 0

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PELNO_VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\PelnoCpl.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; The site's settings, with the program's own import.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CONFIG=" $R1
  ${IfNot} ${Errors}
  ${AndIf} $R1 != ""
    DetailPrint "Importing the site settings $R1"
    nsExec::ExecToStack '"$INSTDIR\PelnoCpl.exe" -i "$R1"'
    Pop $R2 ; exit code, or "error" when it did not start
    Pop $R3 ; what the import printed
    FileOpen $R4 "$TEMP\PelnoCplSetup.log" w
    FileWrite $R4 "PelnoCpl.exe -i $R1: exit code $R2$\r$\n$R3"
    FileClose $R4
    DetailPrint "$R3"
    ${If} $R2 != 0
      DetailPrint "The import refused $R1 (exit code $R2): the installation is removed again"
      SetOutPath "$TEMP" ; the program folder cannot go while it is the current folder
      !insertmacro RemoveInstalled
      SetErrorLevel 2
      Abort "The site settings $R1 were refused; see $TEMP\PelnoCplSetup.log"
    ${EndIf}
  ${EndIf}
SectionEnd

; Puts back, in each scheme value that still names the invisible cursor, the
; value "Hide Cursor" kept (empty, the system's default, when none was kept),
; so that the pointer does not stay invisible once null.cur is gone. Values
; the user has chosen since are left alone. Then the system reloads the
; scheme. Only the uninstalling user's scheme is reached.
!macro RestoreCursor NAME
  ReadRegStr $0 HKCU "${CURSORS_KEY}" "${NAME}"
  ${If} $0 == "${INVISIBLE_CURSOR}" ; compared in any case
    ReadRegStr $1 HKCU "${KEPT_CURSORS_KEY}" "${NAME}"
    WriteRegExpandStr HKCU "${CURSORS_KEY}" "${NAME}" "$1"
    StrCpy $2 1
  ${EndIf}
!macroend

Function un.RestoreCursors
  StrCpy $2 0
  !insertmacro RestoreCursor "Arrow"
  !insertmacro RestoreCursor "AppStarting"
  !insertmacro RestoreCursor "Hand"
  !insertmacro RestoreCursor "Wait"
  !insertmacro RestoreCursor "Crosshair"
  !insertmacro RestoreCursor "Help"
  !insertmacro RestoreCursor "IBeam"
  !insertmacro RestoreCursor "No"
  !insertmacro RestoreCursor "NWPen"
  !insertmacro RestoreCursor "SizeAll"
  !insertmacro RestoreCursor "SizeNESW"
  !insertmacro RestoreCursor "SizeNS"
  !insertmacro RestoreCursor "SizeNWSE"
  !insertmacro RestoreCursor "SizeWE"
  !insertmacro RestoreCursor "UpArrow"
  ${If} $2 == 1
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETCURSORS}, i 0, p 0, i 0)'
  ${EndIf}
  DeleteRegKey HKCU "${KEPT_CURSORS_KEY}"
  DeleteRegKey /ifempty HKCU "${PROGRAM_USER_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${MAKER}"
FunctionEnd

; The driver's parameters (the PelnoHID service's key) are never touched: the
; touchscreens keep their calibration and the driver its options.
Section "Uninstall"
  SetShellVarContext all
  Call un.RestoreCursors
  !insertmacro RemoveInstalled
SectionEnd
