#include "diag/debug_ring.h"

#include <string>

#include "diag/log_text.h"
#include "frame/version_checks.h"
#include "settings/product_identity.h"

namespace zel {
namespace {

const char kSection[] = "DebugIniMsgs";

// Every access names the file anew: the install location follows the
// registry names of the moment.
UINT ReadRingNumber(const char* key, UINT defaultValue)
{
    return GetPrivateProfileIntA(kSection, key, static_cast<INT>(defaultValue), GetProductIniPath().c_str());
}

void WriteRingText(const std::string& key, const std::string& text)
{
    WritePrivateProfileStringA(kSection, key.c_str(), text.c_str(), GetProductIniPath().c_str());
}

// The message, cut to the ring's 1023 bytes without halving a character.
std::string RingMessage(const char* format, va_list args)
{
    std::string message = FormatArgs(format, args);
    message.resize(CharacterPrefixLength(message.c_str(), kDebugMessageMax, SystemLeadBytes()));
    return message;
}

DebugRing& ModuleRing()
{
    static DebugRing ring;
    return ring;
}

} // namespace

int DebugRing::Message(const char* format, va_list args)
{
    if (!enableRead_) {
        enableRead_ = true;
        enable_ = ReadRingNumber("EnableDebugIniMessages", 0);
    }
    if (enable_ == 0)
        return 0;
    const std::string message = RingMessage(format, args);
    if (!maxLineRead_) {
        maxLineRead_ = true;
        maxLine_ = ReadRingNumber("MaxLine", 100);
    }
    const uint32_t line = NextRingLine(ReadRingNumber("LastLine", 0), maxLine_);
    // "LastLine" goes first, so that a line is never written without it.
    WriteRingText("LastLine", Format("%ld", static_cast<long>(static_cast<int32_t>(line))));
    const auto now = CurrentLocalTime();
    WriteRingText(RingLineKey(line), (now ? DebugRingStamp(*now) : std::string()) + message);
    return static_cast<int>(enable_);
}

int DebugIniMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int enabled = ModuleRing().Message(format, args);
    va_end(args);
    return enabled;
}

} // namespace zel
