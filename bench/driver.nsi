; The same job as a quiet install of setup.exe, as an NSIS installer: the
; driver file into SYSTEM32\DRIVERS, the system-start kernel-driver service
; registered (created, or its configuration set when it exists), and an
; uninstaller in the product's folder with its uninstall entry.
; Built by scripts/bench with makensis -DDISK=<the disk folder> and the OutFile;
; with -DPAGES it shows its pages instead, for the time to its first one.
Unicode false
Name "Driver"
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES\Merlox IDE CD-ROM Drive"
!ifdef PAGES
Page directory
Page instfiles
!else
SilentInstall silent
!endif
!include LogicLib.nsh

Section
  SetOutPath "$SYSDIR\drivers"
  File "${DISK}/mlxidecd.SYS"
  System::Call 'advapi32::OpenSCManagerA(p 0, p 0, i 0xF003F) p .r0'
  System::Call 'advapi32::CreateServiceA(p r0, t "mlxidecd", t "mlxidecd", i 0xF01FF, i 1, i 1, i 1, t "\SystemRoot\SYSTEM32\DRIVERS\mlxidecd.SYS", t "SCSI miniport", p 0, p 0, p 0, p 0) p .r1'
  ${If} $1 == 0
    System::Call 'advapi32::OpenServiceA(p r0, t "mlxidecd", i 0xF01FF) p .r1'
    System::Call 'advapi32::ChangeServiceConfigA(p r1, i 1, i 1, i 1, t "\SystemRoot\SYSTEM32\DRIVERS\mlxidecd.SYS", t "SCSI miniport", p 0, p 0, p 0, p 0, p 0) i .r2'
  ${EndIf}
  System::Call 'advapi32::CloseServiceHandle(p r1)'
  System::Call 'advapi32::CloseServiceHandle(p r0)'
  SetOutPath "$PROGRAMFILES\Merlox IDE CD-ROM Drive"
  WriteUninstaller "$PROGRAMFILES\Merlox IDE CD-ROM Drive\uninstall.exe"
  !define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Merlox IDE CD-ROM Drive"
  WriteRegStr HKLM "${KEY}" "DisplayName" "Merlox IDE CD-ROM Drive"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "1.0.0.0"
  WriteRegStr HKLM "${KEY}" "Publisher" "Merlox"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$PROGRAMFILES\Merlox IDE CD-ROM Drive\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$PROGRAMFILES\Merlox IDE CD-ROM Drive\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SYSDIR\drivers\mlxidecd.SYS"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Merlox IDE CD-ROM Drive"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
