// The data exports of the real DLL: file compression, the string digest and
// the letter number codec, called through the loaded module.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "module_under_test.h"
#include "tests/shared/test_bytes.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

using testdata::Bytes;
using testdata::RandomBytes;
constexpr auto TextBytes = testdata::SetupLogText;

const Bytes kHeader = {0x1F, 0x8B, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0B};

ZelCompressFileExport Compress()
{
    return Module().Export<ZelCompressFileExport>("QDVSetupCompressFile", 13);
}

ZelUncompressFileExport Uncompress()
{
    return Module().Export<ZelUncompressFileExport>("QDVSetupUncompressFile", 14);
}

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char temp[MAX_PATH] = {};
        EXPECT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        char name[MAX_PATH] = {};
        EXPECT_NE(GetTempFileNameA(temp, "zel", 0, name), 0u);
        DeleteFileA(name);
        EXPECT_TRUE(CreateDirectoryA(name, nullptr)) << name;
        path_ = name;
    }

    ~ScratchFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA(File(found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const char* name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

struct HandleClose {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleClose>;

FileHandle OpenFile(const std::string& path, DWORD access, DWORD disposition)
{
    HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    FileHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(bytes.empty() || WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

Bytes ReadBytes(const std::string& path)
{
    Bytes bytes;
    FileHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    EXPECT_TRUE(file) << path;
    if (!file)
        return bytes;
    uint8_t chunk[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The compressed bytes of input at level, through the export.
Bytes Compressed(const ScratchFolder& folder, const Bytes& input, int level)
{
    const std::string plain = folder.File("plain"), packed = folder.File("packed.gz");
    WriteBytes(plain, input);
    EXPECT_EQ(Compress()(plain.c_str(), packed.c_str(), level), std::string(packed)) << level;
    return ReadBytes(packed);
}

TEST(FileCompression, FixedHeaderAndTheSameBytesOnEveryRun)
{
    ScratchFolder folder;
    const Bytes input = TextBytes(20000);
    const Bytes atSix = Compressed(folder, input, 6);
    for (int level : {-1, 0, 1, 6, 9, 42}) {
        SCOPED_TRACE(level);
        const Bytes first = Compressed(folder, input, level);
        ASSERT_GT(first.size(), kHeader.size() + 8);
        EXPECT_EQ(Bytes(first.begin(), first.begin() + kHeader.size()), kHeader);
        EXPECT_EQ(Compressed(folder, input, level), first);
        // -1 is zlib's default and a refused level falls back to it.
        if (level == -1 || level == 42) {
            EXPECT_EQ(first, atSix);
        }
    }
}

TEST(FileCompression, EmptyFileBothWays)
{
    ScratchFolder folder;
    Bytes expected = kHeader;
    // An empty final block, then CRC-32 0 and length 0.
    expected.insert(expected.end(), {0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(Compressed(folder, Bytes(), 6), expected);

    const std::string packed = folder.File("packed.gz"), back = folder.File("back");
    EXPECT_EQ(Uncompress()(packed.c_str(), back.c_str()), back);
    EXPECT_TRUE(Exists(back));
    EXPECT_TRUE(ReadBytes(back).empty());
}

struct RoundTrip {
    const char* name;
    Bytes input;
    int level;
};

TEST(FileCompression, RoundTrips)
{
    const RoundTrip cases[] = {
        {"text", TextBytes(30000), 6},
        {"random", RandomBytes(50001, 7), 9},
        {"stored blocks", RandomBytes(70000, 8), 0},
        {"over a MiB", TextBytes(1024 * 1024 + 3 * 1024 + 5), 1},
    };
    ScratchFolder folder;
    const std::string packed = folder.File("packed.gz"), back = folder.File("back");
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        Compressed(folder, c.input, c.level);
        EXPECT_EQ(Uncompress()(packed.c_str(), back.c_str()), back);
        EXPECT_EQ(ReadBytes(back), c.input);
    }
}

TEST(FileCompression, FileThatIsNotGzipIsCopied)
{
    ScratchFolder folder;
    const Bytes input = TextBytes(5000);
    const std::string plain = folder.File("plain.txt"), back = folder.File("back");
    WriteBytes(plain, input);
    EXPECT_EQ(Uncompress()(plain.c_str(), back.c_str()), back);
    EXPECT_EQ(ReadBytes(back), input);
}

TEST(FileCompression, WrongCrcGivesNullAndKeepsTheDataBeforeIt)
{
    ScratchFolder folder;
    const Bytes input = RandomBytes(200000, 9);
    Bytes packed = Compressed(folder, input, 6);
    ASSERT_GT(packed.size(), 8u);
    packed[packed.size() - 8] ^= 0x01;
    const std::string damaged = folder.File("damaged.gz"), back = folder.File("back");
    WriteBytes(damaged, packed);

    EXPECT_EQ(Uncompress()(damaged.c_str(), back.c_str()), nullptr);
    const Bytes kept = ReadBytes(back);
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), input.size() + 1);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), input.begin()));
}

TEST(FileCompression, MissingSource)
{
    ScratchFolder folder;
    const std::string missing = folder.File("missing"), out = folder.File("out");
    EXPECT_EQ(Compress()(missing.c_str(), out.c_str(), 6), nullptr);
    EXPECT_FALSE(Exists(out));
    EXPECT_EQ(Uncompress()(missing.c_str(), out.c_str()), nullptr);
    EXPECT_TRUE(Exists(out));
    EXPECT_TRUE(ReadBytes(out).empty());
}

TEST(FileCompression, ResultIsTheCallersOwnDestination)
{
    ScratchFolder folder;
    const std::string plain = folder.File("plain");
    WriteBytes(plain, TextBytes(100));
    char packed[MAX_PATH];
    char back[MAX_PATH];
    lstrcpynA(packed, folder.File("packed.gz").c_str(), MAX_PATH);
    lstrcpynA(back, folder.File("back").c_str(), MAX_PATH);
    EXPECT_EQ(Compress()(plain.c_str(), packed, 6), packed);
    EXPECT_EQ(Uncompress()(packed, back), back);
}

const char kEmptyDigest[] = "d41d8cd98f00b204e9800998ecf8427e";

struct DigestCase {
    const char* text;
    const char* digest;
};

struct NumberCase {
    int n;
    const char* text;
};

struct ParseCase {
    const char* text;
    int n;
};

TEST(TextCodec, EdgeCases)
{
    const auto digestOf = Module().Export<ZelTextToTextExport>("JTGetEncryptedString", 11);
    const auto textOf = Module().Export<ZelNumberToTextExport>("JTGetStringFromNumber", 26);
    const auto numberOf = Module().Export<ZelTextToNumberExport>("JTGetNumberFromString", 24);

    const DigestCase digests[] = {
        {"", kEmptyDigest},
        {nullptr, kEmptyDigest}, // taken for the empty text
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"ABC", "902fbdd2b1df0c4f70b4a5d23525e932"}, // letter case counts
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    };
    for (const DigestCase& c : digests)
        EXPECT_STREQ(digestOf(c.text), c.digest) << (c.text ? c.text : "(null)");

    const NumberCase numbers[] = {
        {0, "A"}, {305, "DAF"}, {-42, "-EC"}, {INT_MAX, "CBEHEIDGEH"}, {INT_MIN, "-CBEHEIDGEI"},
    };
    for (const NumberCase& c : numbers)
        EXPECT_STREQ(textOf(c.n), c.text) << c.n;

    const ParseCase parses[] = {
        {"A", 0},
        {"DAF", 305},
        {"CBEHEIDGEH", INT_MAX},
        {"CBEHEIDGEI", INT_MIN}, // 2147483648 wraps
        {"ECJEJGHCJG", 0},       // 4294967296 wraps
        {"-EC", 0},              // negative numbers do not come back
        {"daf", 0},
        {"305", 0},
        {" DAF", 0},
        {"+DAF", 0},
        {"DA\x05", 0}, // wraps round below zero in 8-bit arithmetic
        {"", 0},
        {nullptr, 0},
        {"AAAAAAAAAAAAAAAAAAB", 1}, // 19 letters, the longest text read
        {"AAAAAAAAAAAAAAAAAAAB", 0}, // 20 letters, refused
    };
    for (const ParseCase& c : parses)
        EXPECT_EQ(numberOf(c.text), c.n) << (c.text ? c.text : "(null)");
}

TEST(TextCodec, EachCallRewritesTheTextTheLastOneReturned)
{
    const auto digestOf = Module().Export<ZelTextToTextExport>("JTGetEncryptedString", 11);
    const auto textOf = Module().Export<ZelNumberToTextExport>("JTGetStringFromNumber", 26);

    const char* firstNumber = textOf(1234567890);
    EXPECT_EQ(textOf(7), firstNumber);
    EXPECT_STREQ(firstNumber, "H");

    const char* firstDigest = digestOf("abc");
    EXPECT_EQ(digestOf(""), firstDigest);
    EXPECT_STREQ(firstDigest, kEmptyDigest);
}

} // namespace
} // namespace zeltest
