#include "diag/log_text.h"

#include "frame/message_text.h"

namespace zel {
namespace {

const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

bool CanFormat(const std::tm& t)
{
    return InRange(t.tm_wday, 0, 6) && InRange(t.tm_mon, 0, 11) && InRange(t.tm_mday, 1, 31) &&
           InRange(t.tm_hour, 0, 23) && InRange(t.tm_min, 0, 59) && InRange(t.tm_year, -1900, 9999 - 1900);
}

} // namespace

std::string ActionLogStamp(const std::tm& t)
{
    if (!CanFormat(t))
        return std::string();
    const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    return Format("%s %s %02d %02d:%02d %s %04d", kDayNames[t.tm_wday], kMonthNames[t.tm_mon], t.tm_mday, hour12,
                  t.tm_min, t.tm_hour < 12 ? "AM" : "PM", t.tm_year + 1900);
}

std::string DebugRingStamp(const std::tm& t)
{
    const std::string stamp = ActionLogStamp(t);
    return stamp.empty() ? stamp : "[" + stamp + "] ";
}

std::optional<std::tm> CurrentLocalTime()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = now == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&now);
    if (local == nullptr)
        return std::nullopt;
    return *local;
}

uint32_t NextRingLine(uint32_t lastLine, uint32_t maxLine)
{
    const uint32_t next = lastLine + 1;
    return next > maxLine ? 1 : next;
}

std::string RingLineKey(uint32_t line)
{
    return Format("%03d", static_cast<int>(line));
}

std::optional<ActionLogRequest> SplitActionLogParameter(const char* text, const LeadByteTable& cp)
{
    const std::string kept(text, CharacterPrefixLength(text, kActionLogParameterMax, cp));
    const char* bar = FindFirstChar(kept.c_str(), '|', cp);
    if (bar == nullptr)
        return std::nullopt;
    const size_t at = static_cast<size_t>(bar - kept.c_str());
    return ActionLogRequest{kept.substr(0, at), kept.substr(at + 1)};
}

std::string ActionLogLine(const std::string& stamp, const std::string& message)
{
    return Format("%s : %s\r\n", stamp.c_str(), message.c_str());
}

} // namespace zel
