// Folder and name joined whole or not at all: never past the buffer, one
// trailing backslash of the folder dropped, never a double-byte character's
// second byte, and a refusal leaves the empty text.
#include <cstring>
#include <string>

#include "config/path_join.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const size_t capacity = input.TakeByte() % 300;
    const std::string folder = input.TakeText();
    const std::string name = input.TakeText();

    const size_t kept = zel::LengthWithoutTrailingBackslash(folder.c_str(), cp);
    zelfuzz::Require(kept == folder.size() || (kept + 1 == folder.size() && folder.back() == '\\'),
                     "at most the trailing backslash is dropped");
    if (kept + 1 == folder.size())
        zelfuzz::Require(zelfuzz::IsCharacterStart(folder.c_str(), folder.c_str() + kept, cp),
                         "never the second byte of a double-byte character");

    // The buffer exactly as large as asked, so that AddressSanitizer sees
    // any byte written past it.
    std::vector<char> out(capacity);
    const bool joined = zel::JoinFolderAndName(out.data(), capacity, folder.c_str(), name.c_str(), cp);
    const std::string whole = folder.substr(0, kept) + "\\" + name;
    zelfuzz::Require(joined == (whole.size() < capacity), "joined exactly when the whole path fits");
    if (joined)
        zelfuzz::Require(whole == out.data(), "the whole path");
    else if (capacity > 0)
        zelfuzz::Require(out[0] == '\0', "a refused path leaves the empty text");
    return 0;
}
