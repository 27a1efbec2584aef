; The Windows installer of the Check Tool (cmake/windows_package.cmake makes it):
;   makensis -DVERSION=1.0.0.1 "-DPRODUCT=Tarvo Check Tool" -DURL=<home page> -DPROGRAMS=<folder with both
;            signed programs> -DREADME=<read-me> -DSIGN=<sign-programs> -DOUTFILE=<setup.exe> checktool.nsi
; with the certificate named in the environment as sign-programs wants it: the uninstaller and the
; installer are signed as they are made.
;
; For every user (Program Files, HKLM; needs an administrator) or for the current user only
; (%LOCALAPPDATA%\Programs, HKCU; needs no administrator): chosen on the first page, or /AllUsers and
; /CurrentUser on the command line; /S silent, /D=FOLDER (last, unquoted) another folder. An earlier
; version in the same scope is removed first, by its own uninstaller; its folder is the default one.
; Exit status: 0 installed, 1 cancelled, 2 failed, 3 a newer version is installed (silently, a downgrade
; is refused), 4 the Check Tool is running (or one of its files is in use).
;
; A 64-bit installer: the default 32-bit stub installs nothing under a 64-bit Wine while reporting
; success, and the programs are 64-bit anyway.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarvoCheckTool"
; The window holds it while it runs (checktool-cli.exe holds none: its file being in use tells).
!define INSTANCE_MUTEX "MUTEX_OF_TarvoCheckTool"
!define SYNCHRONIZE 0x00100000
!define EXIT_NEWER_INSTALLED 3
!define EXIT_TOOL_RUNNING 4

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Tarvo\CheckTool"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_FUNCTION ChooseInstallFolder
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "$(ModeTop)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "$(ModeAllUsers)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "$(ModeCurrentUser)"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WordFunc.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!uninstfinalize '"${SIGN}" --name "${PRODUCT}" --url "${URL}" "%1"' = 0
!finalize '"${SIGN}" --name "${PRODUCT}" --url "${URL}" "%1"' = 0
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "Tarvo"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Tarvo"

; /D= from the command line, which choosing the scope would otherwise replace.
Var RequestedFolder

!define MUI_ABORTWARNING
!define MUI_PAGE_HEADER_TEXT "$(ModeTitle)"
!define MUI_PAGE_HEADER_SUBTEXT "$(ModeSubtitle)"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
; The page's texts are ours, in Korean too: MultiUser's English ones are not wanted.
!undef MULTIUSER_INSTALLMODEPAGE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsSignedInUser
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"
!insertmacro MUI_LANGUAGE "English"

LangString ModeTitle ${LANG_KOREAN} "설치 대상 선택"
LangString ModeTitle ${LANG_ENGLISH} "Choose Users"
LangString ModeSubtitle ${LANG_KOREAN} "$(^NameDA)을(를) 사용할 사용자를 선택하십시오."
LangString ModeSubtitle ${LANG_ENGLISH} "Choose for which users you want to install $(^NameDA)."
LangString ModeTop ${LANG_KOREAN} "이 컴퓨터의 모든 사용자를 위해 설치하려면 관리자 권한이 필요합니다. 나만 사용할 경우 관리자 권한 없이 설치할 수 있습니다. $(^ClickNext)"
LangString ModeTop ${LANG_ENGLISH} "Installing $(^NameDA) for all users of this computer needs administrator rights; installing it just for you does not. $(^ClickNext)"
LangString ModeAllUsers ${LANG_KOREAN} "이 컴퓨터의 모든 사용자 (관리자 권한 필요)"
LangString ModeAllUsers ${LANG_ENGLISH} "Anyone using this computer (needs administrator rights)"
LangString ModeCurrentUser ${LANG_KOREAN} "나만 사용"
LangString ModeCurrentUser ${LANG_ENGLISH} "Just for me"
LangString ToolRunning ${LANG_KOREAN} "$(^NameDA)이(가) 실행 중입니다. 프로그램을 모두 닫은 뒤 [다시 시도]를 누르십시오."
LangString ToolRunning ${LANG_ENGLISH} "$(^NameDA) is running. Close it, then press Retry."
LangString NewerInstalled ${LANG_KOREAN} "더 새로운 버전 $R1이(가) 이미 설치되어 있습니다. 이전 버전 ${VERSION}(으)로 바꾸시겠습니까?"
LangString NewerInstalled ${LANG_ENGLISH} "A newer version, $R1, is already installed. Replace it with the older version ${VERSION}?"
LangString EarlierNotRemoved ${LANG_KOREAN} "설치되어 있는 버전을 제거하지 못했습니다. 제어판에서 먼저 제거한 뒤 다시 설치하십시오."
LangString EarlierNotRemoved ${LANG_ENGLISH} "The installed version could not be removed. Uninstall it first, then install again."
LangString FilesInUse ${LANG_KOREAN} "사용 중인 파일이 있어 제거를 마치지 못했습니다. $(^NameDA)을(를) 닫은 뒤 다시 제거하십시오."
LangString FilesInUse ${LANG_ENGLISH} "Some files are in use, so $(^NameDA) was not fully removed. Close it, then uninstall again."
LangString AdminRequired ${LANG_KOREAN} "모든 사용자용으로 설치된 $(^NameDA)은(는) 관리자만 제거할 수 있습니다."
LangString AdminRequired ${LANG_ENGLISH} "$(^NameDA) was installed for all users; only an administrator can remove it."

