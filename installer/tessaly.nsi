; The Tessaly installer (per machine): the launcher, the application's jars and the Group Policy
; templates, the launcher's registry key and event source, a Start-menu shortcut, the .tsy
; document type and an Add/Remove Programs entry.
; `make installer` builds it; makensis gets from the build:
;   TARGET    x86-unicode (shipped), or amd64-unicode around the x86_64 twin for the tests
;   LAUNCHER  the built tessaly.exe; the installer's version is read from it
;   JARS      the folder of the application's .jar files
;   POLICIES  the folder of the Group Policy templates (tessaly.admx, en-US\tessaly.adml)
;   OUTFILE   the installer to write
;   SIGN      (optional) the signing command, installer/sign: it signs LAUNCHER in place, then
;             the uninstaller and the installer as they are written
Unicode true
!include LogicLib.nsh
!include Win\COM.nsh
!include Win\Propkey.nsh
!include x64.nsh

; ---- What a packager adapts ---------------------------------------------------------------
!define APP        "Tessaly"
!define PUBLISHER  "Quellmark"
; The launcher reads this key; its name is also in the launcher's string table (src/res/tessaly.rc).
!define KEY        "Software\${PUBLISHER}\${APP}"
!define VM_OPTIONS "-Xmx512m"
; The main class comes first: Java takes everything after it as the application's arguments.
!define APP_ARGS   "org.quellmark.tessaly.Main"
!define DOC_EXT    ".tsy"
!define DOC_TYPE   "Tessaly.Document"
!define DOC_NAME   "Tessaly document"
; The identity Tessaly gives its Java (the launcher's string table): Windows groups Tessaly's
; windows under the Start-menu shortcut that carries it, and pins that shortcut.
!define APP_ID     "Quellmark.Tessaly"
; The MSI's UpgradeCode (installer/tessaly.wxs): its installation is found by it.
!define MSI_UPGRADE_CODE "{14BD4D5A-B7B1-4122-B94C-D031D28A126B}"

; ---- The rest follows from those -----------------------------------------------------------
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
; The launcher writes its events to the Application log under this source. SYSTEM is one key for
; 32-bit and 64-bit programs alike: Event Viewer finds it whatever the installer's bitness.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\${APP}"
!getdllversion "${LAUNCHER}" LAUNCHER_
!define VERSION "${LAUNCHER_1}.${LAUNCHER_2}.${LAUNCHER_3}.${LAUNCHER_4}"

!ifdef SIGN
  !system '"${SIGN}" "${APP}" "${LAUNCHER}"' = 0
  !uninstfinalize '"${SIGN}" "${APP}" "%1"' = 0
  !finalize '"${SIGN}" "${APP}" "%1"' = 0
!endif

Target ${TARGET}
Name "${APP}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; Program Files and HKLM need an administrator. The launcher asks for nothing, on purpose.
RequestExecutionLevel admin
; Sharp pages at 150% and 200%: Windows draws an installer without this scaled up, blurred.
ManifestDPIAware true
; The installer has the launcher's bitness, so both see the same Program Files and registry view.
!if "${TARGET}" == "amd64-unicode"
InstallDir "$PROGRAMFILES64\${APP}"
!else
InstallDir "$PROGRAMFILES\${APP}"
!endif
; An upgrade goes where the installation is (quotes and file name are stripped).
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "UninstallString"
; Nothing to read once the files are in: no Close button to wait for.
AutoCloseWindow true

VIProductVersion "${VERSION}"
VIAddVersionKey ProductName "${APP}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "Copyright ${PUBLISHER}"
VIAddVersionKey FileDescription "${APP} setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  ; Two installers would each remove the other's files: the MSI's installation goes first.
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r0) i .r1'
  ${If} $1 == 0
    MessageBox MB_OK|MB_ICONSTOP "${APP} is installed by its MSI package (product $0). Uninstall it first (Add or Remove Programs, or msiexec /x $0), then run this installer." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; The installer's and the uninstaller's own copies of the functions both use.
!macro JAR_FUNCTIONS un
; $5 is 1 when the file name $4 is one of the application's jars: its extension is exactly .jar.
; (The pattern *.jar also matches the short 8.3 alias of tessaly.jar_old or readme.jarx.)
Function ${un}IsJar
  StrCpy $5 $4 "" -4
  ${If} $5 == ".jar"
    StrCpy $5 1
  ${Else}
    StrCpy $5 0
  ${EndIf}
