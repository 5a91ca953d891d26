; Two programs of one publisher for the leftovers tests, installed for everyone under
; Program Files\Acme\<name>. Installing also does what running the program once would: a log in
; its folder, settings in the user's Roaming and Local folders and registry. Its uninstaller
; removes only its program, its uninstaller and its entry, and leaves the rest behind, as many do.
;
;   makensis -DOUT_FILE=widget.exe -DAPP=Widget acme_app.nsi
;
; Install it silently with /S; its quiet uninstall is "uninst.exe /S".

Unicode true
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define EXE "$INSTDIR\${APP}.exe"

Name "${APP}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Acme\${APP}"
ShowUninstDetails nevershow

Page instfiles
UninstPage instfiles

Section "Install"
  SetOutPath "$INSTDIR"
  FileOpen $0 "${EXE}" w
  FileWrite $0 "MZ stands in for the program."
  FileClose $0
  CreateDirectory "$INSTDIR\logs"
  FileOpen $0 "$INSTDIR\logs\${APP}.log" w
  FileWrite $0 "Run once.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninst.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Acme"
  CreateShortcut "$SMPROGRAMS\Acme\${APP}.lnk" "${EXE}"
  SetShellVarContext current
  CreateDirectory "$APPDATA\Acme\${APP}"
  FileOpen $0 "$APPDATA\Acme\${APP}\settings.ini" w
  FileWrite $0 "[${APP}]$\r$\n"
  FileClose $0
  CreateDirectory "$LOCALAPPDATA\Acme\${APP}\Cache"
  FileOpen $0 "$LOCALAPPDATA\Acme\${APP}\Cache\cache.bin" w
  FileWrite $0 "cached"
  FileClose $0

  WriteRegStr HKCU "Software\Acme\${APP}" "LastRun" "today"
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"${EXE}" /tray'
  WriteRegStr HKLM "${RUN_KEY}" "${APP}" '"${EXE}" /tray'
  WriteRegStr HKLM "Software\Classes\.acme${APP}\shell\open\command" "" '"${EXE}" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Acme"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
SectionEnd

Section "Uninstall"
  SetAutoClose true
  Delete "${EXE}"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
