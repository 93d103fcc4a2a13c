; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer, 64-bit: the licence shown first, then the program
; under Program Files with its licence texts and Qt's, a Start-menu entry with
; its icon, and an uninstaller that takes it all away again.
; makensis -DVERSION=… -DSTAGE=folder -DICON=file.ico -DOUTFILE=setup.exe veldrano.nsi
Target amd64-unicode
Name "VELDRANO ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\VELDRANO"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELDRANO"

LicenseData "${STAGE}\LICENSE.txt"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\veldrano.exe"
  File "${STAGE}\README.md"
  File "${STAGE}\COPYRIGHT.txt"
  File "${STAGE}\LICENSE.txt"
  File /r "${STAGE}\qt-licences"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\VELDRANO"
  CreateShortcut "$SMPROGRAMS\VELDRANO\VELDRANO.lnk" "$INSTDIR\veldrano.exe" "" "$INSTDIR\veldrano.exe" 0
  CreateShortcut "$SMPROGRAMS\VELDRANO\Disinstalla VELDRANO.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "VELDRANO"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veldrano.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\VELDRANO\VELDRANO.lnk"
  Delete "$SMPROGRAMS\VELDRANO\Disinstalla VELDRANO.lnk"
  RMDir "$SMPROGRAMS\VELDRANO"
  Delete "$INSTDIR\veldrano.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\COPYRIGHT.txt"
  Delete "$INSTDIR\LICENSE.txt"
  RMDir /r "$INSTDIR\qt-licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
