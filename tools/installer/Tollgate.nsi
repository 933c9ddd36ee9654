; The Windows installer: Tollgate.exe and its console twin Tollgate.com into the 64-bit program
; folder, a Start Menu entry and a Desktop icon for every user, an entry in the installed
; programs, then "Tollgate.exe -r" for the browser's toolbar button. The build passes VERSION,
; PROGRAM, CONSOLE, ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Tollgate"
!define PUBLISHER "The Tollgate developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The keys that "Tollgate.exe -u" removes; the uninstaller removes them itself when the program
; is gone already.
!define EXTENSION_KEY "Software\Microsoft\Internet Explorer\Extensions\{334C4A3A-7B0F-4C55-B73F-63B37865E8FA}"
!define SETTINGS_KEY "Software\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Installing again goes into the folder of the installation there is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Install"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "/oname=Tollgate.exe" "${PROGRAM}"
    File "/oname=Tollgate.com" "${CONSOLE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; Icon index 0 is the program's first icon group, the cookie icon 128.
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tollgate.exe" "" "$INSTDIR\Tollgate.exe" 0
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Tollgate.exe" "" "$INSTDIR\Tollgate.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tollgate.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; The toolbar button and the install-success dialog. An unattended install must never hang
    ; on that dialog, so silent mode does not wait for it.
    ${If} ${Silent}
        Exec '"$INSTDIR\Tollgate.exe" -r'
    ${Else}
        ExecWait '"$INSTDIR\Tollgate.exe" -r'
    ${EndIf}
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    ${If} ${FileExists} "$INSTDIR\Tollgate.exe"
        ExecWait '"$INSTDIR\Tollgate.exe" -u'
    ${Else}
        DeleteRegKey HKLM "${EXTENSION_KEY}"
        DeleteRegKey HKCU "${SETTINGS_KEY}"
    ${EndIf}
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    Delete "$INSTDIR\Tollgate.exe"
    Delete "$INSTDIR\Tollgate.com"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
