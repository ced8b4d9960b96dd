#include "apps/service_budget.h"

#include <gtest/gtest.h>

#include <vector>

namespace zel {
namespace {

TEST(StopBudget, SpentOnlyWhenMoreThanTheTimeoutHasGoneBy)
{
    const StopBudget budget(1000, 300);
    EXPECT_FALSE(budget.Spent(1000));
    EXPECT_FALSE(budget.Spent(1300));
    EXPECT_TRUE(budget.Spent(1301));
}

TEST(StopBudget, TickCounterWrapDoesNotMatter)
{
    const StopBudget budget(0xFFFFFF00u, 0x200);
    EXPECT_FALSE(budget.Spent(0xFFFFFFFFu));
    EXPECT_FALSE(budget.Spent(0x100)); // 0x200 ms after the start
    EXPECT_TRUE(budget.Spent(0x101));
}

TEST(StopBudget, ZeroTimeoutIsSpentAfterOneMillisecond)
{
    const StopBudget budget(50, 0);
    EXPECT_FALSE(budget.Spent(50));
    EXPECT_TRUE(budget.Spent(51));
}

struct SleepCase {
    uint32_t hint;
    uint32_t now;
    uint32_t sleep;
};

void ExpectSleeps(const StopBudget& budget, const std::vector<SleepCase>& cases)
{
    for (const SleepCase& c : cases)
        EXPECT_EQ(budget.SleepFor(c.hint, c.now), c.sleep) << c.hint << " at " << c.now;
}

TEST(StopBudget, WaitHintsThatFitAreSleptAsTheyStand)
{
    const StopBudget budget(0, 60000);
    ExpectSleeps(budget, {
        {0, 0, 0},
        {100, 0, 100},
        {60000, 0, 60000},
        {3000, 57000, 3000}, // ends exactly at the timeout
    });
}

TEST(StopBudget, LongerHintsEndJustPastTheBudget)
{
    const StopBudget budget(0, 60000);
    ExpectSleeps(budget, {
        {0xFFFFFFFFu, 0, 60001},
        {0xFFFFFFFFu, 59999, 2},
        {5000, 58000, 2001},
        {60001, 0, 60001},
        {100, 60000, 1},
        {100, 60001, 0}, // already spent: no sleep at all
        {0xFFFFFFFFu, 0x80000000u, 0},
    });
}

TEST(StopBudget, LargestTimeoutCannotWrapTheSleep)
{
    const StopBudget budget(7, 0xFFFFFFFFu);
    EXPECT_EQ(budget.SleepFor(0xFFFFFFFFu, 7), 0xFFFFFFFFu);
    EXPECT_FALSE(budget.Spent(6)); // 2^32 - 1 ms later
}

} // namespace
} // namespace zel
