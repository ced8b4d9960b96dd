#include "frame/message_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace zel {

std::string FormatArgs(const char* format, va_list args)
{
    va_list sizing;
    va_copy(sizing, args);
    const int length = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<size_t>(length));
    }
    return text;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatArgs(format, args);
    va_end(args);
    return text;
}

std::string MessageTag(int id)
{
    if (id > 2000 && id < 4000)
        return Format(" [MSG-%d]", id);
    return std::string();
}

std::string WithoutSystemLineEnd(const char* systemText)
{
    const size_t length = std::strlen(systemText);
    if (length < 2)
        return std::string(systemText, length);
    return std::string(systemText, length - 2);
}

std::string ComposeSystemErrorText(const char* subject, const std::string& systemText, uint32_t code)
{
    return Format("%s%s%s(%d)", subject ? subject : "", subject ? "\n" : "", systemText.c_str(),
                  static_cast<int32_t>(code));
}

} // namespace zel
