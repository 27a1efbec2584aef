#include "net/deadline_watchdog.h"

#include <gtest/gtest.h>

#include <atomic>

using Clock = std::chrono::steady_clock;

TEST(DeadlineWatchdog, ExpiresOnlyWhenTheDeadlinePassesFirst) {
    std::atomic<int> expiries{0};
    {
        DeadlineWatchdog passed(Clock::now() - std::chrono::seconds(1), [&] { ++expiries; });
        // stop() waits for the watcher, which finds the deadline gone and expires.
        EXPECT_TRUE(passed.stop());
        EXPECT_EQ(expiries, 1) << "expiry has returned when stop() says it happened";
        EXPECT_TRUE(passed.stop()) << "asking again changes nothing";
    }
    {
        DeadlineWatchdog far(Clock::now() + std::chrono::hours(1), [&] { ++expiries; });
        EXPECT_FALSE(far.stop()) << "stopping ends the wait at once";
    }
    {
        DeadlineWatchdog dropped(Clock::now() + std::chrono::hours(1), [&] { ++expiries; });
    }  // the destructor stops it
    EXPECT_EQ(expiries, 1);
}
