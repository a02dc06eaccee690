// The seal of verification files and the age of a verification.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "report/report_age.h"
#include "support/test_env.h"
#include "verification_file_maker.h"

using namespace report;

TEST(ReportSeal, IsZlibsCrc32AndAdler32AsEightHexDigitsEach) {
    EXPECT_EQ(SealLine(""), "KX020000000000000001\r\n");
    EXPECT_EQ(SealLine("123456789"), "KX02CBF43926091E01DE\r\n");
    const std::string file = Sealed("A=1\r\n");
    const SealCheck check = CheckSeal(file);
    EXPECT_EQ(check.state, SealState::Valid);
    EXPECT_EQ(check.content, "A=1\r\n");
}

TEST(ReportSeal, AnyByteChangedBreaksIt) {
    const std::string file = reporttest::SealedFile();
    for (size_t at = 0; at < file.size(); ++at) {
        SCOPED_TRACE(at);
        std::string changed = file;
        changed[at] = changed[at] == '7' ? '8' : '7';
        EXPECT_NE(CheckSeal(changed).state, SealState::Valid);
    }
}

TEST(ReportSeal, AFileThatDoesNotEndWithItsSealIsUnsealed) {
    const std::string file = reporttest::SealedFile();
    const std::string text = reporttest::VerificationText({});
    for (const std::string& unsealed :
         {text, file + "X=1\r\n", file.substr(0, file.size() - 2),
          text + "KX02ZZZZZZZZ00000001\r\n", std::string("A=1KX020000000000000001\r\n")}) {
        SCOPED_TRACE(unsealed);
        EXPECT_EQ(CheckSeal(unsealed).state, SealState::Missing);
    }
}

TEST(ReportAge, TheFirstLineWithColonSlashAndDashesIsTheDate) {
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 3, 9, 9, 30).Seconds());
    folder.Write("A.vpg", "intro\r\n2026/03/01 10:00:00 prova ---\r\n2026/03/08 10:00:00 ---\r\n");
    EXPECT_FALSE(IsReportWithin7Days(folder.File("A.vpg")));
    // No dated section, or none that can be read, counts as young.
    folder.Write("B.vpg", "CUST_NAME=Rossi\r\nxx/xx:xx --- ---\r\n");
    EXPECT_TRUE(IsReportWithin7Days(folder.File("B.vpg")));
    op.ExpectBox("Error 15");
    EXPECT_TRUE(IsReportWithin7Days(folder.File("none.vpg")));
    platform::Clock::SetFixedNow(std::nullopt);
}
