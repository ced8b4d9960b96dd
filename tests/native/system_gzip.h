// The system's gzip, which no one here wrote, as a judge of written streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zel {

// What `gzip -dc` makes of the file, and whether it exited cleanly.
inline bool ExpandWithSystemGzip(const std::string& path, std::vector<uint8_t>* out)
{
    FILE* pipe = popen(("gzip -dc '" + path + "'").c_str(), "r");
    if (pipe == nullptr)
        return false;
    uint8_t chunk[4096];
    size_t read;
    while ((read = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0)
        out->insert(out->end(), chunk, chunk + read);
    return pclose(pipe) == 0;
}

} // namespace zel
