// The verification file's layout: its sections, the verdict, the report rows and the header.
#include <gtest/gtest.h>

#include <set>

#include "report/report_list.h"
#include "ui/report_ctrl.h"
#include "verification_file_maker.h"

using namespace report;

TEST(VerificationLayout, EveryKeyIsOneLineOfOneSectionAndEveryTestHasASection) {
    std::set<std::pair<std::string, std::string>> seen;
    std::set<std::string> testSections;
    for (const LayoutEntry& entry : VerificationFileLayout()) {
        SCOPED_TRACE(entry.key);
        EXPECT_TRUE(seen.insert({entry.section, entry.key}).second);
        EXPECT_EQ(std::string(entry.key).find_first_of("= \r\n"), std::string::npos);
        // A name that would not survive its header line would lose its section.
        EXPECT_EQ(ReadSections(SectionHeaderLine(platform::DateTime(0), entry.section))[0].name,
                  entry.section);
        if (entry.role == Role::TestResult) {
            EXPECT_TRUE(testSections.insert(entry.section).second);
        }
    }
    EXPECT_EQ(testSections.size(), 7u);
}

TEST(VerificationLayout, TheListShowsHeaderTestsAndVerdictWithThePrintedColours) {
    reporttest::FileShape shape;
    shape.header.push_back({"NOTE", "2026/01/01 10:00:00 --- non una sezione ---"});
    shape.tests = {{0, kPassed}, {6, kFailed}};
    shape.verdict = {true, false, false};
    const auto sections = ReadSections("prima\r\n" + reporttest::VerificationText(shape));
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].stamp, "2026/03/02 09:30:00");
    ui::CReportCtrl list;
    list.InsertColumn(0, "vecchia");
    list.InsertItem(0, "vecchia riga");
    FillReportList(list, ReportRows(sections));

    ASSERT_EQ(list.GetColumnCount(), 2);
    // Title, nine header values, "PROVE", two tests, verdict.
    ASSERT_EQ(list.GetItemCount(), 14);
    EXPECT_EQ(list.GetItemBkColor(0, 0), kTitleBk);
    EXPECT_EQ(list.GetItemText(4, 0), "Cliente");
    EXPECT_EQ(list.GetItemText(4, 1), "Rossi Srl");
    EXPECT_EQ(list.GetItemText(10, 0), kTestsRow);
    EXPECT_EQ(list.GetItemBkColor(11, 1), kPassedBk);
    EXPECT_EQ(list.GetItemText(12, 0), "Calibratore associato");
    EXPECT_EQ(list.GetItemBkColor(12, 1), kFailedBk);
    EXPECT_EQ(list.GetItemText(13, 1), "NEGATIVO");

    shape.verdict = {false, false, true};
    const auto rows = ReportRows(ReadSections(reporttest::VerificationText(shape)));
    EXPECT_EQ(rows.back().value, "VERIFICA INCOMPLETA (solo calibratore associato)");
    shape.withVerdict = false;
    const ReportVerdict none = ReadVerdict(ReadSections(reporttest::VerificationText(shape)));
    EXPECT_FALSE(none.complete || none.positive || none.calibratorOnly);
}

TEST(VerificationLayout, NewHeaderValuesReplaceTheirLinesOrJoinTheHeaderAndNothingElseMoves) {
    const std::string text = reporttest::VerificationText({});
    const auto changed =
        WithHeaderValues(text, {{"CUST_NAME", "Bianchi\r\nSpa"}, {"EXTRA", "nuovo"}});
    ASSERT_TRUE(changed);
    const auto sections = ReadSections(*changed);
    EXPECT_EQ(sections[0].Value("CUST_NAME"), "Bianchi  Spa");
    EXPECT_EQ(sections[0].Value("EXTRA"), "nuovo");
    EXPECT_EQ(sections[0].values.size(), 10u);
    const std::string tests = "\r\n2026/03/02 09:40:00";
    EXPECT_EQ(changed->substr(changed->find(tests)), text.substr(text.find(tests)));
    EXPECT_FALSE(WithHeaderValues("2026/03/02 09:30:00 --- ESITO ---\r\n", {{"A", "1"}}));
}

TEST(VerificationLayout, EachCustomerKeyRunsToTheNextOneOnItsLine) {
    CustomerKeys keys;
    keys.calibratorPresent = true;
    ScanCustomerKeys("CUST_NAME=Rossi Srl  CUST_FON_PROD=Corvanex ", keys);
    EXPECT_EQ(keys.customerName, "Rossi Srl");
    EXPECT_EQ(keys.meterMaker, "Corvanex");
    EXPECT_EQ(keys.calibratorPresent, true);  // no calibrator key on the line
    ScanCustomerKeys("CUST_CAL_PROD=   ", keys);
    EXPECT_EQ(keys.calibratorPresent, false);
}
