// Throughput of the file compression and the digest, each beside the library
// function it is measured against, in one process on the same data. Prints a
// table; the ratio column (ours over theirs) is the figure to watch.
#include "util/file_handles.h"
#include "util/gzip_file.h"
#include "util/md5.h"

#include <openssl/evp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using zel::FilePtr;
using zel::GzFilePtr;

constexpr size_t kMiB = 1024 * 1024;
constexpr size_t kFileSize = 64 * kMiB;
constexpr size_t kDigestSize = 256 * kMiB;
// zlib's own gzip functions are fed this much at a time.
constexpr size_t kLibraryChunk = 64 * 1024;
// The best of this many runs of each side counts. The two sides take turns,
// each going first every other time, so that a busy moment of the machine
// does not fall on one side only.
constexpr int kRuns = 5;

// Half text, half random, in alternating blocks of a MiB, so that every level
// meets both kinds of data at every part of the file.
void FillMixed(std::vector<uint8_t>& block, size_t index, std::mt19937& random)
{
    if (index % 2 == 1) {
        for (uint8_t& b : block)
            b = static_cast<uint8_t>(random());
        return;
    }
    std::string text;
    while (text.size() < block.size())
        text += "2026-12-11 11:25:" + std::to_string(random() % 60) + " copied " + std::to_string(random() % 100000) +
                " bytes into C:\\Program Files\\Halcyra\\BIN\\file" + std::to_string(random() % 400) + ".dll\r\n";
    std::memcpy(block.data(), text.data(), block.size());
}

bool WriteMixedFile(const std::string& path, size_t size)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    std::mt19937 random(2026);
    std::vector<uint8_t> block(kMiB);
    for (size_t i = 0; i < size / kMiB; ++i) {
        FillMixed(block, i, random);
        if (std::fwrite(block.data(), block.size(), 1, file.get()) != 1)
            return false;
    }
    return std::fclose(file.release()) == 0;
}

bool LibraryCompress(const std::string& source, const std::string& destination, int level)
{
    FilePtr in(std::fopen(source.c_str(), "rb"));
    const std::string mode = "wb" + std::to_string(level);
    GzFilePtr out(gzopen(destination.c_str(), mode.c_str()));
    if (!in || !out)
        return false;
    std::vector<uint8_t> chunk(kLibraryChunk);
    size_t count;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), in.get())) > 0) {
        if (gzwrite(out.get(), chunk.data(), static_cast<unsigned>(count)) != static_cast<int>(count))
            return false;
    }
    return gzclose(out.release()) == Z_OK;
}

bool LibraryExpand(const std::string& source, const std::string& destination)
{
    GzFilePtr in(gzopen(source.c_str(), "rb"));
    FilePtr out(std::fopen(destination.c_str(), "wb"));
    if (!in || !out)
        return false;
    std::vector<uint8_t> chunk(kLibraryChunk);
    int count;
    while ((count = gzread(in.get(), chunk.data(), static_cast<unsigned>(chunk.size()))) > 0) {
        if (std::fwrite(chunk.data(), static_cast<size_t>(count), 1, out.get()) != 1)
            return false;
    }
    return count == 0 && std::fclose(out.release()) == 0;
}

using Work = std::function<bool()>;

// Seconds that one run of work took; exits when the work fails, since a
// failed run would measure nothing.
double TimeOnce(const char* what, const Work& work)
{
    const auto start = std::chrono::steady_clock::now();
    if (!work()) {
        std::fprintf(stderr, "bench: %s failed\n", what);
        std::exit(1);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

double MiBPerSecond(size_t bytes, double seconds)
{
    return static_cast<double>(bytes) / kMiB / seconds;
}

// Times both sides over bytes of input and prints their row.
void Compare(const char* operation, const char* level, size_t bytes, const Work& ours, const Work& theirs, double goal)
{
    double oursBest = 1e30, theirsBest = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 0)
            oursBest = std::min(oursBest, TimeOnce(operation, ours));
        theirsBest = std::min(theirsBest, TimeOnce(operation, theirs));
        if (run % 2 == 1)
            oursBest = std::min(oursBest, TimeOnce(operation, ours));
    }
    const double oursRate = MiBPerSecond(bytes, oursBest), theirsRate = MiBPerSecond(bytes, theirsBest);
    const double ratio = oursRate / theirsRate;
    std::printf("| %-22s | %5s | %10.1f | %10.1f | %5.2f | %4.2f %-4s |\n", operation, level, oursRate, theirsRate,
                ratio, goal, ratio >= goal ? "met" : "MISS");
}

