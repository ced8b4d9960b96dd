#include "ring_lines.h"

#include <windows.h>

#include <cstdio>
#include <regex>

namespace zeltest {
namespace {

std::string RingValue(const std::string& ini, const std::string& key)
{
    char value[4096];
    GetPrivateProfileStringA("DebugIniMsgs", key.c_str(), "(absent)", value, sizeof(value), ini.c_str());
    return value;
}

} // namespace

std::string RingLineText(const std::string& ini, const std::string& key)
{
    static const std::regex stamp(R"(\[(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) )"
                                  R"((0[1-9]|[12][0-9]|3[01]) (0[1-9]|1[0-2]):[0-5][0-9] (AM|PM) [0-9]{4}\] )");
    const size_t kStampLength = 27;
    const std::string line = RingValue(ini, key);
    if (line.size() < kStampLength || !std::regex_match(line.substr(0, kStampLength), stamp))
        return "(not stamped) " + line;
    return line.substr(kStampLength);
}

std::vector<std::string> RingLines(const std::string& ini)
{
    const int last = GetPrivateProfileIntA("DebugIniMsgs", "LastLine", 0, ini.c_str());
    std::vector<std::string> lines;
    for (int line = 1; line <= last; ++line) {
        char key[16];
        std::snprintf(key, sizeof(key), "%03d", line);
        lines.push_back(RingLineText(ini, key));
    }
    return lines;
}

} // namespace zeltest
