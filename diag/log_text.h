// Texts of the two diagnostic logs, kept free of <windows.h>: the time stamps,
// the debug ring's numbering and keys, and the action log's parameter and line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "frame/code_page.h"

namespace zel {

// The time as "%a %b %d %I:%M %p %Y" would give it in the C locale, whatever
// locale the host process has chosen; empty when a field of the record is out
// of range, as for a time that cannot be formatted.
std::string ActionLogStamp(const std::tm& time);

// "[" ActionLogStamp "] ", or empty when the time cannot be formatted.
std::string DebugRingStamp(const std::tm& time);

// The current local time, or null when it cannot be had.
std::optional<std::tm> CurrentLocalTime();

// The line number after lastLine in a ring of maxLine lines; both compared as
// unsigned numbers, so a maximum read as negative never wraps.
uint32_t NextRingLine(uint32_t lastLine, uint32_t maxLine);

// "%03d" of the line number.
std::string RingLineKey(uint32_t line);

// Longest formatted debug message, in bytes: the ring's buffer of 1024 bytes
// less its terminator.
constexpr size_t kDebugMessageMax = 1023;

// The action log's parameter: "setup INI path|message".
struct ActionLogRequest {
    std::string setupIniPath;
    std::string message;
};

// Longest parameter text, in bytes: the export's buffer of 520 bytes less its
// terminator.
constexpr size_t kActionLogParameterMax = 519;

// Splits the parameter text at its first bar. A longer text is cut to its
// first 519 bytes of whole characters first, so only the message end can be
// lost; a text whose bar lies beyond the cut has no bar and gives null.
std::optional<ActionLogRequest> SplitActionLogParameter(const char* text, const LeadByteTable& cp);

// One line of the action log: "%s : %s\r\n".
std::string ActionLogLine(const std::string& stamp, const std::string& message);

} // namespace zel