FunctionEnd

; Sets $1 to the file $0 when it exists and cannot be deleted: another program holds it open
; (Tessaly, its jars), or it is not ours to delete.
Function ${un}CheckDeletable
  ${If} ${FileExists} $0
    ; DELETE access, no sharing, open existing.
    System::Call 'kernel32::CreateFileW(w r0, i 0x10000, i 0, p 0, i 3, i 0, p 0) p .r2'
    ${If} $2 == -1
      StrCpy $1 $0
    ${Else}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${EndIf}
FunctionEnd

; Tessaly holds its jars open while it runs: then nothing may be changed, or a jar would stay
; (beside the new ones, after an upgrade). The user closes it and retries, or cancels; silently
; the installer or uninstaller stops, with exit code 2. Either way the installation stays as it was.
Function ${un}WaitUntilNotRunning
  ${Do}
    StrCpy $1 ""
    StrCpy $0 "$INSTDIR\tessaly.exe"
    Call ${un}CheckDeletable
    FindFirst $3 $4 "$INSTDIR\lib\*.jar"
    ${DoWhile} $4 != ""
      Call ${un}IsJar
      ${If} $5 = 1
        StrCpy $0 "$INSTDIR\lib\$4"
        Call ${un}CheckDeletable
      ${EndIf}
      FindNext $3 $4
    ${Loop}
    FindClose $3
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is running: $1 is in use.$\n$\nClose ${APP}, then choose Retry. Cancel leaves the installation as it was." /SD IDCANCEL IDCANCEL`
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Loop}
FunctionEnd

; One by one: every jar in lib joins the class path, and only those are the application's.
Function ${un}DeleteJars
  FindFirst $3 $4 "$INSTDIR\lib\*.jar"
  ${DoWhile} $4 != ""
    Call ${un}IsJar
    ${If} $5 = 1
      Delete "$INSTDIR\lib\$4"
    ${EndIf}
    FindNext $3 $4
  ${Loop}
  FindClose $3
FunctionEnd
!macroend
!insertmacro JAR_FUNCTIONS ""
!insertmacro JAR_FUNCTIONS "un."

!macro HRESULT_TEXT var
  ${If} ${var} == ""
    StrCpy ${var} "not called"
  ${Else}
    IntFmt ${var} "0x%08X" ${var}
  ${EndIf}
!macroend

; Gives the Start-menu shortcut $0 the application's identity through its property store, and
; says how each call went (HRESULTs, 0 = done) in the details and the status line.
Function SetShortcutIdentity
  StrCpy $7 ""
  StrCpy $8 ""
  StrCpy $9 ""
  !insertmacro ComHlpr_CreateInProcInstance ${CLSID_ShellLink} ${IID_IShellLink} r1 ""
  ${If} $1 P<> 0
    ${IUnknown::QueryInterface} $1 '("${IID_IPersistFile}",.r2)'
    ${If} $2 P<> 0
      ${IPersistFile::Load} $2 '("$0",${STGM_READWRITE}).r6'
      ${IUnknown::QueryInterface} $1 '("${IID_IPropertyStore}",.r3)'
      ${If} $3 P<> 0
        ${If} $6 = 0
          System::Call '*${SYSSTRUCT_PROPERTYKEY}(${PKEY_AppUserModel_ID})p.r4'
          System::Call 'shlwapi::SHStrDupW(w "${APP_ID}", *p .r5)'
          ; PROPVARIANT: the type, three reserved words, the text's address (and room for the rest).
          System::Call '*(&i2 ${VT_LPWSTR}, &i6 0, p r5, &i8 0)p.r6'
          ${IPropertyStore::SetValue} $3 '($4,$6).r7'
          ${IPropertyStore::Commit} $3 '().r8'
          System::Call 'ole32::PropVariantClear(p r6)'
          System::Free $6
          System::Free $4
          ${IPersistFile::Save} $2 '("$0",1).r9'
        ${EndIf}
        ${IUnknown::Release} $3 ""
      ${EndIf}
      ${IUnknown::Release} $2 ""
    ${EndIf}
    ${IUnknown::Release} $1 ""
  ${EndIf}
  !insertmacro HRESULT_TEXT $7
  !insertmacro HRESULT_TEXT $8
  !insertmacro HRESULT_TEXT $9
  DetailPrint "Application identity ${APP_ID}: SetValue $7, Commit $8, Save $9"
