// The timebase of scheduled recordings: which samples start an acquisition and the date and
// time of each sample, the latter worked out again with Python's datetime.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "acquisition/civil_time.h"
#include "acquisition/sample_timebase.h"
#include "acquisition_test_support.h"
#include "support/test_env.h"

using namespace acquisition;

namespace {

Timebase Scheduled(long long acquisitionSeconds, long long repetitionSeconds, float interval) {
    Timebase timebase;
    timebase.SetScheduleTimes(records::ScheduleTime::FromSeconds(acquisitionSeconds),
                              records::ScheduleTime::FromSeconds(repetitionSeconds));
    timebase.SetSamplingInterval(interval);
    timebase.SetSegments({0}, {"0#2024/03/09 14:05:07 "});
    return timebase;
}

}  // namespace

TEST(Timebase, TheFirstSampleOfEachAcquisitionIsMarked) {
    const Timebase half = Scheduled(60, 600, 0.5f);  // 121 samples an acquisition
    for (long long sample : {0, 121, 242})
        EXPECT_TRUE(half.IsReportIntervalSample(sample)) << sample;
    for (long long sample : {1, 120, 122, -1})
        EXPECT_FALSE(half.IsReportIntervalSample(sample)) << sample;
    EXPECT_TRUE(Scheduled(60, 600, 0.125f).IsReportIntervalSample(484));
    EXPECT_FALSE(Scheduled(60, 600, 0.125f).IsReportIntervalSample(480));
    EXPECT_TRUE(Scheduled(60, 600, 0.25f).IsReportIntervalSample(242));
    // Longer intervals count the acquisition's seconds as samples.
    EXPECT_TRUE(Scheduled(60, 600, 2.0f).IsReportIntervalSample(60));
    EXPECT_FALSE(Scheduled(60, 600, 2.0f).IsReportIntervalSample(30));
    EXPECT_TRUE(Scheduled(60, 600, 0.0f).IsReportIntervalSample(60));

    // The selected segment's start counts too.
    Timebase paged = Scheduled(60, 600, 0.5f);
    paged.SetSegments({0, 100}, {"0#2024/03/09 14:05:07", "0#2024/03/09 14:05:57"});
    paged.SelectSegment(1);
    EXPECT_TRUE(paged.IsReportIntervalSample(21));
    paged.SelectSegment(-1);
    EXPECT_TRUE(paged.IsReportIntervalSample(21));
    paged.SelectSegment(0);
    EXPECT_TRUE(paged.IsReportIntervalSample(121));
}

TEST(Timebase, WithoutASchedulerEveryAnswerIsNoOrEmpty) {
    Timebase never;
    never.SetSamplingInterval(0.5f);
    never.SetSegments({0}, {"0#2024/03/09 14:05:07"});
    EXPECT_FALSE(never.IsReportIntervalSample(0));
    EXPECT_FALSE(never.IsReportIntervalIndex(0));
    EXPECT_EQ(never.FormatSampleTime(0, 0), "");
    Timebase half;
    half.SetScheduleTimes(records::ScheduleTime::FromSeconds(60), records::ScheduleTime{});
    EXPECT_FALSE(half.HasScheduleTimes());
}

TEST(Timebase, ASegmentOutOfRangeOrAZeroDivisorAnswersWithoutThrowing) {
    Timebase timebase = Scheduled(60, 600, 0.5f);
    for (int segment : {1, 5, -2}) {
        timebase.SelectSegment(segment);
        EXPECT_FALSE(timebase.IsReportIntervalSample(0));
        EXPECT_FALSE(timebase.IsReportIntervalIndex(0));
        EXPECT_EQ(timebase.FormatSampleTime(0, 0), "");
    }
    timebase.SetSegments({}, {});
    timebase.SelectSegment(-1);
    EXPECT_FALSE(timebase.IsReportIntervalSample(0));
    EXPECT_EQ(timebase.FormatSampleTime(0, 0), "");

    // No interval: the time stamp stays at its base.
    const Timebase still = Scheduled(60, 600, 0.0f);
    EXPECT_EQ(still.FormatSampleTime(5, 10000), "2024/03/09 14:05:12");
    EXPECT_FALSE(Scheduled(60, 600, 1.0f).IsReportIntervalIndex(0));
}

TEST(Timebase, TheThreeDimensionalWindowsTestKeepsItsOwnRule) {
    EXPECT_TRUE(Scheduled(60, 600, 0.5f).IsReportIntervalIndex(0));
    EXPECT_FALSE(Scheduled(60, 600, 0.5f).IsReportIntervalIndex(121));
    // From a second on: the remainder is compared with the interval.
    EXPECT_TRUE(Scheduled(60, 600, 1.0f).IsReportIntervalIndex(61));
    EXPECT_TRUE(Scheduled(60, 600, 2.0f).IsReportIntervalIndex(122));
    EXPECT_FALSE(Scheduled(60, 600, 2.0f).IsReportIntervalIndex(60));
}

