// The data exports: file compression, the string digest and the letter
// number codec, over the portable code of this folder.
#include "zelsetup.h"

#include "util/gzip_file.h"
#include "util/number_codec.h"
#include "util/string_digest.h"

namespace {

// Zero at load; rewritten by every JTGetStringFromNumber.
char numberText[zel::kLetterNumberSize];

} // namespace

extern "C" const char* __cdecl QDVSetupCompressFile(const char* source, const char* destination, int level)
{
    return zel::CompressFile(source, destination, level) ? destination : nullptr;
}

extern "C" const char* __cdecl QDVSetupUncompressFile(const char* source, const char* destination)
{
    return zel::ExpandFile(source, destination) ? destination : nullptr;
}

extern "C" const char* __cdecl JTGetEncryptedString(const char* text)
{
    // Made on the first call, destroyed when the module is unloaded.
    static zel::StringDigest digest;
    // A null text is taken for the empty text rather than read.
    digest.Compute(text != nullptr ? text : "");
    return digest.GetText();
}

extern "C" const char* __cdecl JTGetStringFromNumber(int n)
{
    zel::FormatLetterNumber(n, numberText);
    return numberText;
}

extern "C" int __cdecl JTGetNumberFromString(const char* text)
{
    return zel::ParseLetterNumber(text);
}
