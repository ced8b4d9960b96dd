; A sample installer that makes the calls of a typical setup through
; ZelSetup.nsh, as far as they can run on any machine.
;
;   makensis -DZELSETUP_BUILD=path\to\build [-DOUTFILE=installer.exe] example.nsi
;   zelsetup-example.exe /S /D=C:\target
;
; It writes its setup INI file and action log into $INSTDIR, packs and
; unpacks a file there, records the setup time, puts the product's network
; provider first and deletes a value of its own through the library.
Unicode false
RequestExecutionLevel user
Name "Halcyra"
!ifndef OUTFILE
  !define OUTFILE "zelsetup-example.exe"
!endif
OutFile "${OUTFILE}"
InstallDir "$TEMP\halcyra-example"
ShowInstDetails show

!ifndef ZELSETUP_BUILD
  !error "define ZELSETUP_BUILD, the folder that holds ZELSETUP.dll"
!endif

!include "ZelSetup.nsh"

Page directory
Page instfiles

Section "Halcyra"
  SetOutPath $INSTDIR
  InitPluginsDir
  File "/oname=$PLUGINSDIR\ZELSETUP.dll" "${ZELSETUP_BUILD}\ZELSETUP.dll"

  ; The setup INI file names the action log.
  WriteINIStr "$INSTDIR\QDVSETUP.INI" "Configuration" "InstallActionLog" "$INSTDIR\install.log"
  FlushINI "$INSTDIR\QDVSETUP.INI"
  ${JTSetupAddActionLog} "$INSTDIR\QDVSETUP.INI|Setup started" $0
  DetailPrint "action log: $0"

  ${JTIsWindows2000} $0
  ${JTIsWindowsXP} $1
  DetailPrint "Windows 2000 or later: $0, XP: $1"

  ${JTServerSetupFindRunningApps} $0
  DetailPrint "server gate: $0"
  StrCmp $0 0 +2
    Abort "this system is not supported"

  ${JTSetupGetDefaultInstallLocation} $0
  DetailPrint "default install folder: $0"
  ${JTSetupValidateLocalDirectory} $INSTDIR $R0
  DetailPrint "install folder is local: $R0"

  ; Before the server part: close the server programs and services.
  ; (A macro is several instructions: jump over it by label, never by +N.)
  ${JTSetupAreThereAnyRunningServerApps} $0
  StrCmp $0 1 0 server_stopped
    ${JTSetupStopRunningServerApps} $0
  server_stopped:
  ; Before the client part: no client program of the product may run.
  ${JTSetupFindRunningApps} $0
  StrCmp $0 0 +2
    Abort "this system is not supported"

  ; Pack a file of the setup and unpack it again.
  File "/oname=$INSTDIR\payload.txt" "${__FILEDIR__}\example.nsi"
  ${QDVSetupCompressFile} "$INSTDIR\payload.txt" "$INSTDIR\payload.txt.gz" 9 $0
  DetailPrint "compressed: $0"
  ${QDVSetupUncompressFile} "$INSTDIR\payload.txt.gz" "$INSTDIR\payload.copy" $0
  DetailPrint "expanded: $0"

  ; Once the files are in place.
  ${JTUpdateSetupDateInRegistry} $0
  ${JTAddNetworkProvider} $0
  SetRegView 32
  WriteRegStr HKLM "Software\Kelvaron\Vantorell\Preferences" "SampleValue" "to be deleted"
  ${JTDelRegistryEntry} 2 "Software\Kelvaron\Vantorell\Preferences" "SampleValue" $R1
  ${JTGetSetupExePath} $0
  DetailPrint "setup program: $0"
  ${JTSetupGetCommonDesktopLocation} $0
  DetailPrint "common desktop: $0"

  ${JTGetEncryptedString} "Halcyra Installation" $0
  ${JTGetStringFromNumber} 305 $1
  ${JTGetNumberFromString} $1 $2
  DetailPrint "digest $0, letters $1, back $2"
  FileOpen $3 "$INSTDIR\results.txt" w
  FileWrite $3 "digest=$0$\r$\nletters=$1$\r$\nnumber=$2$\r$\ndeleted=$R1$\r$\nlocal=$R0$\r$\n"
  FileClose $3

  ${JTSetupAddActionLog} "$INSTDIR\QDVSETUP.INI|Setup finished" $0
SectionEnd
