; ZelSetup.nsh: calls of ZELSETUP.dll for NSIS scripts, through the System
; plug-in.
;
;   !define ZELSETUP_DLL "$PLUGINSDIR\ZELSETUP.dll"   (the default; define it
;                                                      before the include to
;                                                      load the DLL elsewhere)
;   !include "ZelSetup.nsh"
;   ...
;   InitPluginsDir
;   File "/oname=$PLUGINSDIR\ZELSETUP.dll" "path\to\ZELSETUP.dll"
;   ${JTSetupAddActionLog} "$EXEDIR\QDVSETUP.INI|Setup started" $0
;
; Every macro leaves $0-$9 and $R0-$R9 as they were, apart from its result
; variable. Texts are passed as ANSI ("m" in the System plug-in), so the
; include works in ANSI and in Unicode installers alike. The DLL stays loaded
; between calls, as the library expects: its registry names and result
; buffers last from one call to the next.

!ifndef ZELSETUP_NSH
!define ZELSETUP_NSH

!ifndef ZELSETUP_DLL
  !define ZELSETUP_DLL "$PLUGINSDIR\ZELSETUP.dll"
!endif

; The host-record form: int __stdcall F(const HostCallRecord*). The record is
; built here, 44 bytes: the installer's window at offset 4 (the owner of the
; library's message boxes) and a pointer to the parameter text at offset 40;
; the other bytes are zero. Text and record are freed after the call.
!macro _ZelHostRecordCall EXPORT TEXT RESULT
  Push $0
  Push $1
  Push `${TEXT}`
  System::Call "*(&m${NSIS_MAX_STRLEN} s) p .r0"
  System::Call "*(i 0, p $HWNDPARENT, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, p r0) p .r1"
  System::Call "${ZELSETUP_DLL}::${EXPORT}(p r1) i .s"
  System::Free $1
  System::Free $0
  Exch
  Pop $1
  Exch
  Pop $0
  Pop ${RESULT}
!macroend

; The plain form (the C calling convention, "?c") without arguments.
!macro _ZelPlainCall EXPORT RETURNTYPE RESULT
  System::Call "${ZELSETUP_DLL}::${EXPORT}() ${RETURNTYPE} .s ?c"
  Pop ${RESULT}
!macroend

; The plain form with one text argument.
!macro _ZelPlainTextCall EXPORT RETURNTYPE TEXT RESULT
  Push `${TEXT}`
  System::Call "${ZELSETUP_DLL}::${EXPORT}(m s) ${RETURNTYPE} .s ?c"
  Pop ${RESULT}
!macroend

; ---- Windows version checks ----------------------------------------------
; ${JTIsWindows2000} $var: 1 on the NT family from version 5 on, else 0.
!define JTIsWindows2000 `!insertmacro _ZelPlainCall JTIsWindows2000 i`
; ${JTIsWindowsXP} $var: 1 on Windows XP, else 0.
!define JTIsWindowsXP `!insertmacro _ZelPlainCall JTIsWindowsXP i`

; ---- Running programs and services ---------------------------------------
; ${JTSetupFindRunningApps} $var: 0 go on (no client program of the product
; runs any more), 1 the system is not supported.
!define JTSetupFindRunningApps `!insertmacro _ZelHostRecordCall JTSetupFindRunningApps ""`
; ${JTServerSetupFindRunningApps} $var: 0 go on, 1 the system is not supported.
!define JTServerSetupFindRunningApps `!insertmacro _ZelHostRecordCall JTServerSetupFindRunningApps ""`
; ${JTSetupAreThereAnyRunningServerApps} $var: 1 when a server program or
; service of the product runs, else 0.
!define JTSetupAreThereAnyRunningServerApps `!insertmacro _ZelHostRecordCall JTSetupAreThereAnyRunningServerApps ""`
; ${JTSetupStopRunningServerApps} $var: 0 after closing the server programs
; and stopping the server services.
!define JTSetupStopRunningServerApps `!insertmacro _ZelHostRecordCall JTSetupStopRunningServerApps ""`

; ---- Restart ---------------------------------------------------------------
; ${JTSetupRebootComputer} $var: closes the product's agent and restarts Windows.
!define JTSetupRebootComputer `!insertmacro _ZelHostRecordCall JTSetupRebootComputer ""`

; ---- System configuration --------------------------------------------------
; ${JTAddNetworkProvider} $var: 0 after putting QDVNET first in the provider order.
!define JTAddNetworkProvider `!insertmacro _ZelHostRecordCall JTAddNetworkProvider ""`
; ${JTRemoveNetworkProvider} $var: 0 after taking QDVNET out of the provider order.
!define JTRemoveNetworkProvider `!insertmacro _ZelHostRecordCall JTRemoveNetworkProvider ""`
; ${JTPerformPostInstallActions} setupFolder installFolder $var: 1, or 0 when
; a folder is missing.
!define JTPerformPostInstallActions `!insertmacro _ZelPostInstallActions`
!macro _ZelPostInstallActions SETUP INSTALL RESULT
  Push `${INSTALL}`
  Push `${SETUP}`
  System::Call "${ZELSETUP_DLL}::JTPerformPostInstallActions(m s, m s) i .s"
  Pop ${RESULT}
!macroend
; ${JTUpdateSetupDateInRegistry} $var: 0 after recording the setup time.
!define JTUpdateSetupDateInRegistry `!insertmacro _ZelHostRecordCall JTUpdateSetupDateInRegistry ""`
; ${JTDelRegistryEntry} rootCode subkey valueName $var: 1 when the value of
; HKEY_LOCAL_MACHINE (root code 2) was deleted, else 0.
!define JTDelRegistryEntry `!insertmacro _ZelDelRegistryEntry`
!macro _ZelDelRegistryEntry ROOT SUBKEY VALUE RESULT
  Push `${VALUE}`
  Push `${SUBKEY}`
  System::Call "${ZELSETUP_DLL}::JTDelRegistryEntry(i ${ROOT}, m s, m s) i .s"
  Pop ${RESULT}
