; The setup program: installs the screen saver for all users (run as administrator, or /AllUsers)
; or for the current user alone (a standard user, or /CurrentUser), registers the .glx template
; type and an Apps & Features entry, and builds the uninstaller that takes all of it back.
; makensis -DSCR_DIR=<folder of the .scr and its two files> -DSOURCE_DIR=<repository>
;          -DOUTFILE=<setup program> -DLICENCE=<licence text> installer/GlintoraFireworks.nsi

Unicode true
; Wine here and every 64-bit Windows: a 64-bit setup program sees the real system folder.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Glintora Fireworks"
!define VERSION "1.0"
!define PUBLISHER "Glintora"
!define SCR "GlintoraFireworks.scr"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GlintoraFireworks"
!define PROGID "GlintoraFireworks.Template"
!define SETTINGS_KEY "Software\GlintoraFireworks"
; The user's own screen saver before ours, kept in the user's keys: another account's uninstall
; must not hand it to that account.
!define PREVIOUS_KEY "${SETTINGS_KEY}\PreviousScreenSaver"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SHORTCUT "Glintora Fireworks Settings.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion 1.0.0.0
VIFileVersion 1.0.0.0
VIAddVersionKey /LANG=1033 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (c) 2026 Glintora Fireworks developers. MIT licence."
VIAddVersionKey /LANG=1033 FileDescription "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 FileVersion "1.0.0.0"

!define MUI_ICON "${SOURCE_DIR}/resources/glintora.ico"
!define MUI_UNICON "${SOURCE_DIR}/resources/glintora.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SOURCE_DIR}/resources/setup.bmp"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
; Shown, not agreed to: the MIT licence asks nothing of the one who installs.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "${PRODUCT} is free software under the MIT licence above. Click Next to continue."
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var AllUsers     ; 1: machine-wide, 0: this user only
Var ScrFolder    ; where the program and its two companions live

; Machine-wide: the program in the system folder (the only one the Screen Saver Settings list),
; the uninstaller under Program Files. Per user: everything under the user's programs folder.
!macro ChooseFolders un
Function ${un}ChooseFolders
  ; The uninstaller keeps $INSTDIR: the folder it was started from.
  ${If} $AllUsers == 1
    SetShellVarContext all
    StrCpy $ScrFolder $SYSDIR
    !if "${un}" == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    !endif
  ${Else}
    SetShellVarContext current
    !if "${un}" == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    !endif
    StrCpy $ScrFolder $INSTDIR
  ${EndIf}
FunctionEnd

; True in $0 when the text in $0 names our program (long or short form; the Screen Saver
; Settings write the short one).
Function ${un}IsOurProgram
  GetFullPathName /SHORT $1 "$ScrFolder\${SCR}"
  ${If} $0 == "$ScrFolder\${SCR}"
  ${OrIf} $0 == $1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro ChooseFolders ""
!insertmacro ChooseFolders "un."

; True in $0 when the text in $0 names our program of either install kind, or any program of
; ours by its name: the other kind's program chosen means the record still holds the user's own.
Function IsAnyOurProgram
  StrCpy $2 $0
  Call IsOurProgram
  ${If} $0 == 0
    ${If} $AllUsers == 1
      SetShellVarContext current
      StrCpy $3 "$LOCALAPPDATA\Programs\${PRODUCT}\${SCR}"
      SetShellVarContext all
    ${Else}
      StrCpy $3 "$SYSDIR\${SCR}"
    ${EndIf}
    GetFullPathName /SHORT $1 $3
    StrCpy $0 $2 "" -22
    ${If} $0 == "\${SCR}"
      StrCpy $0 1
    ${ElseIf} $1 != ""
    ${AndIf} $2 == $1
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
FunctionEnd

; An all-users install or uninstall writes the system folder and the machine's keys: without an
; administrator it would fail half-way, so it stops before changing anything.
!macro RefuseWithoutAdministrator account message
  ${If} ${account} != "Admin"
    MessageBox MB_ICONSTOP "${message}" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath $ScrFolder
  File "${SCR_DIR}/${SCR}"
  File "${SCR_DIR}/glintora-help.html"
  File "${SCR_DIR}/Glinto10.wav"
  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Templates open in the saver, which imports them; "Edit settings" opens the properties.
  WriteRegStr SHCTX "Software\Classes\.glx" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${PRODUCT} Template"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" '"$ScrFolder\${SCR}",0'
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell" "" "open"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$ScrFolder\${SCR}" "%1"'
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\settings" "" "Edit settings"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\settings\command" "" '"$ScrFolder\${SCR}" /c'

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$ScrFolder\${SCR}" "/c" "$ScrFolder\${SCR}" 0

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$ScrFolder\${SCR},0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

