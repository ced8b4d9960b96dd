// What the stand-ins share: reading a setting that the test passes through
// the environment, and noting what happened in a file that the test reads.
#pragma once

#include <windows.h>

#include <string>

#include "tests/standins/standin_support.h"

namespace zelstandin {

// The variable's value, or "" when it is unset or longer than 1023 characters.
inline std::string Environment(const char* name)
{
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

// Appends line and CR LF to the file that the variable names, if any. Opened
// for each line and shared, so that several writers can note into one file.
inline void NoteLine(const char* logVariable, const std::string& line)
{
    standin::AppendToFile(Environment(logVariable), line + "\r\n");
}

} // namespace zelstandin
