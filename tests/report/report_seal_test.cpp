// The seal of verification files, reading them whole, and their age.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "report/report_age.h"
#include "report/report_file.h"
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
    // The content's bytes and the seal line's alike.
    for (size_t at = 0; at < file.size(); ++at) {
        SCOPED_TRACE(at);
        std::string changed = file;
        changed[at] = changed[at] == '7' ? '8' : '7';
        EXPECT_NE(CheckSeal(changed).state, SealState::Valid);
    }
}

TEST(ReportSeal, AFileThatDoesNotEndWithItsSealIsUnsealed) {
    const std::string file = reporttest::SealedFile();
    for (const std::string& unsealed :
         {reporttest::VerificationText({}), file + "X=1\r\n", file.substr(0, file.size() - 2),
          std::string("KX02"), reporttest::VerificationText({}) + "KX02ZZZZZZZZ00000001\r\n",
          std::string("A=1KX020000000000000001\r\n")}) {
        SCOPED_TRACE(unsealed);
        EXPECT_EQ(CheckSeal(unsealed).state, SealState::Missing);
    }
}

TEST(ReportFile, ASealedFileIsReadAndADamagedOneRefused) {
    testenv::ScratchFolder folder;
    folder.Write("R1.vpg", reporttest::SealedFile());
    const LoadedReport loaded = ReadVerificationFile(folder.File("R1.vpg"));
    ASSERT_TRUE(loaded.Loaded()) << loaded.error;
    EXPECT_TRUE(loaded.verdict.complete);
    EXPECT_EQ(loaded.sections.size(), 4u);

    std::string damaged = reporttest::SealedFile();
    damaged[damaged.find("Rossi Srl")] = 'B';
    folder.Write("R2.vpg", damaged);
    const LoadedReport refused = ReadVerificationFile(folder.File("R2.vpg"));
    EXPECT_FALSE(refused.Loaded());
    EXPECT_NE(refused.error.find("il sigillo non corrisponde"), std::string::npos);
    EXPECT_TRUE(refused.sections.empty());

    folder.Write("R3.vpg", reporttest::VerificationText({}));
    EXPECT_NE(ReadVerificationFile(folder.File("R3.vpg")).error.find("non e' sigillato"),
              std::string::npos);
    EXPECT_NE(ReadVerificationFile(folder.File("none.vpg")).error.find("Impossibile aprire"),
              std::string::npos);
}

TEST(ReportFile, RewritingTheHeaderSealsTheFileAgain) {
    testenv::ScratchFolder folder;
    folder.Write("R1.vpg", reporttest::SealedFile());
    EXPECT_EQ(RewriteHeader(folder.File("R1.vpg"), {{"CUST_NAME", "Bianchi Spa"}}), "");
    const LoadedReport loaded = ReadVerificationFile(folder.File("R1.vpg"));
    ASSERT_TRUE(loaded.Loaded()) << loaded.error;
    EXPECT_EQ(FindSection(loaded.sections, kHeaderSection)->Value("CUST_NAME"), "Bianchi Spa");

    // A damaged file is not sealed anew.
    std::string damaged = reporttest::SealedFile();
    damaged[0] = '1';
    folder.Write("R2.vpg", damaged);
    EXPECT_NE(RewriteHeader(folder.File("R2.vpg"), {{"CUST_NAME", "X"}}), "");
    EXPECT_EQ(folder.Read("R2.vpg"), damaged);
}

class ReportAgeTest : public ::testing::Test {
protected:
    void SetUp() override { Now(2026, 3, 9, 9, 30); }
    void TearDown() override { platform::Clock::SetFixedNow(std::nullopt); }
    static void Now(int y, int mo, int d, int h, int mi) {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(y, mo, d, h, mi).Seconds());
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
};

TEST_F(ReportAgeTest, SevenWholeDaysEndTheTimeToContinue) {
    // Begun 2026/03/02 09:30:00.
    folder.Write("R.vpg", reporttest::SealedFile());
    EXPECT_FALSE(IsReportWithin7Days(folder.File("R.vpg")));
    Now(2026, 3, 9, 8, 30);  // 6 days 23 hours
    EXPECT_TRUE(IsReportWithin7Days(folder.File("R.vpg")));
}

TEST_F(ReportAgeTest, TheFirstLineWithColonSlashAndDashesIsTheDate) {
    folder.Write("A.vpg",
                 "intro\r\n2026/02/01 10:00:00 qualcosa ---\r\n2026/03/08 10:00:00 ---\r\n");
    EXPECT_FALSE(IsReportWithin7Days(folder.File("A.vpg")));
    // No dated section, or none that can be read, counts as young.
    folder.Write("B.vpg", "CUST_NAME=Rossi\r\n");
    EXPECT_TRUE(IsReportWithin7Days(folder.File("B.vpg")));
    folder.Write("C.vpg", "xx/xx:xx --- ---\r\n");
    EXPECT_TRUE(IsReportWithin7Days(folder.File("C.vpg")));

    op.ExpectBox("Error 15");
    EXPECT_TRUE(IsReportWithin7Days(folder.File("none.vpg")));
}
