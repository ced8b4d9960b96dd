// A switchable trace in a ring of numbered, time-stamped lines, kept in the
// section "DebugIniMsgs" of the product INI file.
#pragma once

#include <windows.h>

#include <cstdarg>

#include "frame/message_text.h"

namespace zel {

// The ring's switch and its size, each read from the file once and then kept
// for the life of the object; "LastLine" is read anew for every message, so a
// ring goes on where an earlier process left it.
class DebugRing {
public:
    // Writes one line when the ring is on; the result is the switch's value.
    int Message(const char* format, va_list args);

private:
    bool enableRead_ = false;
    UINT enable_ = 0;
    bool maxLineRead_ = false;
    UINT maxLine_ = 0;
};

// A printf-style line into the module's ring. Callers ignore the result.
int DebugIniMessage(const char* format, ...) ZEL_PRINTF_LIKE(1, 2);

} // namespace zel
