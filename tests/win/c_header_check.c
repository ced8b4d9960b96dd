/*
 * The public header compiled as C, not C++: a host written in C sees the
 * record with the layout the library reads, and every prototype and
 * function-pointer type is valid C.
 */
#include "zelsetup.h"

#include "c_header_check.h"

size_t ZelCHostRecordSize(void)
{
    return sizeof(HostCallRecord);
}

size_t ZelCOwnerWindowOffset(void)
{
    return offsetof(HostCallRecord, ownerWindow);
}

size_t ZelCParameterTextOffset(void)
{
    return offsetof(HostCallRecord, parameterText);
}

/* Calls an export of the host-record form through the header's C type. */
int ZelCCallHostRecordExport(FARPROC function, const char* parameterText)
{
    HostCallRecord record = {0};
    ZelHostRecordExport call = (ZelHostRecordExport)function;
    record.parameterText = parameterText;
    return call(&record);
}
