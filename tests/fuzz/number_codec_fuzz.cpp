// The letter number: any text parses without harm, and a number's letters
// read back as the number.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "util/number_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const int number = static_cast<int>(input.TakeWord());
    const std::string text = input.TakeText();
    zel::ParseLetterNumber(text.c_str());

    char letters[zel::kLetterNumberSize];
    std::memset(letters, 0x7F, sizeof letters);
    zel::FormatLetterNumber(number, letters);
    zelfuzz::Require(std::memchr(letters, 0, sizeof letters) != nullptr, "the letters are terminated");
    if (number >= 0)
        zelfuzz::Require(zel::ParseLetterNumber(letters) == number, "letters read back as the number");
    return 0;
}
