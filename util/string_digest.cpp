#include "util/string_digest.h"

#include <cstring>

namespace zel {

StringDigest::StringDigest() : valid_(false), digest_(), text_(nullptr)
{
    hexText_[kMd5HexSize - 1] = '\0';
}

void StringDigest::Compute(const char* text)
{
    text_ = text;
    digest_ = Md5(text, std::strlen(text));
    Md5DigestHex(digest_, hexText_);
    valid_ = true;
}

const char* StringDigest::GetText() const
{
    return valid_ ? hexText_ : nullptr;
}

} // namespace zel
