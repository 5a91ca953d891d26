; A small per-user NSIS package whose entry registers a quiet uninstall command. Its uninstaller
; copies itself to the temporary folder and runs the copy, as every NSIS uninstaller does, so the
; first process ends at once. One of three uninstallers, by define:
;
;   (none)      removes its files and its entry
;   -DFAILS     keeps everything, and its copy ends with exit code 3
;   -DASKS      shows a box even under /S, which nobody answers
;
;   makensis -DOUT_FILE=quiet-remove.exe -DAPP_NAME="Tapwise Quiet Remove" quiet_app.nsi

Unicode true
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"

Name "${APP_NAME}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\${APP_NAME}"
ShowUninstDetails nevershow

Page instfiles
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  FileOpen $0 "$INSTDIR\readme.txt" w
  FileWrite $0 "Installed for the quiet uninstall tests.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
SectionEnd

Section "Uninstall"
  SetAutoClose true
!ifdef FAILS
  SetErrorLevel 3
!else ifdef ASKS
  MessageBox MB_OK "Close the other program first."
!else
  ; Slow enough that the first process has long ended when the entry goes.
  Sleep 1500
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
!endif
SectionEnd
