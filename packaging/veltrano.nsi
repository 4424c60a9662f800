; The Veltrano installer: both programs and the help file in one folder, a Start menu shortcut for
; all users, the uninstall entry and an optional start with Windows. scripts/package passes
; VERSION, BIN_DIR, HELP_FILE, ICON and OUT_FILE; AMD64 makes the 64-bit test build.

Unicode true
!ifdef AMD64
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrano"
!define SETTINGS_KEY "Software\Veltrano"
!define OPTIONS_KEY "Software\Veltrano\Options"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SERVICE_NAME "VeltranoService"
!define ID_EXIT 32795
!define LOG_FILE_NAME "qxrsum_v2.log"
; How long a program or the service may take to write the day and end.
!define PROGRAM_EXIT_WAIT_MS 20000
!define SERVICE_WAIT_ROUNDS 150
!define SERVICE_WAIT_ROUND_MS 200

Name "Veltrano"
Caption "Veltrano ${VERSION} Setup"
UninstallCaption "Veltrano ${VERSION} Uninstall"
BrandingText "Veltrano ${VERSION}"
OutFile "${OUT_FILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\Veltrano"
!else
  InstallDir "$PROGRAMFILES\Veltrano"
!endif
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

Var ServiceWasRunning
Var ServiceState

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Veltrano"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Veltrano"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Veltrano Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Veltrano"

; Ends a running Pellacor.exe the way its menu's Exit does, so that it writes the day first. The
; running window keeps its handle under Options; a handle left behind by a program that is gone
; may belong to another window by now, so the message goes only to a window of Pellacor.exe.
; Aborts when the program is still there after the wait.
!macro DEFINE_CLOSE_PROGRAM prefix
Function ${prefix}CloseRunningProgram
  ClearErrors
  ReadRegDWORD $0 HKCU "${OPTIONS_KEY}" "HWND"
  ${If} ${Errors}
  ${OrIf} $0 == 0
    Return
  ${EndIf}
  System::Call 'user32::IsWindow(p r0) i .r1'
  ${If} $1 == 0
    Return
  ${EndIf}
  StrCpy $2 0
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2) i'
  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r2) p .r3'
  ${If} $3 == 0
    Return
  ${EndIf}
  StrCpy $5 ""
  System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r5, *i ${NSIS_MAX_STRLEN}) i .r6'
  ${GetFileName} "$5" $5
  ${If} $6 == 0
  ${OrIf} $5 != "Pellacor.exe"
    System::Call 'kernel32::CloseHandle(p r3)'
    Return
  ${EndIf}
  DetailPrint "Ending the running Veltrano..."
  ${Do}
    System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${ID_EXIT}, p 0) i'
    System::Call 'kernel32::WaitForSingleObject(p r3, i ${PROGRAM_EXIT_WAIT_MS}) i .r6'
    ${If} $6 == 0
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Veltrano is still running. Close it, then choose Retry." \
      /SD IDCANCEL IDRETRY retry
    System::Call 'kernel32::CloseHandle(p r3)'
    Abort "Veltrano is still running."
    retry:
  ${Loop}
  System::Call 'kernel32::CloseHandle(p r3)'
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PROGRAM ""
!insertmacro DEFINE_CLOSE_PROGRAM "un."

; A program still running from the folder (one whose window was not found, or the service program
; run by hand) would make the copy or the removal fail file by file: $R2 is refused as a whole
; instead, unless the user closes it. A program that is just ending gets a few seconds first.
!macro DEFINE_REFUSE_WHILE_IN_USE prefix
Function ${prefix}RefuseWhileInUse
  StrCpy $3 0
  ${DoWhile} ${FileExists} $R2
    ClearErrors
    FileOpen $2 $R2 a
    ${IfNot} ${Errors}
      FileClose $2
      ${Break}
    ${EndIf}
    IntOp $3 $3 + 1
    ${If} $3 < 25
      Sleep ${SERVICE_WAIT_ROUND_MS}
      ${Continue}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R2 is in use. Close it, then choose Retry." \
      /SD IDCANCEL IDRETRY retry
    Abort "$R2 is in use."
    retry:
    StrCpy $3 0
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_REFUSE_WHILE_IN_USE ""
!insertmacro DEFINE_REFUSE_WHILE_IN_USE "un."

