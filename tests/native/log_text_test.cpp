#include "diag/log_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

std::tm Time(int year, int month, int day, int wday, int hour, int minute)
{
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_wday = wday;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

TEST(TimeStamp, CLocaleNamesAndTwelveHourClock)
{
    struct Case {
        std::tm time;
        const char* stamp;
    };
    const Case cases[] = {
        {Time(2004, 3, 1, 1, 9, 5), "Mon Mar 01 09:05 AM 2004"},
        {Time(2004, 3, 1, 1, 0, 0), "Mon Mar 01 12:00 AM 2004"},   // midnight
        {Time(2004, 3, 1, 1, 12, 30), "Mon Mar 01 12:30 PM 2004"}, // noon
        {Time(1999, 12, 31, 5, 23, 59), "Fri Dec 31 11:59 PM 1999"},
        {Time(2026, 1, 4, 0, 13, 7), "Sun Jan 04 01:07 PM 2026"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionLogStamp(c.time), c.stamp);
        EXPECT_EQ(DebugRingStamp(c.time), std::string("[") + c.stamp + "] ");
    }
}

TEST(TimeStamp, RecordOutOfRangeGivesNoStamp)
{
    for (const std::tm& bad : {Time(2004, 3, 1, 7, 9, 5), Time(2004, 13, 1, 1, 9, 5), Time(2004, 3, 1, 1, 24, 0)}) {
        EXPECT_EQ(ActionLogStamp(bad), "");
        EXPECT_EQ(DebugRingStamp(bad), "");
    }
}

TEST(RingLine, WrapsAfterTheMaximumComparedUnsigned)
{
    struct Case {
        uint32_t last;
        uint32_t max;
        uint32_t next;
    };
    const Case cases[] = {
        {0, 100, 1},  {99, 100, 100}, {100, 100, 1},       {250, 100, 1},
        {0, 0, 1},    {1, 0, 1},      {1000, 0xFFFFFFFFu, 1001}, // a maximum read as -1
        {999, 5000, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextRingLine(c.last, c.max), c.next) << c.last << " " << c.max;
}

TEST(RingLine, KeysHaveAtLeastThreeDigits)
{
    EXPECT_EQ(RingLineKey(1), "001");
    EXPECT_EQ(RingLineKey(100), "100");
    EXPECT_EQ(RingLineKey(1000), "1000");
}

TEST(ActionLogParameter, SplitAtTheFirstBarOnly)
{
    struct Case {
        const char* text;
        const char* path;
        const char* message;
    };
    const Case cases[] = {
        {"C:\\s.ini|Installed", "C:\\s.ini", "Installed"},
        {"C:\\s.ini|a|b", "C:\\s.ini", "a|b"},
        {"C:\\s.ini|", "C:\\s.ini", ""},
        {"|m", "", "m"},
    };
    for (const Case& c : cases) {
        const auto request = SplitActionLogParameter(c.text, LeadByteTable());
        ASSERT_TRUE(request) << c.text;
        EXPECT_EQ(request->setupIniPath, c.path);
        EXPECT_EQ(request->message, c.message);
    }
    EXPECT_FALSE(SplitActionLogParameter("no bar", LeadByteTable()));
    EXPECT_FALSE(SplitActionLogParameter("", LeadByteTable()));
}

TEST(ActionLogParameter, TrailByteIsNoBar)
{
    const auto request = SplitActionLogParameter("a\x83\x7C" "b|c", LeadByteTable::ShiftJis());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->setupIniPath, "a\x83\x7C" "b");
    EXPECT_EQ(request->message, "c");
    EXPECT_FALSE(SplitActionLogParameter("a\x83\x7C", LeadByteTable::ShiftJis()));
}

TEST(ActionLogParameter, LongTextKeepsItsFirst519Bytes)
{
    const std::string path = "C:\\s.ini";
    const std::string longMessage(600, 'm');
    const auto cut = SplitActionLogParameter((path + "|" + longMessage).c_str(), LeadByteTable());
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->message, std::string(519 - path.size() - 1, 'm'));

    // The cut never halves a double-byte character at its end.
    const std::string sjis = path + "|" + std::string(509, 'm') + "\x95\x5C";
    ASSERT_EQ(sjis.size(), 520u);
    const auto whole = SplitActionLogParameter(sjis.c_str(), LeadByteTable::ShiftJis());
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->message, std::string(509, 'm'));

    // A bar beyond the cut is not seen.
    EXPECT_FALSE(SplitActionLogParameter((std::string(519, 'p') + "|m").c_str(), LeadByteTable()));
}

TEST(ActionLogLine, StampSeparatorMessageAndLineEnd)
{
    EXPECT_EQ(ActionLogLine("Mon Mar 01 09:05 AM 2004", "Installed"), "Mon Mar 01 09:05 AM 2004 : Installed\r\n");
    EXPECT_EQ(ActionLogLine("", ""), " : \r\n");
}

} // namespace
} // namespace zel
