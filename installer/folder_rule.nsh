; Where each install mode may put the program.
;
; Per machine, the program is run by every user (the all-users shortcut and its hotkey) and by
; administrators (the HKLM UninstallString), so only administrators may be able to change its
; files. Under Program Files they can; a folder elsewhere inherits the rights of its parents,
; and under C:\ standard users may modify what they find. Resetting the folder's rights is no
; remedy while a parent stays writable to them, so a per-machine install goes under Program
; Files or nowhere. Per user, the program runs as that user alone, and any folder will do; but
; a folder that setup did not get from the user's own choice is one more thing (MayReuseFolder).
;
; Needs MultiUser.nsh and LogicLib.nsh, and PRODUCT defined.

Var FolderHint ; the folder page's text, for the mode chosen
Var FolderRefusal ; why $INSTDIR may not be used, or empty when it may

; $2 = 1 when the full path $0 lies inside the folder $1 (not the folder itself), else 0.
Function IsInside
  StrLen $3 "$1\"
  StrCpy $4 $0 $3
  StrLen $5 $0
  ; NSIS compares without regard to case, as Windows does paths.
  ${If} $4 == "$1\"
  ${AndIf} $5 > $3
    StrCpy $2 1
  ${Else}
    StrCpy $2 0
  ${EndIf}
FunctionEnd

; $0 = the Program Files folders, as the texts name them. A 32-bit installer on 64-bit Windows
; has two; on 32-bit Windows both variables name the same one.
Function ProgramFilesNames
  ${If} $PROGRAMFILES == $PROGRAMFILES64
    StrCpy $0 "$PROGRAMFILES"
  ${Else}
    StrCpy $0 "$PROGRAMFILES or $PROGRAMFILES64"
  ${EndIf}
FunctionEnd

; $0 = $INSTDIR as Windows resolves "..", "." and "/", so that "C:\Program Files\..\Tools" counts
; as C:\Tools. NSIS's GetFullPathName would not do: it fails for a folder that does not exist yet.
; Empty on failure, which no folder contains.
Function ResolveFolder
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
  ${If} $1 = 0
  ${OrIf} $1 >= ${NSIS_MAX_STRLEN}
    StrCpy $0 ""
  ${EndIf}
FunctionEnd

; Sets $FolderRefusal for $INSTDIR in the current mode.
Function CheckFolder
  StrCpy $FolderRefusal ""
  ${If} $MultiUser.InstallMode != "AllUsers"
    Return
  ${EndIf}
  Call ResolveFolder
  StrCpy $1 "$PROGRAMFILES"
  Call IsInside
  ${If} $2 = 0
    StrCpy $1 "$PROGRAMFILES64"
    Call IsInside
  ${EndIf}
  ${If} $2 = 0
    Call ProgramFilesNames
    StrCpy $FolderRefusal "Installed for everyone using this computer, ${PRODUCT} goes only \
      into a folder under $0, where only administrators may change it; not into $INSTDIR.\
      $\r$\n$\r$\nChoose a folder under $0, or go back and install just for you: that may go \
      anywhere."
  ${EndIf}
FunctionEnd

; $2 = 1 when $INSTDIR, the folder that the entry of an install already there records, may be
; installed into again in the current mode, else 0. Per machine, the entry is HKLM's, and the
; folder must pass the rule above all the same. Per user, the entry is HKCU's, which any program
; the user runs may have written: with administrator rights, setup takes from it only a folder
; inside the user's own profile, which those programs may change anyway.
Function MayReuseFolder
  StrCpy $2 0
  ${If} $INSTDIR == ""
    Return
  ${EndIf}
  Call CheckFolder
  ${If} $FolderRefusal != ""
    Return
  ${EndIf}
  StrCpy $2 1
  ${If} $MultiUser.InstallMode == "AllUsers"
    Return
  ${EndIf}
  ${If} $MultiUser.Privileges != "Admin"
  ${AndIf} $MultiUser.Privileges != "Power"
    Return
  ${EndIf}
  Call ResolveFolder
  StrCpy $1 "$PROFILE"
  Call IsInside
FunctionEnd

; The folder page's pre function: says where this mode may install.
Function ExplainFolder
  ${If} $MultiUser.InstallMode == "AllUsers"
    Call ProgramFilesNames
    StrCpy $FolderHint "Setup will install ${PRODUCT} for everyone using this computer, in a \
      folder under $0, where only administrators may change it. To install in a different \
      folder there, click Browse and select it."
  ${Else}
    StrCpy $FolderHint "Setup will install ${PRODUCT} just for you, in the following folder. \
      To install in a different folder, anywhere, click Browse and select it."
  ${EndIf}
FunctionEnd

; The folder page's leave function: stays on the page, saying why, for a folder the mode may
; not use.
Function RefuseFolder
  Call CheckFolder
  ${If} $FolderRefusal != ""
    MessageBox MB_ICONSTOP|MB_OK "$FolderRefusal"
    Abort
  ${EndIf}
FunctionEnd
