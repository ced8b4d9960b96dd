/*
 * ZELSETUP.dll: setup support library of Halcyra.
 *
 * The record that installer hosts pass to the exports of the host-record form,
 * and a prototype of each export in its exact calling form. Valid C and C++.
 *
 * Calling forms:
 *   host-record form  int __stdcall F(const HostCallRecord*)
 *   argument form     __stdcall with the arguments listed
 *   plain form        the C calling convention (__cdecl)
 */
#ifndef ZELSETUP_H
#define ZELSETUP_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef ZELSETUP_BUILDING
#define ZELSETUP_API
#else
#define ZELSETUP_API __declspec(dllimport)
#endif

/*
 * The host's record. The library reads ownerWindow and parameterText only,
 * never writes to the record and keeps no pointer into it after a call.
 */
typedef struct HostCallRecord {
    DWORD hostReserved0;      /* offset 0: the host's own */
    HWND ownerWindow;         /* offset 4: owner of the setup message boxes; may be null */
    BYTE hostReserved8[32];   /* offsets 8 to 39: the host's own */
    const char* parameterText; /* offset 40: the export's parameter; may be null */
} HostCallRecord;

#ifdef __cplusplus
static_assert(offsetof(HostCallRecord, ownerWindow) == 4, "ownerWindow at offset 4");
static_assert(offsetof(HostCallRecord, parameterText) == 40, "parameterText at offset 40");
static_assert(sizeof(HostCallRecord) == 44, "the record is 44 bytes");
#else
typedef char zelsetup_owner_at_4[offsetof(HostCallRecord, ownerWindow) == 4 ? 1 : -1];
typedef char zelsetup_parameter_at_40[offsetof(HostCallRecord, parameterText) == 40 ? 1 : -1];
#endif

/* Windows version checks. */
ZELSETUP_API int __cdecl JTIsWindows2000(void);                                   /* @60 */
ZELSETUP_API int __cdecl JTIsWindowsXP(void);                                     /* @27 */
ZELSETUP_API int __stdcall JTServerSetupFindRunningApps(const HostCallRecord* r); /* @15 */

/*
 * Data utilities. The compression exports return the caller's own destination
 * argument on success and null on failure; the text results point into the
 * library's memory and are overwritten by the next call of the same export.
 */
ZELSETUP_API const char* __cdecl QDVSetupCompressFile(const char* source, const char* destination,
                                                     int level);                  /* @13 */
ZELSETUP_API const char* __cdecl QDVSetupUncompressFile(const char* source,
                                                       const char* destination); /* @14 */
ZELSETUP_API const char* __cdecl JTGetEncryptedString(const char* text);          /* @11 */
ZELSETUP_API const char* __cdecl JTGetStringFromNumber(int n);                    /* @26 */
ZELSETUP_API int __cdecl JTGetNumberFromString(const char* text);                 /* @24 */

/* Product settings. Names that are null or longer than 259 characters change nothing. */
ZELSETUP_API void __cdecl ZELSetup_SetRegistryInfo(const char* company, const char* product); /* @38 */
ZELSETUP_API const char* __cdecl JTSetupGetDefaultInstallLocation(void);                    /* @34 */

/*
 * Running programs and services of the product. JTSetupFindRunningApps: 0 to
 * go on once no client program runs, 1 on a system the product does not
 * support. JTSetupAreThereAnyRunningServerApps: 1 when a server program or
 * service runs, else 0. JTSetupStopRunningServerApps closes and stops them;
 * always 0. The record is optional; only its ownerWindow is read.
 */
ZELSETUP_API int __stdcall JTSetupFindRunningApps(const HostCallRecord* r);              /* @10 */
ZELSETUP_API int __stdcall JTSetupAreThereAnyRunningServerApps(const HostCallRecord* r); /* @90 */
ZELSETUP_API int __stdcall JTSetupStopRunningServerApps(const HostCallRecord* r);        /* @100 */

/* Restart at the end of setup: the agent is asked to close, then Windows restarts. Result 0. */
ZELSETUP_API int __stdcall JTSetupRebootComputer(const HostCallRecord* r); /* @20 */

/* The network provider order: "QDVNET" put first, or taken out. Result 0. */
ZELSETUP_API int __stdcall JTAddNetworkProvider(const HostCallRecord* r);    /* @17 */
ZELSETUP_API int __stdcall JTRemoveNetworkProvider(const HostCallRecord* r); /* @29 */

/* Install action log: parameterText is "setup INI path|message". */
ZELSETUP_API int __stdcall JTSetupAddActionLog(const HostCallRecord* r); /* @110 */

/*
 * Post-install actions: the setup folder's initial preferences file copied
 * into the install folder and its initial registry file imported; the setup
 * time recorded; one value under HKEY_LOCAL_MACHINE (root code 2) deleted.
 */
ZELSETUP_API int __stdcall JTPerformPostInstallActions(const char* setupFolder,
                                                       const char* installFolder); /* @28 */
ZELSETUP_API int __stdcall JTUpdateSetupDateInRegistry(const HostCallRecord* r);   /* @35 */
ZELSETUP_API int __stdcall JTDelRegistryEntry(int rootCode, const char* subkey,
                                              const char* valueName);              /* @19 */

