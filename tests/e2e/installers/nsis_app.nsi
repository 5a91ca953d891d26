; A small NSIS installer for the end-to-end tests. It installs one text file and its uninstaller,
; and registers the uninstaller in the uninstall registry with a quoted path that contains blanks.
; The uninstaller asks for confirmation first (UninstPage uninstConfirm), in a window captioned
; "<name> Removal", and closes by itself when it is done.
;
;   makensis -DOUT_FILE=machine.exe nsis_app.nsi              per machine: HKLM, Program Files
;   makensis -DOUT_FILE=user.exe -DPER_USER nsis_app.nsi      per user: HKCU, local application data
;
; Install it silently with /S.

Unicode true

!ifdef PER_USER
  !define APP_NAME "Tapwise User App"
  !define REG_ROOT HKCU
  RequestExecutionLevel user
  InstallDir "$LOCALAPPDATA\${APP_NAME}"
!else
  !define APP_NAME "Tapwise Test App"
  !define REG_ROOT HKLM
  RequestExecutionLevel admin
  InstallDir "$PROGRAMFILES\${APP_NAME}"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"

Name "${APP_NAME}"
OutFile "${OUT_FILE}"
UninstallCaption "${APP_NAME} Removal"
ShowUninstDetails nevershow

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  FileOpen $0 "$INSTDIR\readme.txt" w
  FileWrite $0 "Installed for the end-to-end tests.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr ${REG_ROOT} "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr ${REG_ROOT} "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr ${REG_ROOT} "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
SectionEnd

Section "Uninstall"
  SetAutoClose true
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  DeleteRegKey ${REG_ROOT} "${UNINSTALL_KEY}"
SectionEnd
