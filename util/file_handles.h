// Owning pointers for the C run-time's files and zlib's gzip files, so that
// every way out of a function closes them. Where the result of closing
// matters, release the pointer and close it by hand.
#pragma once

#include <zlib.h>

#include <cstdio>
#include <memory>

namespace zel {

struct FileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileClose>;

struct GzFileClose {
    void operator()(gzFile file) const { gzclose(file); }
};
using GzFilePtr = std::unique_ptr<gzFile_s, GzFileClose>;

} // namespace zel