/* Product component hooks: parameterText is the folder of the product's libraries. */
ZELSETUP_API int __stdcall JTAdd2DependentServices(const HostCallRecord* r);      /* @16 */
ZELSETUP_API int __stdcall JTConfigureWriteMonitorPaths(const HostCallRecord* r); /* @18 */

/*
 * Folders and files. The two text results point into the library's memory
 * and are overwritten by the next call of the same export; they are never
 * null, and the empty text when the path cannot be found whole.
 *   JTSetupGetCommonDesktopFolderLocation: parameterText is the INI file to write
 *   JTSetupValidateLocalDirectory: parameterText is the chosen folder
 *   JTSetupCleanUpOldFiles: parameterText is the install folder
 */
ZELSETUP_API const char* __cdecl JTGetSetupExePath(void);                                  /* @25 */
ZELSETUP_API int __stdcall JTSetupCleanUpOldFiles(const HostCallRecord* r);                /* @31 */
ZELSETUP_API int __stdcall JTSetupGetCommonDesktopFolderLocation(const HostCallRecord* r); /* @32 */
ZELSETUP_API const char* __cdecl JTSetupGetCommonDesktopLocation(void);                    /* @33 */
ZELSETUP_API int __stdcall JTSetupValidateLocalDirectory(const HostCallRecord* r);         /* @50 */

/*
 * The exports as data, for hosts that call them by name at run time:
 *   X(name, ordinal, form, argument kinds, result kind)
 * form: HostRecord, Argument or Plain. Argument kinds, in order: 's' a text
 * (may be null), 'i' an int; for the host-record form "s" when the export
 * reads parameterText. Result kinds: 'i' int, 's' text pointer, 'v' none.
 */
#define ZELSETUP_EXPORTS(X) \
    X(JTSetupFindRunningApps, 10, HostRecord, "", 'i') \
    X(JTGetEncryptedString, 11, Plain, "s", 's') \
    X(QDVSetupCompressFile, 13, Plain, "ssi", 's') \
    X(QDVSetupUncompressFile, 14, Plain, "ss", 's') \
    X(JTServerSetupFindRunningApps, 15, HostRecord, "", 'i') \
    X(JTAdd2DependentServices, 16, HostRecord, "s", 'i') \
    X(JTAddNetworkProvider, 17, HostRecord, "", 'i') \
    X(JTConfigureWriteMonitorPaths, 18, HostRecord, "s", 'i') \
    X(JTDelRegistryEntry, 19, Argument, "iss", 'i') \
    X(JTSetupRebootComputer, 20, HostRecord, "", 'i') \
    X(JTGetNumberFromString, 24, Plain, "s", 'i') \
    X(JTGetSetupExePath, 25, Plain, "", 's') \
    X(JTGetStringFromNumber, 26, Plain, "i", 's') \
    X(JTIsWindowsXP, 27, Plain, "", 'i') \
    X(JTPerformPostInstallActions, 28, Argument, "ss", 'i') \
    X(JTRemoveNetworkProvider, 29, HostRecord, "", 'i') \
    X(JTSetupCleanUpOldFiles, 31, HostRecord, "s", 'i') \
    X(JTSetupGetCommonDesktopFolderLocation, 32, HostRecord, "s", 'i') \
    X(JTSetupGetCommonDesktopLocation, 33, Plain, "", 's') \
    X(JTSetupGetDefaultInstallLocation, 34, Plain, "", 's') \
    X(JTUpdateSetupDateInRegistry, 35, HostRecord, "", 'i') \
    X(ZELSetup_SetRegistryInfo, 38, Plain, "ss", 'v') \
    X(JTSetupValidateLocalDirectory, 50, HostRecord, "s", 'i') \
    X(JTIsWindows2000, 60, Plain, "", 'i') \
    X(JTSetupAreThereAnyRunningServerApps, 90, HostRecord, "", 'i') \
    X(JTSetupStopRunningServerApps, 100, HostRecord, "", 'i') \
    X(JTSetupAddActionLog, 110, HostRecord, "s", 'i')

/* Function-pointer types for hosts that load the library at run time. */
typedef int(__stdcall* ZelHostRecordExport)(const HostCallRecord*);
typedef int(__cdecl* ZelFlagExport)(void);
typedef const char*(__cdecl* ZelCompressFileExport)(const char*, const char*, int);
typedef const char*(__cdecl* ZelUncompressFileExport)(const char*, const char*);
typedef const char*(__cdecl* ZelTextToTextExport)(const char*);
typedef const char*(__cdecl* ZelNumberToTextExport)(int);
typedef int(__cdecl* ZelTextToNumberExport)(const char*);
typedef void(__cdecl* ZelSetRegistryInfoExport)(const char*, const char*);
typedef const char*(__cdecl* ZelTextExport)(void);
typedef int(__stdcall* ZelPostInstallExport)(const char*, const char*);
typedef int(__stdcall* ZelDelRegistryEntryExport)(int, const char*, const char*);

#ifdef __cplusplus
}
#endif

#endif /* ZELSETUP_H */
