// The registry editor's parameters and the setup time: whole or refused,
// never past the buffer.
#include <cstdio>
#include <string>
#include <vector>

#include "config/post_install_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const size_t capacity = input.TakeByte() % 300;
    const uint32_t high = input.TakeWord();
    const uint32_t low = input.TakeWord();
    const std::string path = input.TakeText();

    std::vector<char> out(capacity);
    const bool made = zel::FormatImportParameters(out.data(), capacity, path.c_str());
    const std::string whole = "/s /i " + path;
    zelfuzz::Require(made == (whole.size() < capacity), "made exactly when the text fits");
    if (made)
        zelfuzz::Require(whole == out.data(), "the whole parameter text");
    else if (capacity > 0)
        zelfuzz::Require(out[0] == '\0', "a refused text leaves the empty text");

    char expected[32];
    std::snprintf(expected, sizeof expected, "%d-%d", static_cast<int32_t>(high), static_cast<int32_t>(low));
    zelfuzz::Require(zel::FormatSetupTime(high, low) == expected, "the two halves as signed numbers");
    return 0;
}
