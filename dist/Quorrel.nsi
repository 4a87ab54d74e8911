; Quorrel's installer and uninstaller. Built by dist/make-dist, which defines:
;   BIN      the folder with Quorrel.exe, Res.dll, Form.dll, icon.dll and Help.chm
;   OUTFILE  the installer to write
;   ICON     (optional) the program's icon, used for the installer and uninstaller
; The version is read from Quorrel.exe's own version resource, so the installer never
; disagrees with the program it carries.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!getdllversion "${BIN}\Quorrel.exe" QUORREL_VERSION_
!define VERSION "${QUORREL_VERSION_1}.${QUORREL_VERSION_2}.${QUORREL_VERSION_3}"
!define PUBLISHER "The Quorrel developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorrel"
; Explorer's folder verbs, machine-wide; the program writes the same values at every start.
!define VERBS_KEY "Software\Classes\Directory\Shell"
!define SHORTCUT "$SMPROGRAMS\Quorrel.lnk"

Name "Quorrel"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Quorrel"
; A reinstall or update goes where the last installation went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quorrel ${VERSION}"

VIProductVersion "${QUORREL_VERSION_1}.${QUORREL_VERSION_2}.${QUORREL_VERSION_3}.${QUORREL_VERSION_4}"
VIAddVersionKey /LANG=1033 "ProductName" "Quorrel"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Quorrel ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright © 2026 the Quorrel developers"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Quorrel ${VERSION} setup"
!define MUI_WELCOMEPAGE_TEXT "This installs Quorrel, which gives single folders and drives a look of their own in Explorer.$\r$\n$\r$\nSetup needs administrator rights: it writes to the Program Files folder and adds Quorrel's three entries (Quorrel Adorn, Quorrel Pretend, Quorrel Default) to Explorer's folder menu for every user of this computer. Windows asks for them when setup starts.$\r$\n$\r$\nQuorrel itself runs without administrator rights; only drive icons need them.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_WELCOMEPAGE_TITLE "Remove Quorrel ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "This removes Quorrel's program files, its Start-menu entry and its three entries in Explorer's folder menu.$\r$\n$\r$\nFolders and drives that you changed with Quorrel keep their look: their settings files and drive icons are yours and stay. To return a folder to Windows' defaults, use Quorrel Default on it before you remove Quorrel.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_UNPAGE_WELCOME
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The files that make up the program; the uninstaller removes exactly these.
!macro QuorrelFiles Action
  !insertmacro ${Action} "Quorrel.exe"
  !insertmacro ${Action} "Res.dll"
  !insertmacro ${Action} "Form.dll"
  !insertmacro ${Action} "icon.dll"
  !insertmacro ${Action} "Help.chm"
!macroend
!macro InstallFile Name
  File "${BIN}\${Name}"
!macroend
!macro RemoveFile Name
  Delete "$INSTDIR\${Name}"
!macroend

!macro VerbKeys Action
  !insertmacro ${Action} "Adorn"
  !insertmacro ${Action} "Pretend"
  !insertmacro ${Action} "Default"
!macroend
; The same command text the program writes: "<exe>" <verb> "%1".
!macro WriteVerb Verb
  WriteRegStr HKLM "${VERBS_KEY}\Quorrel ${Verb}\command" "" '"$INSTDIR\Quorrel.exe" ${Verb} "%1"'
!macroend
!macro RemoveVerb Verb
  DeleteRegKey HKLM "${VERBS_KEY}\Quorrel ${Verb}"
!macroend

; Refuses to go on without administrator rights (a standard user with the prompt turned off, or
; a silent run from a prompt without them): half an installation would be worse than none.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP|MB_OK "Administrator rights are needed: Quorrel's files go to the Program Files folder and its Explorer entries are written for every user.$\r$\n$\r$\nStart this program again with $\"Run as administrator$\"." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RequireAdministrator
  SetShellVarContext all
FunctionEnd

Function un.onInit
  !insertmacro RequireAdministrator
  SetShellVarContext all
FunctionEnd

Section "Quorrel"
  SetOutPath "$INSTDIR"
  !insertmacro QuorrelFiles InstallFile
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\Quorrel.exe" "" "$INSTDIR\Quorrel.exe" 0 SW_SHOWNORMAL "" \
    "Give folders and drives a look of their own"

  !insertmacro VerbKeys WriteVerb

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorrel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Removes what setup wrote and nothing else: a file the user put into the program's folder keeps
; the folder, and folders' settings files and drive icon keys are never touched.
Section "Uninstall"
  !insertmacro QuorrelFiles RemoveFile
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  !insertmacro VerbKeys RemoveVerb
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
