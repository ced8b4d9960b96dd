#include "util/number_codec.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace zel {
namespace {

constexpr char kLetterOffset = 'A' - '0';

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The digit a letter stands for, in 8-bit arithmetic: a byte below the offset
// wraps round to a high byte, which is no digit either.
char LetterToDigit(char letter)
{
    return static_cast<char>(static_cast<uint8_t>(letter) - kLetterOffset);
}

} // namespace

void FormatLetterNumber(int n, char out[kLetterNumberSize])
{
    std::snprintf(out, kLetterNumberSize, "%d", n);
    for (char* p = out; *p != '\0'; ++p) {
        if (IsDigit(*p))
            *p = static_cast<char>(*p + kLetterOffset);
    }
}

int ParseLetterNumber(const char* text)
{
    if (text == nullptr)
        return 0;
    const size_t length = strnlen(text, kLetterNumberSize);
    if (length >= kLetterNumberSize)
        return 0;

    // Unsigned, so that nineteen digits wrap round instead of overflowing.
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        const char digit = LetterToDigit(text[i]);
        if (!IsDigit(digit))
            return 0;
        value = value * 10 + static_cast<uint32_t>(digit - '0');
    }
    return static_cast<int32_t>(value);
}

} // namespace zel
