// The character-wise scans: whatever they find lies inside the text, on the
// start of a character, and is the character asked for.
#include <cstring>

#include "frame/code_page.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const char wanted = static_cast<char>(input.TakeByte());
    const std::string needle = input.TakeText();
    const std::string text = input.TakeText();
    const char* begin = text.c_str();
    const char* end = begin + text.size();

    for (const char* found : {zel::FindFirstChar(begin, wanted, cp), zel::FindLastChar(begin, wanted, cp)}) {
        if (found == nullptr)
            continue;
        zelfuzz::Require(found >= begin && found < end, "found character inside the text");
        zelfuzz::Require(*found == wanted, "found character is the one asked for");
        zelfuzz::Require(zelfuzz::IsCharacterStart(begin, found, cp), "found character starts a character");
    }

    if (const char* found = zel::FindText(begin, needle.c_str(), cp)) {
        zelfuzz::Require(found >= begin && found <= end, "found text inside the text");
        zelfuzz::Require(std::strncmp(found, needle.c_str(), needle.size()) == 0, "found text matches");
        zelfuzz::Require(zelfuzz::IsCharacterStart(begin, found, cp), "found text starts a character");
    }

    const size_t limit = input.TakeByte();
    const size_t prefix = zel::CharacterPrefixLength(begin, limit, cp);
    zelfuzz::Require(prefix <= limit && prefix <= text.size(), "prefix within its limit");
    zelfuzz::Require(zelfuzz::IsCharacterStart(begin, begin + prefix, cp), "prefix ends between characters");
    return 0;
}