FunctionEnd

Section
  Call WaitUntilNotRunning
  Call DeleteJars
  SetOutPath "$INSTDIR\lib"
  File "${JARS}\*.jar"
  SetOutPath "$INSTDIR"
  File "/oname=tessaly.exe" "${LAUNCHER}"
  ; An uninstaller that ended just before, renamed away from the name this one takes.
  Delete "$INSTDIR\uninstall-*.tmp"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; For the administrator to copy into the central store; the launcher itself never reads them.
  SetOutPath "$INSTDIR\policies\en-US"
  File "${POLICIES}\en-US\tessaly.adml"
  SetOutPath "$INSTDIR\policies"
  File "${POLICIES}\tessaly.admx"
  SetOutPath "$INSTDIR"
  ; The events' texts are the launcher's own message table. Written again by every upgrade, so
  ; that it names the launcher where it now is.
  WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\tessaly.exe"
  WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7

  ; Only the launch settings: an upgrade keeps the runtime the launcher recorded, and the Java
  ; options an administrator set (empty ones too); the default is a first install's.
  ClearErrors
  ReadRegStr $0 HKLM "${KEY}" "JavaOptions"
  ${If} ${Errors}
    WriteRegStr HKLM "${KEY}" "JavaOptions" "${VM_OPTIONS}"
  ${EndIf}
  WriteRegStr HKLM "${KEY}" "CommandLineArgs" "${APP_ARGS}"
  WriteRegStr HKLM "${KEY}" "ClasslibDynPath" "$INSTDIR\lib"

  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\tessaly.exe"
  StrCpy $0 "$SMPROGRAMS\${APP}.lnk"
  Call SetShortcutIdentity
  WriteRegStr HKLM "Software\Classes\${DOC_EXT}" "" "${DOC_TYPE}"
  ; Stays in "Open with" when another program takes the extension over.
  WriteRegNone HKLM "Software\Classes\${DOC_EXT}\OpenWithProgids" "${DOC_TYPE}"
  WriteRegStr HKLM "Software\Classes\${DOC_TYPE}" "" "${DOC_NAME}"
  WriteRegStr HKLM "Software\Classes\${DOC_TYPE}\DefaultIcon" "" "$INSTDIR\tessaly.exe,0"
  WriteRegStr HKLM "Software\Classes\${DOC_TYPE}\shell\open\command" "" '"$INSTDIR\tessaly.exe" "%1"'
  ; SHCNE_ASSOCCHANGED: Explorer shows the new type without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  ; In place (_?=, last and unquoted): its exit code is the removal's. Without it, the uninstaller
  ; would hand over to a copy of itself in Temp and end with 0 at once, whatever that copy did.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessaly.exe"
  ; Installing again is the only change there is: no Modify or Repair button.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The runtime is recorded for the machine now, not by each user's first start. A silent install
  ; never waits on the launcher's dialog: -quiet records what it finds, or nothing (the first
  ; start then asks). An upgrade does not search again for a runtime that is recorded. The
  ; details keep the identity's line on the status line while -install runs.
  ReadRegStr $0 HKLM "${KEY}" "JavaExe"
  ${If} $0 == ""
    SetDetailsPrint none
    ${If} ${Silent}
      ExecWait '"$INSTDIR\tessaly.exe" -install -quiet'
    ${Else}
      ExecWait '"$INSTDIR\tessaly.exe" -install'
    ${EndIf}
    SetDetailsPrint both
  ${EndIf}
SectionEnd

