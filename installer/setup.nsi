; The program's installer and uninstaller.
;
;   makensis -DVERSION=1.9 -DEXE=<built TapwiseUninstaller.exe>
;            -DCONSOLE_EXE=<built TapwiseUninstaller.com> -DOUT_FILE=<setup.exe> setup.nsi
;
; Per machine (Program Files, elevated) or per user (local application data, no elevation): an
; administrator chooses on the first page, where per machine is the default; /AllUsers or
; /CurrentUser on the command line choose without it, and /S (silent) without /CurrentUser
; installs per machine. The uninstall entry records the choice in its UninstallString, so that
; the uninstaller cleans the same root.
;
; The two modes never meet: per machine, setup reads and writes only HKLM's entry, and per user
; only HKCU's. An install per machine over one per user goes beside it, with a folder, entry,
; shortcut and uninstaller of its own.
;
; Where: /D= when given, else the folder of the install already there in the same mode (its
; entry's InstallLocation) when the mode may use it, else the mode's default. Per user, any
; folder will do; per machine, only a folder under Program Files (see folder_rule.nsh).
;
; Nothing that the user's own programs could have written steers an elevated setup: HKCU may
; have been written by any of them, so per machine setup never reads it, and per user with
; administrator rights it takes no folder from there but one inside the user's own profile.
;
; What: the installer writes the program, its console companion for scripts and an uninstaller
; under a name of its own, and the uninstaller removes just those three, and the folder only when nothing else is left in it. The
; folder may be shared with the user's or other programs' files.
;
; Registry view: the program is a 32-bit one, installed where 32-bit programs go, and its entry
; goes into the default view of this 32-bit installer: HKLM's 32-bit view on a 64-bit system. The
; program reads that view and HKLM's 64-bit view, and the uninstall key is not shared between the
; two, so it lists its own entry once. HKCU's uninstall key is one key in both views.

Unicode true
SetCompressor /SOLID lzma

!ifndef VERSION | EXE | CONSOLE_EXE | OUT_FILE
  !error "define VERSION, EXE, CONSOLE_EXE and OUT_FILE"
!endif

!define PRODUCT "Tapwise Uninstaller"
!define PUBLISHER "Quillon Software"
!define PROGRAM "TapwiseUninstaller.exe"
!define CONSOLE_PROGRAM "TapwiseUninstaller.com"
!define UNINSTALLER "Uninstall ${PRODUCT}.exe"
; What earlier releases named their uninstaller; other programs' uninstallers share the name.
!define EARLIER_UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\Quillon\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define HOTKEY "CONTROL|ALT|U"
; The uninstaller may be started by the program itself, which ends right after: its file can
; stay in use for a moment.
!define DELETE_ATTEMPTS 40
!define DELETE_PAUSE_MS 250
!define STILL_RUNNING "${PRODUCT} is still running. Close it, then choose Retry."

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; No MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY: MultiUser would take the mode from HKCU when
; HKLM has no entry. No MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY either: ChooseFolder reads the
; folder of the install already there, and checks it first.
; Called each time a mode is set, after MultiUser has put the mode's default folder in $INSTDIR:
; on start, and on leaving the mode page.
!define MULTIUSER_INSTALLMODE_FUNCTION ChooseFolder
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "folder_rule.nsh"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (C) 2009-2026 ${PUBLISHER}"

!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Press Ctrl+Alt+U, or open $\"${PRODUCT}$\" in the Start menu, and the \
  menu of every installed program comes up at the mouse pointer."
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE ExplainFolder
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseFolder
!define MUI_DIRECTORYPAGE_TEXT_TOP "$FolderHint"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The installer's /D=, which beats every other choice of folder; empty when not given.
Var RequestedFolder

Function ChooseFolder
  ${If} $RequestedFolder != ""
    StrCpy $INSTDIR $RequestedFolder
    Return
  ${EndIf}
  ; A reinstall or upgrade goes into the folder of the install already there in this mode.
  StrCpy $R9 $INSTDIR
  ${If} $MultiUser.InstallMode == "AllUsers"
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${Else}
    ReadRegStr $INSTDIR HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  Call MayReuseFolder
  ${If} $2 = 0
    StrCpy $INSTDIR $R9
  ${EndIf}
FunctionEnd

Function .onInit
  ; The script sets no default InstallDir, so $INSTDIR holds /D= or nothing at this point.
  StrCpy $RequestedFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

; $0 = 1 when the current mode's entry is that of the install in this uninstaller's folder,
; which NSIS has put in $INSTDIR; else 0.
Function un.EntryIsOwn
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  StrCpy $0 0
  ; NSIS compares without regard to case, as Windows does paths.
  ${If} $1 != ""
  ${AndIf} $1 == $INSTDIR
    StrCpy $0 1
  ${EndIf}
FunctionEnd

; The uninstaller cleans the folder it is in, in the mode that its entry's command names. Started
; without that switch, or with the other mode's, it takes the mode whose entry names its folder:
; beside an install of the other mode, it must not take that one's entry and shortcut.
Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  Call un.EntryIsOwn
  ${If} $0 = 1
    Return
  ${EndIf}
  ${If} $MultiUser.InstallMode == "AllUsers"
    Call un.MultiUser.InstallMode.CurrentUser
  ${ElseIf} $MultiUser.Privileges == "Admin"
  ${OrIf} $MultiUser.Privileges == "Power"
    Call un.MultiUser.InstallMode.AllUsers
  ${EndIf}
FunctionEnd

; The install day as yyyymmdd, in local time.
Function InstallDay
  ${GetTime} "" "L" $0 $1 $2 $3 $4 $5 $6
  Push "$2$1$0"
FunctionEnd

!macro ADD_FILE_SIZE FILE
  FileOpen $0 "${FILE}" r
  FileSeek $0 0 END $1
  FileClose $0
  IntOp $R3 $R3 + $1
!macroend

; $R3 = the size in KB of what this install put in the folder, which may hold others' files too.
Function InstalledSize
  StrCpy $R3 0
  !insertmacro ADD_FILE_SIZE "$INSTDIR\${PROGRAM}"
  !insertmacro ADD_FILE_SIZE "$INSTDIR\${UNINSTALLER}"
  IntOp $R3 $R3 / 1024
FunctionEnd

Function WriteUninstallEntry
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $R1 "/AllUsers"
  ${Else}
    StrCpy $R1 "/CurrentUser"
  ${EndIf}
  Call InstallDay
  Pop $R2
  Call InstalledSize
  ; SHCTX is HKLM or HKCU, as the install mode set it.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallDate" "$R2"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" $R1'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" $R1 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; An install over one of a release that named its uninstaller uninstall.exe removes that file, but
; only when the entry it replaces names it: in a folder shared with another program, a file of
; that name may be the other program's. Only per machine, where the entry is HKLM's and the
; folder is under Program Files (the section has checked it): HKCU's entry may have been written
; by any program the user runs, naming any other program's uninstall.exe.
Function RemoveEarlierUninstaller
  ${If} $MultiUser.InstallMode != "AllUsers"
    Return
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  StrCpy $1 '"$INSTDIR\${EARLIER_UNINSTALLER}"'
  StrLen $2 $1
  StrCpy $0 $0 $2
  ; NSIS compares without regard to case, as Windows does paths.
  ${If} $0 == $1
    Delete "$INSTDIR\${EARLIER_UNINSTALLER}"
  ${EndIf}
FunctionEnd

; Deletes a file, waiting a while for a program that still runs from it to end; leaves the file
; when it stays in use.
!macro DELETE_WHEN_FREE FILE
  StrCpy $R0 0
  ${Do}
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
    ${OrIf} $R0 >= ${DELETE_ATTEMPTS}
      ${Break}
    ${EndIf}
    IntOp $R0 $R0 + 1
    Sleep ${DELETE_PAUSE_MS}
  ${Loop}
!macroend

Section "Install"
  ; The folder page has checked the folder already; a silent install has had no page.
  Call CheckFolder
  ${If} $FolderRefusal != ""
    MessageBox MB_ICONSTOP|MB_OK "$FolderRefusal" /SD IDOK
    SetErrorLevel 2
    Abort "$FolderRefusal"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; A copy that still runs cannot be overwritten, and a silent install would go on without it.
  replace_program:
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${PROGRAM}"
  ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
    MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${STILL_RUNNING}" /SD IDCANCEL IDRETRY replace_program
    SetErrorLevel 2
    Abort "${PRODUCT} is still running."
  ${EndIf}
  File "/oname=${PROGRAM}" "${EXE}"
  ; A script may still be running the companion; it is replaced as the program is.
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${CONSOLE_PROGRAM}"
  File "/oname=${CONSOLE_PROGRAM}" "${CONSOLE_EXE}"
  Call RemoveEarlierUninstaller
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0 SW_SHOWNORMAL \
    "${HOTKEY}" "Uninstall a program, or end a running one, from a menu at the mouse pointer"
  Call WriteUninstallEntry
SectionEnd

Section "Uninstall"
  SetAutoClose true
  ; The entry and the shortcut go only when they are this install's: when neither mode's entry
  ; names this folder, they belong to an install elsewhere.
  Call un.EntryIsOwn
  StrCpy $R1 $0
  ${If} $R1 = 1
    Delete "${SHORTCUT}"
  ${EndIf}
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${PROGRAM}"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\${CONSOLE_PROGRAM}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The folder goes only when empty, now or, when the program's file must wait for a restart,
  ; then.
  ${If} ${FileExists} "$INSTDIR\${PROGRAM}"
  ${OrIf} ${FileExists} "$INSTDIR\${CONSOLE_PROGRAM}"
    Delete /REBOOTOK "$INSTDIR\${PROGRAM}"
    Delete /REBOOTOK "$INSTDIR\${CONSOLE_PROGRAM}"
    RMDir /REBOOTOK "$INSTDIR"
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} $R1 = 1
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${EndIf}
  ; What the program itself remembers, for the user who uninstalls it.
  DeleteRegValue HKCU "${SETTINGS_KEY}" "Last"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}\Removals"
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillon"
SectionEnd
