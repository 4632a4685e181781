# The Windows installer, made by scripts/package-windows.py with makensis from the files of a zip:
#   makensis -DVERSION=1.2 -DVERSION4=1.2.0.0 -DSTAGE=<folder of the zip's files> -DICON=<lintaro.ico>
#            -DOUTFILE=<setup.exe> [-DWIN64] lintaro.nsi
# It installs for the current user only, needs no administrator, puts Lintaro in the Start menu
# and in the list of installed programs, and its uninstaller takes all of that away again.
Unicode true
!ifdef WIN64
Target amd64-unicode
!endif
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lintaro"
# What Options > Register writes for the open command, and what Unregister deletes.
!define QDX_TYPE "QDX file"

Name "Lintaro ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Lintaro"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "Lintaro"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Lintaro ${VERSION} setup"
VIAddVersionKey "CompanyName" "Quorvel"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Quorvel, MIT License"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\lintaro.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY.txt"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\examples\people.qdx"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Lintaro.lnk" "$INSTDIR\lintaro.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lintaro"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorvel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lintaro.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  # The program made itself the handler of .qdx files when the user chose Register: an open
  # command that names this copy would name a program that is gone, so it goes as Unregister
  # would take it. An association with another copy is left alone, and so are the settings.
  ReadRegStr $0 HKCR "${QDX_TYPE}\shell\Open\command" ""
  StrCmp $0 '"$INSTDIR\lintaro.exe" %1' 0 keep_association
    DeleteRegKey HKCR "${QDX_TYPE}\shell\Open\command"
    DeleteRegKey HKCR "${QDX_TYPE}\shell\Open"
    DeleteRegKey HKCR "${QDX_TYPE}\DefaultIcon"
  keep_association:

  Delete "$SMPROGRAMS\Lintaro.lnk"
  Delete "$INSTDIR\lintaro.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$INSTDIR\examples\people.qdx"
  RMDir "$INSTDIR\examples"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
