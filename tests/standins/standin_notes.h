// What the stand-ins share: reading a setting that the test passes through
// the environment, and noting what happened in a file that the test reads.
#pragma once

#include <windows.h>

#include <string>

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
    const std::string log = Environment(logVariable);
    if (log.empty())
        return;
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace zelstandin
