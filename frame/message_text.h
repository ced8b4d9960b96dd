// Texts of the setup messages, composed without <windows.h>.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

namespace zel {

// " [MSG-<id>]" for ids of the tagged band (2001 to 3999), else "".
std::string MessageTag(int id);

// The system's text for an error code without the line end it comes with.
// The system ends its texts with CR LF; a text shorter than that is kept.
std::string WithoutSystemLineEnd(const char* systemText);

// "<subject>\n<system text>(<code>)", the subject and its line feed only when
// a subject is given, the code as a signed decimal number.
std::string ComposeSystemErrorText(const char* subject, const std::string& systemText, uint32_t code);

// printf into a string of any length.
#if defined(__MINGW32__)
#define ZEL_PRINTF_LIKE(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define ZEL_PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))
#endif
std::string Format(const char* format, ...) ZEL_PRINTF_LIKE(1, 2);
std::string FormatArgs(const char* format, va_list args) ZEL_PRINTF_LIKE(1, 0);

} // namespace zel
