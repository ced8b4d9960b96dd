// Whole files packed into gzip files and back, a chunk of 1024 bytes at a
// time, so that memory use does not depend on the file size.
#pragma once

#include <cstddef>

namespace zel {

// One buffer of this size carries every piece between the two files.
constexpr size_t kFileChunkSize = 1024;

// Packs the plain file source into the gzip file destination at level (zlib's
// meaning; -1 and any level zlib refuses compress at 6). The source is opened
// first, so a missing source creates nothing. False for a null path, when
// either file cannot be opened, when the source cannot be read to its end, and when any part of
// the compressed file, the trailer included, cannot be written. A failure
// leaves what was written so far behind.
bool CompressFile(const char* source, const char* destination, int level);

// Expands what zlib's gzip reader reads from source (one or more gzip members
// one after another, or a file that is not gzip at all, which is copied) into
// destination. The destination is created or emptied before the source is
// opened, so it stays behind, empty, when the source is missing. False for a
// null path, when either file cannot be opened, when the compressed data is damaged or its
// CRC-32 or length does not match, and when destination cannot be written
// whole; the data written before the failure stays.
bool ExpandFile(const char* source, const char* destination);

} // namespace zel
