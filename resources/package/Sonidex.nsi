; The Sonidex installer, made by tools/package.sh with makensis. It installs the 32-bit program
; on every Windows: Windows redirects the settings file (Sonidex.ini in the Windows folder) to
; the user's VirtualStore for 32-bit programs only, so the 64-bit one could not save there for
; an ordinary user. Defines from the command line: VERSION (three numbers), EXE (the tested
; 32-bit Sonidex.exe), README, LICENSE, ICON, OUTFILE.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sonidex"

Name "Sonidex ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Sonidex"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Sonidex ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Sonidex"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Sonidex ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Sonidex developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 The Sonidex developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Sonidex.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Sonidex"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=Sonidex.exe" "${EXE}"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Sonidex.lnk" "$INSTDIR\Sonidex.exe"

  ; The entry in "Apps and features" (and "Programs and Features").
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Sonidex"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Sonidex developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Sonidex.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The settings file stays: it is the user's, and a later installation finds it again.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Sonidex.lnk"
  Delete "$INSTDIR\Sonidex.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
