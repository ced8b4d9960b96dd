#include "util/gzip_writer.h"
#include "util/little_endian.h"

#include "system_gzip.h"
#include "tests/shared/test_bytes.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace zel {
namespace {

using testdata::Bytes;
using testdata::RandomBytes;

const Bytes kHeader = {0x1F, 0x8B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B};

GzipSink AppendTo(Bytes* out)
{
    return [out](const uint8_t* data, size_t length) {
        out->insert(out->end(), data, data + length);
        return true;
    };
}

Bytes Gzip(const Bytes& input, int level, size_t chunk = SIZE_MAX)
{
    Bytes out;
    GzipWriter writer(level, AppendTo(&out));
    for (size_t at = 0; at < input.size(); at += chunk)
        EXPECT_TRUE(writer.Write(input.data() + at, std::min(chunk, input.size() - at)));
    EXPECT_TRUE(writer.Finish());
    return out;
}

// Inflates with zlib's own gzip reader, which checks the header, the CRC and
// the length. Fails the test unless the stream ends exactly at its last byte.
Bytes Gunzip(const Bytes& gz)
{
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 16 + 15), Z_OK);
    stream.next_in = const_cast<Bytef*>(gz.data());
    stream.avail_in = static_cast<uInt>(gz.size());
    Bytes out;
    uint8_t chunk[4096];
    int result;
    do {
        stream.next_out = chunk;
        stream.avail_out = sizeof(chunk);
        result = inflate(&stream, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (sizeof(chunk) - stream.avail_out));
    } while (result == Z_OK);
    EXPECT_EQ(result, Z_STREAM_END);
    EXPECT_EQ(stream.avail_in, 0u);
    inflateEnd(&stream);
    return out;
}

Bytes TextBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Text with long repeats and some noise, so that every level has work to do.
Bytes LogLikeBytes(size_t length)
{
    std::mt19937 random(7);
    std::string text;
    while (text.size() < length)
        text += "line " + std::to_string(random() % 5000) + ": copying file " + std::to_string(random()) + "\n";
    text.resize(length);
    return TextBytes(text);
}

const Bytes kSampleText = TextBytes("Setup is copying the files of the product to your computer.\n"
                                    "Setup is copying the files of the product to your computer.\n");

TEST(GzipWriter, HeaderIsFixedAtEveryLevel)
{
    for (int level : {-1, 0, 1, 6, 9, 42}) {
        SCOPED_TRACE(level);
        const Bytes gz = Gzip(kSampleText, level);
        ASSERT_GT(gz.size(), kHeader.size());
        EXPECT_EQ(Bytes(gz.begin(), gz.begin() + kHeader.size()), kHeader);
        EXPECT_EQ(Gunzip(gz), kSampleText);
    }
}

TEST(GzipWriter, SameInputAndLevelGiveTheSameBytes)
{
    const Bytes input = LogLikeBytes(100000);
    for (int level : {0, 1, 6, 9}) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Gzip(input, level), Gzip(input, level));
    }
}

TEST(GzipWriter, DefaultAndRefusedLevelsCompressAtSix)
{
    const Bytes input = LogLikeBytes(100000);
    const Bytes atSix = Gzip(input, 6);
    for (int level : {-1, -2, 10, 42, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Gzip(input, level), atSix);
    }
}

TEST(GzipWriter, LevelReachesZlib)
{
    const Bytes input = LogLikeBytes(100000);
    const Bytes stored = Gzip(input, 0);
    const Bytes fast = Gzip(input, 1);
    const Bytes best = Gzip(input, 9);
    EXPECT_GT(stored.size(), input.size());
    EXPECT_LT(fast.size(), input.size() / 2);
    EXPECT_LT(best.size(), fast.size());
}

