#include "util/gzip_writer.h"

#include "util/little_endian.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace zel {
namespace {

constexpr uint8_t kHeader[10] = {0x1F, 0x8B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B};

// Negative: raw deflate data, the gzip framing being ours.
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemoryLevel = 8;
constexpr size_t kOutputChunk = 16384;

int LevelForZlib(int level)
{
    if (level < Z_DEFAULT_COMPRESSION || level > Z_BEST_COMPRESSION)
        return 6;
    return level;
}

z_stream_s* NewDeflateStream(int level)
{
    auto stream = std::make_unique<z_stream>();
    if (deflateInit2(stream.get(), LevelForZlib(level), Z_DEFLATED, kRawDeflateWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return nullptr;
    return stream.release();
}

} // namespace

void GzipWriter::DeflateEnd::operator()(z_stream_s* stream) const
{
    deflateEnd(stream);
    delete stream;
}

GzipWriter::GzipWriter(int level, GzipSink sink)
    : sink_(std::move(sink)),
      stream_(NewDeflateStream(level)),
      output_(kOutputChunk),
      crc_(crc32(0, nullptr, 0)),
      // Without a stream there is nothing to write with; every call reports it.
      failed_(stream_ == nullptr)
{
}

GzipWriter::~GzipWriter() = default;

bool GzipWriter::Emit(const uint8_t* data, size_t length)
{
    if (!failed_ && length > 0 && !sink_(data, length))
        failed_ = true;
    return !failed_;
}

bool GzipWriter::WriteHeader()
{
    if (headerWritten_)
        return !failed_;
    headerWritten_ = true;
    return Emit(kHeader, sizeof(kHeader));
}

// Runs deflate over what is in the stream's input, passing each chunk of
// output on as soon as it is full.
bool GzipWriter::RunDeflate(int flush)
{
    int result;
    do {
        stream_->next_out = output_.data();
        stream_->avail_out = static_cast<uInt>(output_.size());
        result = deflate(stream_.get(), flush);
        if (result != Z_OK && result != Z_BUF_ERROR && result != Z_STREAM_END) {
            failed_ = true;
            return false;
        }
        if (!Emit(output_.data(), output_.size() - stream_->avail_out))
            return false;
    } while (stream_->avail_out == 0);

    // A finish that leaves room in the output has ended the stream, unless
    // zlib went wrong.
    if (flush == Z_FINISH && result != Z_STREAM_END)
        failed_ = true;
    return !failed_;
}

// zlib counts its input in uInt, so a larger piece goes in slices.
bool GzipWriter::Compress(const uint8_t* data, size_t length)
{
    while (length > 0) {
        const uInt slice = static_cast<uInt>(std::min<size_t>(length, UINT_MAX));
        stream_->next_in = data;
        stream_->avail_in = slice;
        crc_ = crc32(crc_, data, slice);
        inputLength_ += slice;
        data += slice;
        length -= slice;
        if (!RunDeflate(Z_NO_FLUSH))
            return false;
    }
    return true;
}

bool GzipWriter::Write(const void* data, size_t length)
{
    if (finished_)
        failed_ = true;
    return WriteHeader() && Compress(static_cast<const uint8_t*>(data), length);
}

bool GzipWriter::WriteTrailer()
{
    uint8_t trailer[8];
    StoreLittleEndian32(crc_, trailer);
    StoreLittleEndian32(inputLength_, trailer + 4);
    return Emit(trailer, sizeof(trailer));
}

bool GzipWriter::Finish()
{
    if (finished_)
        failed_ = true;
    finished_ = true;
    return WriteHeader() && RunDeflate(Z_FINISH) && WriteTrailer();
}

} // namespace zel
