/* What the C translation unit c_header_check.c reports of the public header. */
#pragma once

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

size_t ZelCHostRecordSize(void);
size_t ZelCOwnerWindowOffset(void);
size_t ZelCParameterTextOffset(void);
int ZelCCallHostRecordExport(FARPROC function, const char* parameterText);

#ifdef __cplusplus
}
#endif