; The service through the service manager itself, which answers the same in every language:
; $R1 is "query", "stop" or "start"; $ServiceState becomes the state it is in afterwards
; (1 stopped ... 4 running), or 0 when the service is not installed. Stopping and starting wait
; a bounded time for the service to get there.
!macro DEFINE_SERVICE_CONTROL prefix
Function ${prefix}ServiceControl
  StrCpy $ServiceState 0
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 1) p .r8'
  ${If} $8 == 0
    Return
  ${EndIf}
  ; SERVICE_QUERY_STATUS | SERVICE_START | SERVICE_STOP
  System::Call 'advapi32::OpenServiceW(p r8, w "${SERVICE_NAME}", i 0x34) p .r9'
  ${If} $9 == 0
    System::Call 'advapi32::CloseServiceHandle(p r8)'
    Return
  ${EndIf}
  System::Call '*(i, i, i, i, i, i, i) p .r7'
  System::Call 'advapi32::QueryServiceStatus(p r9, p r7) i .r6'
  System::Call '*$7(i, i .s)'
  Pop $ServiceState
  StrCpy $5 0
  ${If} $R1 == "stop"
  ${AndIf} $ServiceState != 1
    System::Call 'advapi32::ControlService(p r9, i 1, p r7) i .r6'
    ${Do}
      Sleep ${SERVICE_WAIT_ROUND_MS}
      IntOp $5 $5 + 1
      System::Call 'advapi32::QueryServiceStatus(p r9, p r7) i .r6'
      System::Call '*$7(i, i .s)'
      Pop $ServiceState
      ${IfThen} $5 >= ${SERVICE_WAIT_ROUNDS} ${|} ${Break} ${|}
    ${LoopUntil} $ServiceState == 1
  ${ElseIf} $R1 == "start"
  ${AndIf} $ServiceState == 1
    System::Call 'advapi32::StartServiceW(p r9, i 0, p 0) i .r6'
    ${Do}
      Sleep ${SERVICE_WAIT_ROUND_MS}
      IntOp $5 $5 + 1
      System::Call 'advapi32::QueryServiceStatus(p r9, p r7) i .r6'
      System::Call '*$7(i, i .s)'
      Pop $ServiceState
      ${IfThen} $5 >= ${SERVICE_WAIT_ROUNDS} ${|} ${Break} ${|}
    ${LoopUntil} $ServiceState != 2
  ${EndIf}
  System::Free $7
  System::Call 'advapi32::CloseServiceHandle(p r9)'
  System::Call 'advapi32::CloseServiceHandle(p r8)'
FunctionEnd
!macroend
!insertmacro DEFINE_SERVICE_CONTROL ""
!insertmacro DEFINE_SERVICE_CONTROL "un."

Section "Veltrano" SecProgram
  SectionIn RO
  Call CloseRunningProgram
  StrCpy $ServiceWasRunning 0
  StrCpy $R1 "query"
  Call ServiceControl
  ${If} $ServiceState != 0
  ${AndIf} $ServiceState != 1
    ${If} $ServiceState == 2
    ${OrIf} $ServiceState == 4
      StrCpy $ServiceWasRunning 1
    ${EndIf}
    DetailPrint "Stopping ${SERVICE_NAME}..."
    StrCpy $R1 "stop"
    Call ServiceControl
    ${If} $ServiceState != 1
      Abort "${SERVICE_NAME} did not stop."
    ${EndIf}
  ${EndIf}
  StrCpy $R2 "$INSTDIR\Pellacor.exe"
  Call RefuseWhileInUse
  StrCpy $R2 "$INSTDIR\PellacorService.exe"
  Call RefuseWhileInUse

  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/Pellacor.exe"
  File "${BIN_DIR}/PellacorService.exe"
  File "${HELP_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Veltrano.lnk" "$INSTDIR\Pellacor.exe"
  SetShellVarContext current

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Veltrano"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Veltrano"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pellacor.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KB: the three files of this section and the uninstaller, not the logs beside them.
  SectionGetSize ${SecProgram} $0
  ${GetSize} "$INSTDIR" "/M=uninstall.exe /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The value the program's own "Start with Windows" option sets.