!macroend
; ${JTAdd2DependentServices} folder $var: the result of the product library's
; JTConfigureDependentServices, 1 when a library is missing.
!define JTAdd2DependentServices `!insertmacro _ZelHostRecordCall JTAdd2DependentServices`
; ${JTConfigureWriteMonitorPaths} folder $var: the result of the product
; library's JTPopulateWriteMonitorPaths, 1 when a library is missing.
!define JTConfigureWriteMonitorPaths `!insertmacro _ZelHostRecordCall JTConfigureWriteMonitorPaths`

; ---- Folders and files -----------------------------------------------------
; ${JTSetupGetDefaultInstallLocation} $var: the default install folder.
!define JTSetupGetDefaultInstallLocation `!insertmacro _ZelPlainCall JTSetupGetDefaultInstallLocation m`
; ${JTSetupGetCommonDesktopLocation} $var: the desktop folder of all users.
!define JTSetupGetCommonDesktopLocation `!insertmacro _ZelPlainCall JTSetupGetCommonDesktopLocation m`
; ${JTSetupGetCommonDesktopFolderLocation} "INI file" $var: 0 after writing
; the desktop folder as key "Common Desktop" of section "SECTION".
!define JTSetupGetCommonDesktopFolderLocation `!insertmacro _ZelHostRecordCall JTSetupGetCommonDesktopFolderLocation`
; ${JTGetSetupExePath} $var: the path of the running setup program.
!define JTGetSetupExePath `!insertmacro _ZelPlainCall JTGetSetupExePath m`
; ${JTSetupValidateLocalDirectory} folder $var: 0 for a folder on a local
; drive that is not the drive's root, else 1 after a message box.
!define JTSetupValidateLocalDirectory `!insertmacro _ZelHostRecordCall JTSetupValidateLocalDirectory`
; ${JTSetupCleanUpOldFiles} installFolder $var: 0; removes BIN\MFC42.DLL now
; or at the next restart.
!define JTSetupCleanUpOldFiles `!insertmacro _ZelHostRecordCall JTSetupCleanUpOldFiles`

; ---- Logs ------------------------------------------------------------------
; ${JTSetupAddActionLog} "setup INI path|message" $var: 0 passed on, 1 no bar or no text.
!define JTSetupAddActionLog `!insertmacro _ZelHostRecordCall JTSetupAddActionLog`

; ---- Product settings ------------------------------------------------------
; ${ZELSetup_SetRegistryInfo} company product: the names of the product key.
!define ZELSetup_SetRegistryInfo `!insertmacro _ZelSetRegistryInfo`
!macro _ZelSetRegistryInfo COMPANY PRODUCT
  Push `${PRODUCT}`
  Push `${COMPANY}`
  System::Call "${ZELSETUP_DLL}::ZELSetup_SetRegistryInfo(m s, m s) v ?c"
!macroend

; ---- Data utilities --------------------------------------------------------
; ${JTGetEncryptedString} "text" $var: the MD5 digest of the text, 32 hex digits.
!define JTGetEncryptedString `!insertmacro _ZelPlainTextCall JTGetEncryptedString m`
; ${JTGetNumberFromString} "DAF" $var: the number the letters stand for (305).
!define JTGetNumberFromString `!insertmacro _ZelPlainTextCall JTGetNumberFromString i`
; ${JTGetStringFromNumber} 305 $var: the number written with letters ("DAF").
!define JTGetStringFromNumber `!insertmacro _ZelGetStringFromNumber`
!macro _ZelGetStringFromNumber NUMBER RESULT
  System::Call "${ZELSETUP_DLL}::JTGetStringFromNumber(i ${NUMBER}) m .s ?c"
  Pop ${RESULT}
!macroend
; ${QDVSetupCompressFile} source destination level $var: destination, or empty on failure.
; The library returns the caller's own destination pointer; the System plug-in
; frees its copy of the argument, so the macro gives back the script's text.
!define QDVSetupCompressFile `!insertmacro _ZelCompressFile`
!macro _ZelCompressFile SOURCE DESTINATION LEVEL RESULT
  Push `${DESTINATION}`
  Push `${DESTINATION}`
  Push `${SOURCE}`
  System::Call "${ZELSETUP_DLL}::QDVSetupCompressFile(m s, m s, i ${LEVEL}) p .s ?c"
  !insertmacro _ZelDestinationOrEmpty ${RESULT}
!macroend
; ${QDVSetupUncompressFile} source destination $var: destination, or empty on failure.
!define QDVSetupUncompressFile `!insertmacro _ZelUncompressFile`
!macro _ZelUncompressFile SOURCE DESTINATION RESULT
  Push `${DESTINATION}`
  Push `${DESTINATION}`
  Push `${SOURCE}`
  System::Call "${ZELSETUP_DLL}::QDVSetupUncompressFile(m s, m s) p .s ?c"
  !insertmacro _ZelDestinationOrEmpty ${RESULT}
!macroend
; Takes the returned pointer and the destination text from the stack: the
; text when the pointer is not null, else the empty text.
!macro _ZelDestinationOrEmpty RESULT
  Exch $0
  Exch
  Exch $1
  StrCmp $0 0 0 +2
  StrCpy $1 ""
  Push $1
  Exch 2
  Pop $0
  Pop $1
  Pop ${RESULT}
!macroend

!endif