; Copies the desktop's value NAME into the record; a value the desktop lacks stays out of it.
!macro RecordDesktopValue name
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "${name}"
  ${IfNot} ${Errors}
    WriteRegStr HKCU "${PREVIOUS_KEY}" "${name}" $0
  ${EndIf}
!macroend

Section "Use ${PRODUCT} as my screen saver" SecSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call IsAnyOurProgram
  ; An upgrade, or an install of the other kind over ours, keeps the saver that was there
  ; before the first install; the record then belongs to the kind whose program is chosen.
  ${If} $0 == 0
    DeleteRegKey HKCU "${PREVIOUS_KEY}"
    !insertmacro RecordDesktopValue "SCRNSAVE.EXE"
    !insertmacro RecordDesktopValue "ScreenSaveActive"
    WriteRegDWORD HKCU "${PREVIOUS_KEY}" "Recorded" 1
  ${EndIf}
  ReadRegDWORD $0 HKCU "${PREVIOUS_KEY}" "Recorded"
  ${If} $0 == 1
    WriteRegDWORD HKCU "${PREVIOUS_KEY}" "AllUsers" $AllUsers
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$ScrFolder\${SCR}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE, written and broadcast, so the running session takes it up.
  System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
SectionEnd

Function .onInit
  ${GetParameters} $R0
  UserInfo::GetAccountType
  Pop $R1
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R2
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    ClearErrors
    ${GetOptions} $R0 "/CurrentUser" $R2
    ${IfNot} ${Errors}
      StrCpy $AllUsers 0
    ${ElseIf} $R1 == "Admin"
      StrCpy $AllUsers 1
    ${Else}
      StrCpy $AllUsers 0
    ${EndIf}
  ${EndIf}
  ${If} $AllUsers == 1
    !insertmacro RefuseWithoutAdministrator $R1 "Installing for all users needs an administrator: run the setup program as administrator, or install for yourself with /CurrentUser."
  ${EndIf}
  ; For deployment: the box unticked from the command line.
  ClearErrors
  ${GetOptions} $R0 "/KeepSaver" $R2
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecSaver}
  ${EndIf}
  Call ChooseFolders
FunctionEnd

; ---- the uninstaller

; Puts the recorded value NAME back on the desktop, or removes it there when it was missing.
!macro RestoreDesktopValue name
  ClearErrors
  ReadRegStr $0 HKCU "${PREVIOUS_KEY}" "${name}"
  ${If} ${Errors}
    DeleteRegValue HKCU "${DESKTOP_KEY}" "${name}"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "${name}" $0
  ${EndIf}
!macroend

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  ; The previous screen saver comes back only while ours is still the one chosen.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.IsOurProgram
  StrCpy $3 $0
  ${If} $3 == 1
    ReadRegDWORD $0 HKCU "${PREVIOUS_KEY}" "Recorded"
    ${If} $0 == 1
      !insertmacro RestoreDesktopValue "SCRNSAVE.EXE"
      !insertmacro RestoreDesktopValue "ScreenSaveActive"
    ${Else}
      ; An account that chose ours itself had nothing recorded: no saver, and off.
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "0"
    ${EndIf}
  ${EndIf}
  ; A record made for the other kind's program, still chosen, stays for that one's uninstall.
  ClearErrors
  ReadRegDWORD $0 HKCU "${PREVIOUS_KEY}" "AllUsers"
  ${If} $3 == 1
  ${OrIf} ${Errors}
  ${OrIf} $0 == $AllUsers
    DeleteRegKey HKCU "${PREVIOUS_KEY}"
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"

  Delete "$ScrFolder\${SCR}"
  Delete "$ScrFolder\glintora-help.html"
  Delete "$ScrFolder\Glinto10.wav"
  Delete "$SMPROGRAMS\${SHORTCUT}"

  ReadRegStr $0 SHCTX "Software\Classes\.glx" ""
  ${If} $0 == "${PROGID}"
    DeleteRegKey SHCTX "Software\Classes\.glx"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

; Off unless ticked or asked for with /RemoveSettings; a plain silent uninstall keeps them.
Section /o "un.Also remove my settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd

Function un.onInit
  ; The uninstaller knows its mode by where it lives.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 == $INSTDIR
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $R1
    !insertmacro RefuseWithoutAdministrator $R1 "Removing ${PRODUCT} for all users needs an administrator: run the uninstaller as administrator."
  ${EndIf}
  Call un.ChooseFolders
  ; For deployment: the box ticked from the command line.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/RemoveSettings" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