Section /o "Start with Windows" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "Veltrano" "$INSTDIR\Pellacor.exe"
SectionEnd

Section "-Restart the service"
  ${If} $ServiceWasRunning == 1
    DetailPrint "Starting ${SERVICE_NAME}..."
    StrCpy $R1 "start"
    Call ServiceControl
    ${If} $ServiceState != 4
      ; Everything is installed; the exit code still tells a caller of the silent setup.
      MessageBox MB_OK|MB_ICONEXCLAMATION "Veltrano Service did not start again (state $ServiceState)." /SD IDOK
      SetErrorLevel 1
    ${EndIf}
  ${EndIf}
SectionEnd

Function .onInit
!ifdef AMD64
  SetRegView 64
!endif
  ; An upgrade keeps the start with Windows the user chose in the program.
  ClearErrors
  ReadRegStr $0 HKCU "${RUN_KEY}" "Veltrano"
  ${IfNot} ${Errors}
    SectionGetFlags ${SecRun} $1
    IntOp $1 $1 | ${SF_SELECTED}
    SectionSetFlags ${SecRun} $1
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${IfNot} ${Errors}
  ${AndIf} $0 != ""
    ${VersionCompare} "$0" "${VERSION}" $1
    ${If} $1 == 1
      MessageBox MB_YESNO|MB_ICONQUESTION \
        "Veltrano $0 is installed, which is newer than ${VERSION}.$\n$\nReplace it with ${VERSION}?" \
        /SD IDYES IDYES replace
      Abort
      replace:
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
!ifdef AMD64
  SetRegView 64
!endif
FunctionEnd

; The service program may still be ending after the service stopped: give it a moment.
Function un.DeleteServiceProgram
  StrCpy $5 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\PellacorService.exe"
    ${IfNot} ${FileExists} "$INSTDIR\PellacorService.exe"
      ${Break}
    ${EndIf}
    Sleep ${SERVICE_WAIT_ROUND_MS}
    IntOp $5 $5 + 1
  ${LoopUntil} $5 >= 50
  ${If} ${FileExists} "$INSTDIR\PellacorService.exe"
    Delete /REBOOTOK "$INSTDIR\PellacorService.exe"
  ${EndIf}
FunctionEnd

; The traffic log where the program looks for it, the one handed to the service, the service's own
; default beside its program, and both settings keys.
Function un.RemoveLogAndSettings
  SetShellVarContext current
  ReadRegStr $0 HKCU "${OPTIONS_KEY}" "TrafficLogFile"
  ${If} $0 == ""
    StrCpy $0 "$APPDATA\Pellacor\${LOG_FILE_NAME}"
  ${EndIf}
  Delete "$0"
  ReadRegStr $1 HKLM "${OPTIONS_KEY}" "TrafficLogFile"
  ${If} $1 != ""
    Delete "$1"
  ${EndIf}
  Delete "$INSTDIR\${LOG_FILE_NAME}"
  RMDir "$APPDATA\Pellacor"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningProgram
  StrCpy $R2 "$INSTDIR\Pellacor.exe"
  Call un.RefuseWhileInUse
  StrCpy $R1 "stop"
  Call un.ServiceControl
  ${If} $ServiceState > 1
    Abort "${SERVICE_NAME} did not stop."
  ${EndIf}
  ${If} $ServiceState != 0
    DetailPrint "Removing ${SERVICE_NAME}..."
    nsExec::ExecToLog '"$INSTDIR\PellacorService.exe" /uninstall'
    Pop $0
  ${EndIf}

  Delete "$INSTDIR\Pellacor.exe"
  Call un.DeleteServiceProgram
  Delete "$INSTDIR\Pellacor.chm"
  ; The service program's own record of its runs.
  Delete "$INSTDIR\pellacorservice.log"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Veltrano.lnk"
  SetShellVarContext current
  DeleteRegValue HKCU "${RUN_KEY}" "Veltrano"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Keep the traffic log and the settings of Veltrano?$\n$\nChoose No to delete them as well." \
    /SD IDYES IDYES keep
  Call un.RemoveLogAndSettings
  keep:

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