long FileSize(const std::string& path)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return -1;
    return std::ftell(file.get());
}

// Peak resident memory, in KiB, of a child process that only compresses the
// file; measured before this process grows, since a child starts with the
// parent's pages.
long CompressionPeakKiB(const std::string& source, const std::string& destination)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(zel::CompressFile(source.c_str(), destination.c_str(), 6) ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

void CompareCompression(const std::string& folder, const std::string& mixed)
{
    const std::string ours = folder + "/ours.gz", theirs = folder + "/theirs.gz", back = folder + "/back";
    std::printf("| %-22s | %5s | %10s | %10s | %5s | %-9s |\n", "operation (64 MiB)", "level", "ours MiB/s",
                "zlib MiB/s", "ratio", "goal");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", "------------------------", "-------", "------------", "------------",
                "-------", "-----------");
    for (int level : {1, 6, 9}) {
        const std::string label = std::to_string(level);
        Compare("compression", label.c_str(), kFileSize,
                [&] { return zel::CompressFile(mixed.c_str(), ours.c_str(), level); },
                [&] { return LibraryCompress(mixed, theirs, level); }, 0.95);
        Compare("expansion", label.c_str(), kFileSize, [&] { return zel::ExpandFile(ours.c_str(), back.c_str()); },
                [&] { return LibraryExpand(theirs, back); }, 0.95);
        std::printf("|   compressed size      | %5s | %10ld | %10ld |       |           |\n", label.c_str(), FileSize(ours),
                    FileSize(theirs));
    }
}

void CompareDigest()
{
    std::vector<uint8_t> data(kDigestSize);
    std::mt19937 random(1321);
    std::vector<uint8_t> block(kMiB);
    for (size_t i = 0; i < kDigestSize / kMiB; ++i) {
        FillMixed(block, i, random);
        std::memcpy(data.data() + i * kMiB, block.data(), kMiB);
    }
    zel::Md5Digest ours{};
    unsigned char theirs[EVP_MAX_MD_SIZE];
    std::printf("| %-22s | %5s | %10s | %10s | %5s | %-9s |\n", "MD5 (256 MiB)", "", "ours MiB/s", "OpenSSL", "ratio",
                "goal");
    Compare(
        "MD5", "", kDigestSize,
        [&] {
            ours = zel::Md5(data.data(), data.size());
            return true;
        },
        [&] { return EVP_Digest(data.data(), data.size(), theirs, nullptr, EVP_md5(), nullptr) == 1; }, 0.85);
    if (std::memcmp(ours.data(), theirs, ours.size()) != 0) {
        std::fprintf(stderr, "bench: the two MD5 digests differ\n");
        std::exit(1);
    }
}

} // namespace

int main()
{
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = std::string(temp != nullptr ? temp : "/tmp") + "/zel_bench_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("bench: mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    const std::string small = folder + "/mixed16", mixed = folder + "/mixed64";
    if (!WriteMixedFile(small, kFileSize / 4) || !WriteMixedFile(mixed, kFileSize)) {
        std::fprintf(stderr, "bench: cannot write the data files in %s\n", folder.c_str());
        return 1;
    }

    const long peakSmall = CompressionPeakKiB(small, folder + "/peak16.gz");
    const long peakLarge = CompressionPeakKiB(mixed, folder + "/peak64.gz");
    std::printf("Peak memory of a process that compresses at level 6: 16 MiB file %ld KiB, 64 MiB file %ld KiB\n\n",
                peakSmall, peakLarge);

    CompareCompression(folder, mixed);
    std::printf("\n");
    CompareDigest();

    const std::string cleanup = "rm -rf '" + folder + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
