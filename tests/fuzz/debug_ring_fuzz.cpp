// The debug ring's numbering and line keys, and its stamp, for any numbers.
#include <ctime>
#include <string>

#include "diag/log_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const uint32_t lastLine = input.TakeWord();
    const uint32_t maxLine = input.TakeWord();

    const uint32_t next = zel::NextRingLine(lastLine, maxLine);
    zelfuzz::Require(next == 1 || (next == lastLine + 1 && next <= maxLine), "the ring goes on or wraps to 1");
    const std::string key = zel::RingLineKey(next);
    zelfuzz::Require(key.size() >= 3 && key.size() <= 11, "a line key has three digits or more");

    std::tm time{};
    time.tm_year = static_cast<int>(input.TakeWord() % 400);
    time.tm_mon = input.TakeByte() % 12;
    time.tm_mday = 1 + input.TakeByte() % 28;
    time.tm_hour = input.TakeByte() % 24;
    time.tm_min = input.TakeByte() % 60;
    time.tm_sec = input.TakeByte() % 61;
    time.tm_wday = input.TakeByte() % 7;
    zelfuzz::Require(!zel::DebugRingStamp(time).empty(), "a ring stamp");
    zelfuzz::Require(!zel::ActionLogStamp(time).empty(), "an action-log stamp");
    return 0;
}
