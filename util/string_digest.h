// The digest text of the last text handed to it, kept until the next one.
#pragma once

#include "util/md5.h"

namespace zel {

class StringDigest {
public:
    StringDigest();
    virtual ~StringDigest() = default;

    StringDigest(const StringDigest&) = delete;
    StringDigest& operator=(const StringDigest&) = delete;

    // Digests the bytes of text up to its terminator, as they are. The pointer
    // is kept, not the text.
    void Compute(const char* text);

    // The 32 lowercase hex digits of the last digest, in this object, which
    // the next Compute overwrites; null before the first.
    const char* GetText() const;

private:
    bool valid_;
    Md5Digest digest_;
    char hexText_[kMd5HexSize];
    const char* text_;
};

} // namespace zel
