#include "util/gzip_file.h"
#include "util/file_handles.h"

#include "system_gzip.h"
#include "tests/shared/test_bytes.h"

#include <gtest/gtest.h>

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
constexpr auto TextBytes = testdata::SetupLogText;

// A scratch folder, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder() { EXPECT_NE(mkdtemp(path_), nullptr); }
    ~ScratchFolder()
    {
        const std::string command = std::string("rm -rf '") + path_ + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    std::string File(const char* name) const { return std::string(path_) + "/" + name; }

private:
    char path_[32] = "/tmp/zel_gzip_file_XXXXXX";
};

bool WriteFile(const std::string& path, const Bytes& bytes)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
           std::fclose(file.release()) == 0;
}

Bytes ReadFile(const std::string& path)
{
    Bytes bytes;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    EXPECT_TRUE(file) << path;
    if (!file)
        return bytes;
    uint8_t chunk[4096];
    size_t read;
    while ((read = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

struct Content {
    const char* name;
    Bytes bytes;
};

const Content kContents[] = {
    {"empty", {}},
    {"one chunk less a byte", TextBytes(1023)},
    {"one chunk", TextBytes(1024)},
    {"text", TextBytes(50000)},
    {"random", RandomBytes(70001, 1)},
    {"over a MiB", TextBytes(1024 * 1024 + 4097)},
};

TEST(GzipFile, RoundTripsAtEveryLevel)
{
    ScratchFolder folder;
    const std::string plain = folder.File("plain"), packed = folder.File("packed.gz"), back = folder.File("back");
    for (const Content& c : kContents) {
        ASSERT_TRUE(WriteFile(plain, c.bytes));
        for (int level : {-1, 0, 1, 9, 42}) {
            SCOPED_TRACE(testing::Message() << c.name << " at level " << level);
            EXPECT_TRUE(CompressFile(plain.c_str(), packed.c_str(), level));
            EXPECT_TRUE(ExpandFile(packed.c_str(), back.c_str()));
            EXPECT_EQ(ReadFile(back), c.bytes);
        }
    }
}

TEST(GzipFile, SystemGzipExpandsTheFile)
{
    ScratchFolder folder;
    const std::string plain = folder.File("plain"), packed = folder.File("packed.gz");
    for (const Content& c : kContents) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFile(plain, c.bytes));
        ASSERT_TRUE(CompressFile(plain.c_str(), packed.c_str(), 6));
        Bytes expanded;
        EXPECT_TRUE(ExpandWithSystemGzip(packed, &expanded));
        EXPECT_EQ(expanded, c.bytes);
    }
}

TEST(GzipFile, MembersOneAfterAnotherExpandToTheirConcatenation)
{
    ScratchFolder folder;
    const Bytes first = TextBytes(3000), second = RandomBytes(5000, 2);
    ASSERT_TRUE(WriteFile(folder.File("a"), first));
    ASSERT_TRUE(WriteFile(folder.File("b"), second));
    ASSERT_TRUE(CompressFile(folder.File("a").c_str(), folder.File("a.gz").c_str(), 6));
    ASSERT_TRUE(CompressFile(folder.File("b").c_str(), folder.File("b.gz").c_str(), 1));
    Bytes both = ReadFile(folder.File("a.gz"));
    const Bytes secondMember = ReadFile(folder.File("b.gz"));
    both.insert(both.end(), secondMember.begin(), secondMember.end());
    ASSERT_TRUE(WriteFile(folder.File("both.gz"), both));

    EXPECT_TRUE(ExpandFile(folder.File("both.gz").c_str(), folder.File("out").c_str()));
    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(ReadFile(folder.File("out")), expected);
}

TEST(GzipFile, MissingSourceAndUnwritableDestination)
{
    ScratchFolder folder;
    const std::string missing = folder.File("missing"), plain = folder.File("plain"), out = folder.File("out");
    const std::string noFolder = folder.File("no/such/file");
    ASSERT_TRUE(WriteFile(plain, TextBytes(100)));

    EXPECT_FALSE(CompressFile(missing.c_str(), out.c_str(), 6));
    EXPECT_FALSE(Exists(out));
    EXPECT_FALSE(CompressFile(plain.c_str(), noFolder.c_str(), 6));

    EXPECT_FALSE(ExpandFile(missing.c_str(), out.c_str()));
    EXPECT_TRUE(ReadFile(out).empty());
    EXPECT_FALSE(ExpandFile(plain.c_str(), noFolder.c_str()));

    EXPECT_FALSE(CompressFile(nullptr, out.c_str(), 6));
    EXPECT_FALSE(CompressFile(plain.c_str(), nullptr, 6));
    EXPECT_FALSE(ExpandFile(nullptr, out.c_str()));
    EXPECT_FALSE(ExpandFile(plain.c_str(), nullptr));
}

// A folder opens for reading here, and reading it fails at once.
TEST(GzipFile, SourceThatCannotBeReadFailsTheCompression)
{
    ScratchFolder folder;
    const std::string source = folder.File("");
    EXPECT_FALSE(CompressFile(source.c_str(), folder.File("out.gz").c_str(), 6));
}

// /dev/full takes the buffered bytes and refuses them when they are flushed,
// so that only closing the file reports the failure.
TEST(GzipFile, FailureToFinishTheWrittenFileIsReported)
{
    if (!Exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ScratchFolder folder;
    const std::string plain = folder.File("plain"), packed = folder.File("packed.gz");
    ASSERT_TRUE(WriteFile(plain, TextBytes(100)));
    ASSERT_TRUE(CompressFile(plain.c_str(), packed.c_str(), 6));

    EXPECT_FALSE(CompressFile(plain.c_str(), "/dev/full", 6));
    EXPECT_FALSE(ExpandFile(packed.c_str(), "/dev/full"));
}

} // namespace
} // namespace zel
