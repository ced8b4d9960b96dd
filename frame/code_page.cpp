#include "frame/code_page.h"

#include <cstring>

namespace zel {

const char* NextChar(const char* p, const LeadByteTable& cp)
{
    if (cp.IsLead(*p) && p[1] != '\0')
        return p + 2;
    return p + 1;
}

const char* FindFirstChar(const char* text, char c, const LeadByteTable& cp)
{
    for (const char* p = text; *p != '\0'; p = NextChar(p, cp)) {
        if (*p == c)
            return p;
    }
    return nullptr;
}

const char* FindLastChar(const char* text, char c, const LeadByteTable& cp)
{
    const char* found = nullptr;
    for (const char* p = text; *p != '\0'; p = NextChar(p, cp)) {
        if (*p == c)
            found = p;
    }
    return found;
}

size_t LengthWithoutTrailingBackslash(const char* text, const LeadByteTable& cp)
{
    const size_t length = std::strlen(text);
    const char* last = FindLastChar(text, '\\', cp);
    return last != nullptr && last[1] == '\0' ? length - 1 : length;
}

const char* FindText(const char* text, const char* needle, const LeadByteTable& cp)
{
    const size_t needleLength = std::strlen(needle);
    for (const char* p = text;; p = NextChar(p, cp)) {
        if (std::strncmp(p, needle, needleLength) == 0)
            return p;
        if (*p == '\0')
            return nullptr;
    }
}

size_t CharacterPrefixLength(const char* text, size_t maxBytes, const LeadByteTable& cp)
{
    size_t kept = 0;
    for (const char* p = text; *p != '\0';) {
        const char* next = NextChar(p, cp);
        const size_t end = static_cast<size_t>(next - text);
        if (end > maxBytes)
            break;
        kept = end;
        p = next;
    }
    return kept;
}

} // namespace zel