!macro GOTO_IF_IN_USE FILE LABEL
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $R1 "${FILE}" a
    IfErrors ${LABEL}
    FileClose $R1
  ${EndIf}
!macroend

; Waits, asking, until no copy of the tool runs from the folder on the stack; cancelled, it aborts
; with EXIT_TOOL_RUNNING.
!macro DEFINE_WAIT_UNTIL_TOOL_CLOSED PREFIX
Function ${PREFIX}WaitUntilToolClosed
  Exch $R0
  Push $R1
  check:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${INSTANCE_MUTEX}") p .R1'
  ${If} $R1 P<> 0
    System::Call 'kernel32::CloseHandle(p R1)'
    Goto running
  ${EndIf}
  ; Windows refuses to open a running program's file for writing; opening it changes nothing.
  !insertmacro GOTO_IF_IN_USE "$R0\checktool.exe" running
  !insertmacro GOTO_IF_IN_USE "$R0\checktool-cli.exe" running
  Pop $R1
  Pop $R0
  Return
  running:
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ToolRunning)" /SD IDCANCEL IDRETRY check
  SetErrorLevel ${EXIT_TOOL_RUNNING}
  Abort
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_UNTIL_TOOL_CLOSED ""
!insertmacro DEFINE_WAIT_UNTIL_TOOL_CLOSED "un."

Function .onInit
  SetRegView 64
  StrCpy $RequestedFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

; Called whenever the scope is chosen, after MultiUser has set its default folder.
Function ChooseInstallFolder
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $RequestedFolder != ""
    StrCpy $INSTDIR $RequestedFolder
  ${EndIf}
FunctionEnd

; Removes the version installed in this scope with its own uninstaller, so that nothing of it is left
; and Add/Remove Programs keeps one entry; asks before replacing a newer one.
Function RemoveEarlierVersion
  ReadRegStr $R0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $R1 SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $R0 == ""
    Return
  ${EndIf}
  ${VersionCompare} $R1 "${VERSION}" $R2
  ${If} $R2 == 1
    MessageBox MB_YESNO|MB_ICONQUESTION "$(NewerInstalled)" /SD IDNO IDYES replace
    SetErrorLevel ${EXIT_NEWER_INSTALLED}
    Abort
    replace:
  ${EndIf}
  Push $R0
  Call WaitUntilToolClosed
  ${IfNot} ${FileExists} "$R0\uninstall.exe"
    Return
  ${EndIf}
  DetailPrint "Removing version $R1 from $R0"
  ; In place (_?=), so that it is waited for; /Upgrade keeps the tool's Log folder.
  ClearErrors
  ExecWait '"$R0\uninstall.exe" /S /Upgrade _?=$R0' $R2
  ${If} ${Errors}
  ${OrIf} $R2 != 0
    MessageBox MB_OK|MB_ICONSTOP "$(EarlierNotRemoved)" /SD IDOK
    ${If} $R2 == ${EXIT_TOOL_RUNNING}
      SetErrorLevel ${EXIT_TOOL_RUNNING}
    ${EndIf}
    Abort
  ${EndIf}
  ; Run in place, it could not remove itself.
  Delete "$R0\uninstall.exe"
  RMDir "$R0"
FunctionEnd

; The installer may hold an administrator's token: Explorer starts the tool as the signed-in user, with
; that user's rights, proxy and folders.
Function StartAsSignedInUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\checktool.exe"'
FunctionEnd

Section "Check Tool" main
  SectionIn RO
  Call RemoveEarlierVersion
  Push $INSTDIR
  Call WaitUntilToolClosed
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}/checktool.exe"
  File "${PROGRAMS}/checktool-cli.exe"
  File /oname=README.txt "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The scope chose the Start menu: every user's, or the current user's.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\checktool.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tarvo"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\checktool.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${main} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ; The uninstaller removes the installation it belongs to: the current user's when this user's entry
  ; names its folder, else the one for every user.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.CurrentUser
  ${ElseIf} $MultiUser.Privileges == "Admin"
  ${OrIf} $MultiUser.Privileges == "Power"
    Call un.MultiUser.InstallMode.AllUsers
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "$(AdminRequired)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Push $INSTDIR
  Call un.WaitUntilToolClosed
  Delete "$INSTDIR\checktool.exe"
  Delete "$INSTDIR\checktool-cli.exe"
  Delete "$INSTDIR\README.txt"
  ${If} ${FileExists} "$INSTDIR\checktool.exe"
  ${OrIf} ${FileExists} "$INSTDIR\checktool-cli.exe"
  ${OrIf} ${FileExists} "$INSTDIR\README.txt"
    ; Still registered, uninstaller and all, so that it can be run again once the files are free.
    MessageBox MB_OK|MB_ICONSTOP "$(FilesInUse)" /SD IDOK
    SetErrorLevel ${EXIT_TOOL_RUNNING}
    Abort
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/Upgrade" $1
  ${If} ${Errors}
    ; The log the programs keep beside themselves (Log\<program>_<date>.log); anything else in that
    ; folder is not ours.
    Delete "$INSTDIR\Log\checktool_*.log"
    Delete "$INSTDIR\Log\checktool-cli_*.log"
    RMDir "$INSTDIR\Log"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The publisher's folder of the default location, once nothing else is in it.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Tarvo"
    RMDir $0
  ${EndIf}
SectionEnd