TEST(Timebase, SampleTimesMoveByTheRepetitionFromTheRightBase) {
    Timebase timebase = Scheduled(60, 600, 0.5f);
    timebase.SetSegments({0, 0},
                         {"0#2024/03/09 14:05:07", "500#2024/03/09 14:05:07#2024/03/09 14:15:07"});
    timebase.SelectSegment(1);
    EXPECT_EQ(timebase.FormatSampleTime(10, 500), "2024/03/09 14:45:17");  // 4 acquisitions
    EXPECT_EQ(timebase.FormatSampleTime(10, 501), "2024/03/09 14:55:17");  // the second base
    EXPECT_EQ(timebase.FormatSampleTime(0, 0), "2024/03/09 14:05:07");
    // An acquisition time 0.4 s short of a minute is a minute.
    timebase.SetScheduleTimes(records::ScheduleTime{records::ScheduleTime::kValid, 59.6 / 86400},
                              records::ScheduleTime::FromSeconds(600));
    EXPECT_EQ(timebase.FormatSampleTime(0, 121), "2024/03/09 14:15:07");
    // For intervals of 2 s the stamps count the samples, not the seconds, of an acquisition.
    timebase.SetSamplingInterval(2.0f);
    EXPECT_EQ(timebase.FormatSampleTime(0, 30), "2024/03/09 14:15:07");
    // Past the calendar's end: nothing.
    timebase.SetSegments({0}, {"0#9999/12/31 23:59:00"});
    timebase.SelectSegment(-1);
    EXPECT_EQ(timebase.FormatSampleTime(59, 0), "9999/12/31 23:59:59");
    EXPECT_EQ(timebase.FormatSampleTime(60, 0), "");
    timebase.SetSegments({0}, {"0#not a date"});
    EXPECT_EQ(timebase.FormatSampleTime(0, 0), "");
}

TEST(Timebase, SampleTimesAgreeWithPythonsDatetime) {
    SKIP_WITHOUT("python3");
    testenv::ScratchFolder folder;
    std::mt19937 random(7);
    const float intervals[] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 10.0f};
    const char* bases[] = {"2024/02/28 23:59:30", "2023/12/31 23:00:00", "1999/03/28 01:59:59",
                           "2100/02/28 12:00:00", "0100/01/01 00:00:00", "9999/12/30 00:00:00"};
    struct Case {
        std::string text;
        unsigned start;
        long long acquisition, repetition;
        float interval;
        int recordSeconds;
        long long index;
    };
    std::vector<Case> cases;
    std::ofstream out("cases.txt");
    for (int i = 0; i < 400; ++i) {
        const std::string base = bases[random() % 6];
        const std::string second = bases[random() % 6];
        const long long count = random() % 2000;
        Case c{std::to_string(count) + "#" + base + (i % 2 ? "#" + second : std::string()),
               static_cast<unsigned>(random() % 100000),
               1 + static_cast<long long>(random() % 86399),
               1 + static_cast<long long>(random() % 86399),
               intervals[random() % 6],
               static_cast<int>(random() % 61440),
               static_cast<long long>(random() % 20000)};
        out << c.text << '\t' << c.start << '\t' << c.acquisition << '\t' << c.repetition << '\t'
            << c.interval << '\t' << c.recordSeconds << '\t' << c.index << '\n';
        cases.push_back(c);
    }
    out.close();
    ASSERT_EQ(acqtest::RunReference("timebase_reference.py", "cases.txt", "expected.txt"), 0)
        << folder.Read("expected.txt");
    const std::vector<std::string> expected = acqtest::Lines("expected.txt");
    ASSERT_EQ(expected.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Timebase timebase;
        timebase.SetScheduleTimes(records::ScheduleTime::FromSeconds(c.acquisition),
                                  records::ScheduleTime::FromSeconds(c.repetition));
        timebase.SetSamplingInterval(c.interval);
        timebase.SetSegments({c.start}, {c.text});
        EXPECT_EQ(timebase.FormatSampleTime(c.recordSeconds, c.index), expected[i])
            << c.text << " start " << c.start << " index " << c.index;
    }
}

TEST(CivilTime, DatesOutsideTheCalendarOrItsRangeAreNone) {
    EXPECT_TRUE(CivilTime::Parse("2024/02/29 00:00:00"));
    EXPECT_TRUE(CivilTime::Parse(" 2024/02/29 "));
    for (const char* text :
         {"2023/02/29 00:00:00", "0099/12/31 23:59:59", "2024/13/01", "2024/01/01 24:00:00",
          "2024/01/01 00:00", "2024-01-01 00:00:00", "", "12345/01/01"})
        EXPECT_FALSE(CivilTime::Parse(text)) << text;
    EXPECT_EQ(CivilTime::Parse("0100/01/01 00:00:00")->AddSeconds(-1), std::nullopt);
    EXPECT_EQ(CivilTime::Parse("2024/02/28 23:59:59")->AddSeconds(1)->Format(),
              "2024/02/29 00:00:00");
}
