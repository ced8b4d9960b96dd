#include "frame/version_rules.h"

#include "frame/setup_message_ids.h"

namespace zel {
namespace {

// The bytes of a text as the comparison sees them: single-byte letters A-Z
// folded to a-z, the bytes of double-byte characters as they stand, then 0.
class FoldedBytes {
public:
    FoldedBytes(const char* text, const LeadByteTable& cp) : p_(text), cp_(cp) {}

    unsigned char Next()
    {
        const auto c = static_cast<unsigned char>(*p_);
        if (c == 0)
            return 0;
        if (trailPending_) {
            trailPending_ = false;
        } else if (cp_.IsLead(*p_) && p_[1] != '\0') {
            trailPending_ = true;
        } else if (c >= 'A' && c <= 'Z') {
            ++p_;
            return static_cast<unsigned char>(c - 'A' + 'a');
        }
        ++p_;
        return c;
    }

private:
    const char* p_;
    const LeadByteTable& cp_;
    bool trailPending_ = false;
};

} // namespace

int CompareServicePackText(const char* csdText, const char* reference, const LeadByteTable& cp)
{
    FoldedBytes a(csdText, cp);
    FoldedBytes b(reference, cp);
    for (;;) {
        const unsigned char ca = a.Next();
        const unsigned char cb = b.Next();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool IsWindows2000OrLater(const VersionRecord& v)
{
    return v.known && v.platformId == kPlatformNt && v.major >= 5;
}

bool IsWindowsXP(const VersionRecord& v)
{
    return v.known && v.platformId == kPlatformNt && v.major == 5 && v.minor == 1;
}

bool IsWindowsNT4OrLater(const VersionRecord& v)
{
    return v.known && v.major >= 4 && v.platformId == kPlatformNt;
}

bool IsNT4ServicePack6OrLater(const VersionRecord& v, const LeadByteTable& cp)
{
    return v.known && v.platformId == kPlatformNt && v.major == 4 &&
           CompareServicePackText(v.servicePack, "Service Pack 6", cp) >= 0;
}

bool IsNT4BeforeServicePack3(const VersionRecord& v, const LeadByteTable& cp)
{
    return v.major == 4 && CompareServicePackText(v.servicePack, "Service Pack 3", cp) < 0;
}

GateOutcome EvaluateServerGate(const VersionRecord& v, const LeadByteTable& cp)
{
    if (!v.known || v.major < 4 || v.platformId != kPlatformNt)
        return {kMsgNotSupported, 1};
    if (IsNT4BeforeServicePack3(v, cp))
        return {kMsgUpgradeServicePack, 0};
    return {0, 0};
}

GateOutcome EvaluateClientGate(const VersionRecord& v, const LeadByteTable& cp)
{
    if (!v.known || v.major < 4)
        return {kMsgNotSupported, 1};
    switch (v.platformId) {
    case kPlatformNt:
        return {IsNT4BeforeServicePack3(v, cp) ? kMsgUpgradeServicePack : 0, 0};
    case kPlatformWindows9x:
        // The service-pack text of this family is not looked at.
        return {0, 0};
    default:
        return {kMsgNotSupported, 1};
    }
}

} // namespace zel
