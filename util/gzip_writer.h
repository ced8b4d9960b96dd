// gzip streams (RFC 1952) written through a byte sink, so that the same code
// packs into a file, a pipe or memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct z_stream_s;

namespace zel {

// Takes the next piece of the stream; false when it could not be written.
using GzipSink = std::function<bool(const uint8_t* data, size_t length)>;

// The header carries neither name nor time (FLG, MTIME and XFL zero, OS 11),
// so the same input at the same level always gives the same bytes.
//
// Every call returns false once anything has failed, the sink or zlib, so a
// caller that checks the last result alone cannot take a broken stream for a
// whole one.
class GzipWriter {
public:
    // level in zlib's meaning: 0 to 9, -1 for zlib's default (6). A level zlib
    // would refuse compresses at 6 rather than not at all.
    GzipWriter(int level, GzipSink sink);
    ~GzipWriter();

    GzipWriter(const GzipWriter&) = delete;
    GzipWriter& operator=(const GzipWriter&) = delete;

    // Writes the header now, for a stream whose header is to be there as soon
    // as its file is opened. Write and Finish write it themselves when it has
    // not been written yet; it is never written twice.
    bool WriteHeader();

    bool Write(const void* data, size_t length);

    // Ends the compressed data and writes the trailer (CRC-32, then the input
    // length modulo 2^32). Nothing may be written after it.
    bool Finish();

private:
    struct DeflateEnd {
        void operator()(z_stream_s* stream) const;
    };

    bool Compress(const uint8_t* data, size_t length);
    bool RunDeflate(int flush);
    bool WriteTrailer();
    bool Emit(const uint8_t* data, size_t length);

    GzipSink sink_;
    std::unique_ptr<z_stream_s, DeflateEnd> stream_;
    std::vector<uint8_t> output_;
    uint32_t crc_;
    uint32_t inputLength_ = 0;
    bool headerWritten_ = false;
    bool finished_ = false;
    bool failed_ = false;
};

} // namespace zel
