#include "util/gzip_file.h"

#include "util/file_handles.h"
#include "util/gzip_writer.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

namespace zel {
namespace {

using Chunk = std::array<uint8_t, kFileChunkSize>;

// The run-time's default buffer of a few KiB would make a system call of
// every few chunks; this one makes one of every 64.
constexpr size_t kStreamBufferSize = 64 * 1024;

// A C run-time file with a stream buffer of our own, which outlives it.
struct BufferedFile {
    std::unique_ptr<char[]> buffer;
    FilePtr file;

    BufferedFile(const char* path, const char* mode)
        : buffer(new char[kStreamBufferSize]), file(std::fopen(path, mode))
    {
        if (file)
            std::setvbuf(file.get(), buffer.get(), _IOFBF, kStreamBufferSize);
    }
};

// fclose's verdict, which the owning pointer would throw away.
bool CloseFile(FilePtr& file)
{
    return std::fclose(file.release()) == 0;
}

// A gzip file being written: the header goes out as soon as it is opened, the
// end of the compressed data and the trailer when it is closed.
class GzipOutputFile {
public:
    // Null when the file cannot be created or its header not written.
    static std::unique_ptr<GzipOutputFile> Open(const char* path, int level)
    {
        std::unique_ptr<GzipOutputFile> out(new GzipOutputFile(path, level));
        if (!out->out_.file || !out->writer_.WriteHeader())
            return nullptr;
        return out;
    }

    ~GzipOutputFile()
    {
        if (out_.file)
            Close();
    }

    GzipOutputFile(const GzipOutputFile&) = delete;
    GzipOutputFile& operator=(const GzipOutputFile&) = delete;

    bool Write(const uint8_t* data, size_t length) { return writer_.Write(data, length); }

    // Writes the rest and closes the file; false when either step failed.
    bool Close()
    {
        const bool finished = writer_.Finish();
        const bool closed = CloseFile(out_.file);
        return finished && closed;
    }

private:
    GzipOutputFile(const char* path, int level)
        : out_(path, "wb"),
          writer_(level, [this](const uint8_t* data, size_t length) {
              return std::fwrite(data, length, 1, out_.file.get()) == 1;
          })
    {
    }

    BufferedFile out_;
    GzipWriter writer_;
};

} // namespace

bool CompressFile(const char* source, const char* destination, int level)
{
    if (source == nullptr || destination == nullptr)
        return false;
    BufferedFile in(source, "rb");
    if (!in.file)
        return false;
    std::unique_ptr<GzipOutputFile> out = GzipOutputFile::Open(destination, level);
    if (!out)
        return false;

    Chunk chunk;
    size_t count;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), in.file.get())) > 0) {
        if (!out->Write(chunk.data(), count)) {
            in.file.reset();
            return false;
        }
    }
    // A read error also ends the loop; it must not pass for the end of the file.
    const bool readWhole = std::ferror(in.file.get()) == 0;
    const bool written = out->Close();
    const bool sourceClosed = CloseFile(in.file);
    return readWhole && written && sourceClosed;
}

bool ExpandFile(const char* source, const char* destination)
{
    if (source == nullptr || destination == nullptr)
        return false;
    BufferedFile out(destination, "wb");
    if (!out.file)
        return false;
    // Declared after out, so that every way out closes the source first.
    GzFilePtr in(gzopen(source, "rb"));
    if (!in)
        return false;

    Chunk chunk;
    int count;
    while ((count = gzread(in.get(), chunk.data(), static_cast<unsigned>(chunk.size()))) > 0) {
        if (std::fwrite(chunk.data(), static_cast<size_t>(count), 1, out.file.get()) != 1)
            return false;
    }
    in.reset();
    const bool closed = CloseFile(out.file);
    return closed && count == 0;
}

} // namespace zel
