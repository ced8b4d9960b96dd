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
        FilePtr file(std::fopen(path, "wb"));
        if (!file)
            return nullptr;
        std::unique_ptr<GzipOutputFile> out(new GzipOutputFile(std::move(file), level));
        if (!out->writer_.WriteHeader())
            return nullptr;
        return out;
    }

    ~GzipOutputFile()
    {
        if (file_)
            Close();
    }

    GzipOutputFile(const GzipOutputFile&) = delete;
    GzipOutputFile& operator=(const GzipOutputFile&) = delete;

    bool Write(const uint8_t* data, size_t length) { return writer_.Write(data, length); }

    // Writes the rest and closes the file; false when either step failed.
    bool Close()
    {
        const bool finished = writer_.Finish();
        const bool closed = CloseFile(file_);
        return finished && closed;
    }

private:
    GzipOutputFile(FilePtr file, int level)
        : file_(std::move(file)),
          writer_(level, [this](const uint8_t* data, size_t length) {
              return std::fwrite(data, length, 1, file_.get()) == 1;
          })
    {
    }

    FilePtr file_;
    GzipWriter writer_;
};

} // namespace

bool CompressFile(const char* source, const char* destination, int level)
{
    if (source == nullptr || destination == nullptr)
        return false;
    FilePtr in(std::fopen(source, "rb"));
    if (!in)
        return false;
    std::unique_ptr<GzipOutputFile> out = GzipOutputFile::Open(destination, level);
    if (!out)
        return false;

    Chunk chunk;
    size_t count;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), in.get())) > 0) {
        if (!out->Write(chunk.data(), count)) {
            in.reset();
            return false;
        }
    }
    // A read error also ends the loop; it must not pass for the end of the file.
    const bool readWhole = std::ferror(in.get()) == 0;
    const bool written = out->Close();
    const bool sourceClosed = CloseFile(in);
    return readWhole && written && sourceClosed;
}

bool ExpandFile(const char* source, const char* destination)
{
    if (source == nullptr || destination == nullptr)
        return false;
    FilePtr out(std::fopen(destination, "wb"));
    if (!out)
        return false;
    // Declared after out, so that every way out closes the source first.
    GzFilePtr in(gzopen(source, "rb"));
    if (!in)
        return false;

    Chunk chunk;
    int count;
    while ((count = gzread(in.get(), chunk.data(), static_cast<unsigned>(chunk.size()))) > 0) {
        if (std::fwrite(chunk.data(), static_cast<size_t>(count), 1, out.get()) != 1)
            return false;
    }
    in.reset();
    const bool closed = CloseFile(out);
    return closed && count == 0;
}

} // namespace zel
