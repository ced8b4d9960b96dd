// Numbers written with letters: each decimal digit raised by 17, '0' to 'A'
// through '9' to 'J', the minus sign left as it is. Such a number passes where
// a text of letters is expected.
#pragma once

#include <cstddef>

namespace zel {

// Room for any int ("-" and ten letters) and the terminator, with some to
// spare; also the length from which a text is refused as a number.
constexpr size_t kLetterNumberSize = 20;

// n in decimal, its digits raised to letters: 305 gives "DAF", -42 "-EC".
void FormatLetterNumber(int n, char out[kLetterNumberSize]);

// The number a text of letters 'A' to 'J' stands for, taken modulo 2^32 and
// read as a signed 32-bit value. Anything else gives 0: a null pointer, an
// empty text, a text of kLetterNumberSize characters or more (of which nothing
// past that many is read) and a text with any other character, the minus sign
// included, so that negative numbers do not come back.
int ParseLetterNumber(const char* text);

} // namespace zel
