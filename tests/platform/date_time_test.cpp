#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/clock.h"

using namespace platform;

TEST(DateTime, ParsesTheStoredFormsAndRejectsImpossibleDates) {
    auto t = DateTime::Parse(" 2026/02/28 13:05:09 ");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Format("%Y/%m/%d %H:%M:%S"), "2026/02/28 13:05:09");
    EXPECT_EQ(DateTime::Parse("2026/02/28")->Format("%d%m%Y"), "28022026");
    EXPECT_EQ(DateTime::Parse("28/02/2026 10:00")->Format("%Y-%m-%d %H:%M"), "2026-02-28 10:00");
    EXPECT_FALSE(DateTime::Parse("2026/02/30"));
    EXPECT_FALSE(DateTime::Parse("2026/13/01"));
    EXPECT_FALSE(DateTime::Parse("garbage"));
    EXPECT_FALSE(DateTime::Parse(""));
    EXPECT_FALSE(DateTime::Parse("2026/02-01"));
}

TEST(DateTime, WholeDaysTruncateAfterHalfASecond) {
    const DateTime start = *DateTime::Parse("2026/01/01 12:00:00");
    EXPECT_EQ(WholeDaysBetween(start, start.AddDays(15)), 15);
    EXPECT_EQ(WholeDaysBetween(start, start.AddDays(16).AddSeconds(-1)), 15);
    EXPECT_EQ(WholeDaysBetween(start, start.AddDays(16)), 16);
    EXPECT_EQ(WholeDaysBetween(start.AddDays(16), start), -16);
    EXPECT_EQ(WholeDaysBetween(start, start.AddDays(-7).AddSeconds(1)), -6);
}

TEST(DateTime, DaylightSavingChangeDoesNotLoseADay) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", "Europe/Rome", 1);
    ::tzset();
    const DateTime before = *DateTime::Parse("2026/03/20 12:00:00");  // DST begins on 29 March
    EXPECT_EQ(WholeDaysBetween(before, *DateTime::Parse("2026/04/05 12:00:00")), 16);
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(DateTime, NowFollowsTheFixedClock) {
    const DateTime fixed = *DateTime::Parse("2030/06/15 08:30:00");
    Clock::SetFixedNow(fixed.Seconds());
    EXPECT_EQ(DateTime::Now().Format("%Y/%m/%d %H:%M"), "2030/06/15 08:30");
    Clock::SetFixedNow(std::nullopt);
    EXPECT_NE(DateTime::Now().Year(), 0);
}
