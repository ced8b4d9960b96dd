// The gzip writer: whatever it is fed, in whatever pieces, zlib reads the
// stream back to exactly those bytes.
#include <zlib.h>

#include <vector>

#include "fuzz_input.h"
#include "util/gzip_writer.h"

namespace {

std::vector<uint8_t> Gunzip(const std::vector<uint8_t>& stream, size_t expected)
{
    std::vector<uint8_t> out(expected + 1);
    z_stream z{};
    zelfuzz::Require(inflateInit2(&z, 16 + MAX_WBITS) == Z_OK, "inflateInit2");
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    zelfuzz::Require(status == Z_STREAM_END, "a complete gzip stream");
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const int level = static_cast<int8_t>(input.TakeByte()) % 12;
    const size_t piece = 1 + input.TakeByte();
    const std::vector<uint8_t> content = input.TakeRest();

    std::vector<uint8_t> stream;
    zel::GzipWriter writer(level, [&](const uint8_t* bytes, size_t length) {
        stream.insert(stream.end(), bytes, bytes + length);
        return true;
    });
    zelfuzz::Require(writer.WriteHeader(), "header");
    for (size_t at = 0; at < content.size(); at += piece) {
        const size_t length = std::min(piece, content.size() - at);
        zelfuzz::Require(writer.Write(content.data() + at, length), "write");
    }
    zelfuzz::Require(writer.Finish(), "finish");
    zelfuzz::Require(Gunzip(stream, content.size()) == content, "read back unchanged");
    return 0;
}
