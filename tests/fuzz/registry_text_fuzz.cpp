// Key paths are composed whole or not at all, and at most one trailing
// backslash, a character of its own, is taken off.
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "settings/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const size_t capacity = 1 + input.TakeByte() % 64;
    const std::string parts[4] = {input.TakeText(), input.TakeText(), input.TakeText(), input.TakeText()};

    std::string out(capacity, '\x7F');
    const bool fits = zel::ComposeKeyPath(out.data(), capacity, parts[0].c_str(), parts[1].c_str(),
                                          parts[2].c_str(), parts[3].c_str());
    const std::string whole = parts[0] + "\\" + parts[1] + "\\" + parts[2] + "\\" + parts[3];
    zelfuzz::Require(fits == (whole.size() < capacity), "composed exactly when the path fits");
    if (fits)
        zelfuzz::Require(whole == out.c_str(), "the whole path");

    std::string folder = input.TakeText();
    const std::string before = folder;
    zel::RemoveTrailingBackslash(folder.data(), cp);
    const size_t after = std::strlen(folder.c_str());
    zelfuzz::Require(after == before.size() || after + 1 == before.size(), "at most one byte taken off");
    if (after + 1 == before.size()) {
        zelfuzz::Require(before.back() == '\\', "only a backslash is taken off");
        zelfuzz::Require(zelfuzz::IsCharacterStart(before.c_str(), before.c_str() + after, cp),
                         "never the second byte of a double-byte character");
    }
    return 0;
}