TEST(GzipWriter, EmptyInput)
{
    Bytes expected = kHeader;
    // An empty final block with fixed codes, then CRC 0 and length 0.
    expected.insert(expected.end(), {0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Gzip(Bytes(), 6), expected);

    for (int level : {-1, 0, 1, 9}) {
        SCOPED_TRACE(level);
        EXPECT_TRUE(Gunzip(Gzip(Bytes(), level)).empty());
    }
}

TEST(GzipWriter, EmptyWritesAddNothing)
{
    Bytes out;
    GzipWriter writer(6, AppendTo(&out));
    EXPECT_TRUE(writer.Write(nullptr, 0));
    EXPECT_TRUE(writer.Write(kSampleText.data(), kSampleText.size()));
    EXPECT_TRUE(writer.Write(nullptr, 0));
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(out, Gzip(kSampleText, 6));
}

TEST(GzipWriter, HeaderCanGoOutBeforeAnyData)
{
    Bytes out;
    GzipWriter writer(9, AppendTo(&out));
    EXPECT_TRUE(writer.WriteHeader());
    EXPECT_EQ(out, kHeader);
    EXPECT_TRUE(writer.WriteHeader());
    EXPECT_TRUE(writer.Write(kSampleText.data(), kSampleText.size()));
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(out, Gzip(kSampleText, 9));
}

struct RoundTripCase {
    const char* name;
    Bytes input;
    size_t chunk;
};

TEST(GzipWriter, RoundTrips)
{
    const RoundTripCase cases[] = {
        {"text in one piece", kSampleText, SIZE_MAX},
        {"text byte by byte", kSampleText, 1},
        {"random data", RandomBytes(200000, 1), 4096},
        {"more than a MiB in 1024-byte pieces", LogLikeBytes(1536 * 1024 + 17), 1024},
        {"random MiB in 1024-byte pieces", RandomBytes(1024 * 1024 + 1, 2), 1024},
    };
    for (const RoundTripCase& c : cases) {
        for (int level : {0, 1, 6, 9}) {
            SCOPED_TRACE(testing::Message() << c.name << " at level " << level);
            const Bytes gz = Gzip(c.input, level, c.chunk);
            EXPECT_EQ(Gunzip(gz), c.input);
            ASSERT_GE(gz.size(), kHeader.size() + 8);
            const uLong crc = crc32(crc32(0, nullptr, 0), c.input.data(), static_cast<uInt>(c.input.size()));
            EXPECT_EQ(LoadLittleEndian32(&gz[gz.size() - 8]), crc);
            EXPECT_EQ(LoadLittleEndian32(&gz[gz.size() - 4]), static_cast<uint32_t>(c.input.size()));
        }
    }
}

class TempFile {
public:
    TempFile()
    {
        const int fd = mkstemp(path_);
        EXPECT_GE(fd, 0);
        if (fd >= 0)
            close(fd);
    }
    ~TempFile() { std::remove(path_); }

    const char* Path() const { return path_; }

private:
    char path_[32] = "/tmp/zel_gzip_test_XXXXXX";
};

bool WriteFile(const char* path, const Bytes& bytes)
{
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

TEST(GzipWriter, SystemGzipExpandsTheStream)
{
    const Bytes inputs[] = {Bytes(), kSampleText, LogLikeBytes(300000), RandomBytes(70000, 3)};
    for (const Bytes& input : inputs) {
        SCOPED_TRACE(input.size());
        TempFile file;
        ASSERT_TRUE(WriteFile(file.Path(), Gzip(input, 9, 1024)));
        Bytes expanded;
        EXPECT_TRUE(ExpandWithSystemGzip(file.Path(), &expanded));
        EXPECT_EQ(expanded, input);
    }
}

// Refuses its failAt-th piece; counts the pieces offered.
struct FailingSink {
    size_t failAt;
    size_t calls = 0;

    GzipSink Sink()
    {
        return [this](const uint8_t*, size_t) { return ++calls != failAt; };
    }
};

// Stored blocks at level 0 make the sink busy during Write as well as Finish.
TEST(GzipWriter, EverySinkFailureIsReported)
{
    const Bytes input = RandomBytes(100000, 4);
    FailingSink counting{SIZE_MAX};
    size_t callsInWrite = 0;
    {
        GzipWriter writer(0, counting.Sink());
        ASSERT_TRUE(writer.Write(input.data(), input.size()));
        callsInWrite = counting.calls;
        ASSERT_TRUE(writer.Finish());
    }
    ASSERT_GT(callsInWrite, 2u);
    ASSERT_GT(counting.calls, callsInWrite + 1);

    for (size_t failAt = 1; failAt <= counting.calls; ++failAt) {
        SCOPED_TRACE(failAt);
        FailingSink failing{failAt};
        GzipWriter writer(0, failing.Sink());
        EXPECT_EQ(writer.Write(input.data(), input.size()), failAt > callsInWrite);
        EXPECT_FALSE(writer.Finish());
        // Nothing is offered to the sink once it has failed.
        EXPECT_EQ(failing.calls, failAt);
    }
}

TEST(GzipWriter, RefusedHeaderIsReported)
{
    FailingSink failing{1};
    GzipWriter writer(6, failing.Sink());
    EXPECT_FALSE(writer.WriteHeader());
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(failing.calls, 1u);
}

TEST(GzipWriter, FailureSticks)
{
    FailingSink failing{1};
    GzipWriter writer(6, failing.Sink());
    EXPECT_FALSE(writer.Write(kSampleText.data(), kSampleText.size()));
    EXPECT_FALSE(writer.Write(nullptr, 0));
    EXPECT_FALSE(writer.Write(kSampleText.data(), kSampleText.size()));
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(failing.calls, 1u);
}

TEST(GzipWriter, NothingGoesAfterFinish)
{
    Bytes out;
    GzipWriter writer(6, AppendTo(&out));
    EXPECT_TRUE(writer.Finish());
    const Bytes finished = out;
    EXPECT_FALSE(writer.Write(kSampleText.data(), kSampleText.size()));
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(out, finished);
}

} // namespace
} // namespace zel
