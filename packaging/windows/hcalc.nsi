; The Windows installer: the program's folder (STAGE), a Start-menu entry with the program's icon and an
; uninstaller, for the current user or, with administrator rights, for all users; either way the design files
; (*.hcalc) open with the program for the user who installs it. Built by
; `make package-windows` (packaging/windows/CMakeLists.txt), which defines VERSION, STAGE, ICON,
; UNINSTALL_FILES (what to remove, listed from STAGE) and OUTFILE.
; Silent: setup.exe /S /CurrentUser or /AllUsers; uninstall.exe /S with the same switch.
Target amd64-unicode  ; a 64-bit installer for a 64-bit program: it runs where the program runs
SetCompressor /SOLID lzma

!define APPNAME "谐波计算软件"
!define PUBLISHER "Quelvaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\org.quelvaro.hcalc"
; The design files' extension and the class of files it names, in the current user's file classes.
!define CLASSES "Software\Classes"
!define DESIGN_EXTENSION ".hcalc"
!define DESIGN_PROGID "Quelvaro.hcalc.Design"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PUBLISHER}\hcalc"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include Integration.nsh

Name "${APPNAME}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${APPNAME} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\hcalc.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${APPNAME}"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\hcalc.exe" "" "$INSTDIR\hcalc.exe" 0

    ; The entry of "Apps and features", in the registry of this install's users.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\hcalc.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

    ; Double-clicking a design file opens it with this program, shown with the program's icon.
    WriteRegStr HKCU "${CLASSES}\${DESIGN_PROGID}" "" "谐波计算方案"
    WriteRegStr HKCU "${CLASSES}\${DESIGN_PROGID}\DefaultIcon" "" "$INSTDIR\hcalc.exe,0"
    WriteRegStr HKCU "${CLASSES}\${DESIGN_PROGID}\shell\open\command" "" '"$INSTDIR\hcalc.exe" "%1"'
    WriteRegStr HKCU "${CLASSES}\${DESIGN_EXTENSION}" "" "${DESIGN_PROGID}"
    WriteRegStr HKCU "${CLASSES}\${DESIGN_EXTENSION}\OpenWithProgids" "${DESIGN_PROGID}" ""
    ${NotifyShell_AssocChanged}
SectionEnd

; Removes what the installer put there and nothing else: a folder the user chose keeps its other files.
Section "Uninstall"
    Delete "$SMPROGRAMS\${APPNAME}.lnk"
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    ; The design files' registration, and of the extension's key only what names this program's class.
    DeleteRegKey HKCU "${CLASSES}\${DESIGN_PROGID}"
    ReadRegStr $0 HKCU "${CLASSES}\${DESIGN_EXTENSION}" ""
    ${If} $0 == "${DESIGN_PROGID}"
        DeleteRegValue HKCU "${CLASSES}\${DESIGN_EXTENSION}" ""
    ${EndIf}
    DeleteRegValue HKCU "${CLASSES}\${DESIGN_EXTENSION}\OpenWithProgids" "${DESIGN_PROGID}"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${DESIGN_EXTENSION}\OpenWithProgids"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${DESIGN_EXTENSION}"
    ${NotifyShell_AssocChanged}
SectionEnd