Section Uninstall
  Call un.WaitUntilNotRunning
  ; The launcher forgets the runtime it recorded; the key itself is the installer's to remove.
  ${If} ${FileExists} "$INSTDIR\tessaly.exe"
    ExecWait '"$INSTDIR\tessaly.exe" -uninstall'
  ${EndIf}
  DeleteRegKey HKLM "${KEY}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\${PUBLISHER}"
  DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"

  ; Only our values under the extension: its type while it is still ours (another program may
  ; have taken it over), our "Open with" entry; the keys only once nothing else is in them.
  ReadRegStr $0 HKLM "Software\Classes\${DOC_EXT}" ""
  ${If} $0 == "${DOC_TYPE}"
    DeleteRegValue HKLM "Software\Classes\${DOC_EXT}" ""
  ${EndIf}
  DeleteRegValue HKLM "Software\Classes\${DOC_EXT}\OpenWithProgids" "${DOC_TYPE}"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Classes\${DOC_EXT}\OpenWithProgids"
  DeleteRegKey /ifnosubkeys /ifnovalues HKLM "Software\Classes\${DOC_EXT}"
  DeleteRegKey HKLM "Software\Classes\${DOC_TYPE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$SMPROGRAMS\${APP}.lnk"

  ; Only what the installer put there: never a recursive delete of a folder the user chose.
  Delete "$INSTDIR\tessaly.exe"
  Call un.DeleteJars
  RMDir "$INSTDIR\lib"
  Delete "$INSTDIR\policies\en-US\tessaly.adml"
  RMDir "$INSTDIR\policies\en-US"
  Delete "$INSTDIR\policies\tessaly.admx"
  RMDir "$INSTDIR\policies"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  RMDir "$INSTDIR"
  ; The system account's logs (of -install -quiet): in the real, 64-bit system profile, which a
  ; 32-bit uninstaller names with System32 only once WOW64's redirection is off, and under
  ; SysWOW64, where earlier versions wrote them.
  ${DisableX64FSRedirection}
  StrCpy $0 "$WINDIR\System32\config\systemprofile\AppData\Local"
  Call un.RemoveLogs
  StrCpy $0 "$WINDIR\SysWOW64\config\systemprofile\AppData\Local"
  Call un.RemoveLogs
  ${EnableX64FSRedirection}
  ; Run in place, the uninstaller cannot delete itself. Once it has ended, Windows' own cmd (no
  ; program from Temp) deletes it, then the folder if nothing else is left there; the paths
  ; reach it in its environment, where no character of theirs means anything to cmd.
  ; Renamed first (Windows allows it while it runs): an installation started at once may write a
  ; new uninstall.exe, which the cleanup must not take. Should the rename fail, the old name.
  ${If} ${FileExists} "$INSTDIR\uninstall.exe"
    StrCpy $0 "$INSTDIR\uninstall.exe"
    System::Call 'kernel32::GetCurrentProcessId() i .r1'
    System::Call 'kernel32::GetTickCount() i .r2'
    ClearErrors
    Rename "$0" "$INSTDIR\uninstall-$1-$2.tmp"
    ${IfNot} ${Errors}
      StrCpy $0 "$INSTDIR\uninstall-$1-$2.tmp"
    ${EndIf}
    System::Call 'kernel32::SetEnvironmentVariableW(w "TESSALY_UNINSTALLER", w r0)'
    System::Call 'kernel32::SetEnvironmentVariableW(w "TESSALY_FOLDER", w "$INSTDIR")'
    ; Hidden; no AutoRun, no delayed expansion; ping by its full path, not searched for in a
    ; folder a user may write to; started outside the folder, which it could not remove otherwise.
    SetOutPath "$TEMP"
    ExecShell "" "$SYSDIR\cmd.exe" '/v:off /d /q /c for /l %i in (1,1,120) do @("$SYSDIR\ping.exe" -n 2 127.0.0.1 >nul & del /f /q "%TESSALY_UNINSTALLER%" 2>nul & if not exist "%TESSALY_UNINSTALLER%" (rd "%TESSALY_FOLDER%" 2>nul & exit))' SW_HIDE
  ${EndIf}
SectionEnd

; Removes the launcher's logs tessaly-*.log from $0\Quellmark\Tessaly, then that folder and
; Quellmark, each only once empty. Not through a link: a junction would lead into another folder.
Function un.RemoveLogs
  StrCpy $1 "$0\Quellmark"
  StrCpy $2 "$1\Tessaly"
  System::Call 'kernel32::GetFileAttributesW(w r1) i .r3'
  System::Call 'kernel32::GetFileAttributesW(w r2) i .r4'
  ; FILE_ATTRIBUTE_DIRECTORY and no FILE_ATTRIBUTE_REPARSE_POINT, for both (-1: not there).
  IntOp $3 $3 & 0x410
  IntOp $4 $4 & 0x410
  ${If} $3 = 0x10
  ${AndIf} $4 = 0x10
    Delete "$2\tessaly-*.log"
    RMDir "$2"
    RMDir "$1"
  ${EndIf}
FunctionEnd
