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

/* Install action log: parameterText is "setup INI path|message". */
ZELSETUP_API int __stdcall JTSetupAddActionLog(const HostCallRecord* r); /* @110 */

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

#ifdef __cplusplus
}
#endif

#endif /* ZELSETUP_H */
