// The scheduler log file: stamped and bare lines, a restart that keeps the previous log, a
// log that cannot be written, and lines of two threads that stay whole.
#include <gtest/gtest.h>

#include <thread>

#include "acquisition/scheduler_log.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "support/test_env.h"

using acquisition::SchedulerLog;

TEST(SchedulerLog, LinesAreStampedOrBareAndARestartKeepsTheRunBefore) {
    testenv::ScratchFolder folder;
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 8, 0, 1).Seconds());
    SchedulerLog log(folder.Path());
    EXPECT_EQ(log.Write(true, "Scheduler Activated", true),
              "2024/03/09 08:00:01: Scheduler Activated");
    EXPECT_EQ(log.Write(false, "Connection OFF", true), "2024/03/09 08:00:01: Connection OFF");
    EXPECT_EQ(log.Write(false, "WARNING: Empty message received", false),
              "WARNING: Empty message received");
    const std::string firstRun = folder.Read(SchedulerLog::kLogName);
    // Each line ends as a text-mode stream leaves "\r\n": CR CR LF.
    EXPECT_EQ(firstRun,
              "2024/03/09 08:00:01: Scheduler Activated\r\r\n"
              "2024/03/09 08:00:01: Connection OFF\r\r\n"
              "WARNING: Empty message received\r\r\n");

    log.Write(true, "Scheduler Activated", true);
    EXPECT_EQ(folder.Read(SchedulerLog::kOldLogName), firstRun);
    EXPECT_EQ(folder.Read(SchedulerLog::kLogName),
              "2024/03/09 08:00:01: Scheduler Activated\r\r\n");
    platform::Clock::SetFixedNow(std::nullopt);
}

TEST(SchedulerLog, ALogThatCannotBeWrittenLosesTheLineQuietly) {
    testenv::ScratchFolder folder;
    const std::string missing = folder.File("no/such/folder");
    SchedulerLog log(missing);
    EXPECT_EQ(log.Write(true, "Scheduler Activated", true), std::nullopt);
    EXPECT_EQ(log.Write(false, "Stop Scheduler by user", false), std::nullopt);
    EXPECT_FALSE(platform::FileExists(folder.File("no/such/folder/Scheduler_LogScheduler.txt")));
}

TEST(SchedulerLog, LinesOfTwoThreadsStayWhole) {
    testenv::ScratchFolder folder;
    SchedulerLog log(folder.Path());
    const std::string a(300, 'a');
    const std::string b(300, 'b');
    auto writer = [&log](const std::string& text) {
        for (int i = 0; i < 200; ++i)
            log.Write(false, text, false);
    };
    std::thread listener(writer, a);
    writer(b);
    listener.join();
    const std::string text = folder.Read(SchedulerLog::kLogName);
    size_t lines = 0;
    for (size_t at = 0; at < text.size(); at += 303, ++lines) {
        const std::string line = text.substr(at, 303);
        ASSERT_TRUE(line == a + "\r\r\n" || line == b + "\r\r\n") << "line " << lines;
    }
    EXPECT_EQ(lines, 400u);
}
