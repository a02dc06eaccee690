#include "link/command.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "link/command_table.h"
#include "link/command_table_builder.h"

TEST(CommandTable, HasEveryCodeOnceAndCodesWithoutARowAreInvalidAndEmpty) {
    const auto& table = CommandTable();
    EXPECT_EQ(table.size(), 201u);
    std::set<int> codes;
    for (const auto& row : table) {
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_TRUE(row.timeoutMs >= 1000 && row.timeoutMs <= 4000 && row.timeoutMs % 1000 == 0)
            << row.code;
    }
    for (int missing : {8, 77, 119, 999, 1339, -1})
        EXPECT_FALSE(FindCommandRow(missing)) << missing;

    CCommand none(77, "name", "v");
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.GetText(), "");
    EXPECT_EQ(none.GetTimeout(), 0);
    EXPECT_EQ(none.GetName(), "name");
    EXPECT_TRUE(CCommand(0, "", "").IsValid());
}

TEST(CommandTable, TextsTimeoutsAndArgumentRules) {
    struct Row {
        int code;
        const char* arg1;
        const char* arg2;
        const char* text;
        int timeout;
    };
    for (const Row& r : std::initializer_list<Row>{
             {0, "v1", "v2", "SET:INSTR_M:?\r\n", 3000},
             {9, "v1", "v2", "SET:DATE:v2\r\n", 1000},
             {146, "v1", "v2", "SET:1_REP_PAR:v1\r\n", 2000},
             {24, "", "", "SET:INTEGRATION_T:?\r\n", 2000},
             {144, "60", "junk", "SET:REPORT_TIME:60\r\n", 2000},
             {128, "", "SINGLE", "SET:INT_MODE:SING\r\n", 2000},
             {128, "", "AB", "SET:INT_MODE:AB\r\n", 2000},
             {132, "1", "-0.5", "CAL:GAIN:1:-0.5\r\n", 2000},
             {138, "%s", "M1", "SET:MIC_MODEL:%s:M1\r\n", 2000},
             {95, "ON", "x", "STT:MON:ON\r\n", 2000},
             {137, "RESET", "", "FAB:RESET\r\n", 2000},
             {98, "", "", "STT:MON:?\r\n", 4000},
             {208, "", "", "STT:REC:ON\r\n", 2000},
             {209, "", "", "SET:INS:?\r\n", 2000},
             {210, "MAKER", "", "SET:PROT:MAKER:?\r\n", 2000},
             {211, "MAKER", "ACME", "SET:PROT:MAKER:ACME\r\n", 2000},
         }) {
        CCommand c(r.code, r.arg1, r.arg2);
        EXPECT_EQ(c.GetText(), r.text) << r.code;
        EXPECT_EQ(c.GetTimeout(), r.timeout) << r.code;
    }
    CCommand integration(57, "x", "10");
    EXPECT_EQ(integration.GetText(), "SET:INTEGRATION_T:10\r\n");
    EXPECT_EQ(integration.GetName(), "x");
}

TEST(CommandTable, TwinCodesSendTheSameTextUnderTheirOwnCode) {
    CCommand run(12, "name", "arg");
    EXPECT_EQ(run.GetText(), "KEY:RUN\r\n");
    EXPECT_EQ(run.GetName(), "");
    EXPECT_EQ(CCommand(1340, "2", "").GetText(), CCommand(133, "2", "").GetText());
    EXPECT_EQ(CCommand(1340, "2", "").GetTimeout(), CCommand(133, "2", "").GetTimeout());
    EXPECT_EQ(CCommand(1340, "2", "").GetCode(), 1340);
    EXPECT_EQ(CCommand(86, "", "").GetText(), CCommand(107, "", "").GetText());
    EXPECT_EQ(CCommand(123, "", "").GetText(), CCommand(135, "", "").GetText());
}

TEST(CommandTable, TextsOfLinesPastTheQueueComeFromTheRows) {
    EXPECT_EQ(CommandLine(209), "SET:INS:?\r\n");
    EXPECT_EQ(CommandText(107), "STT:ACQ:STOP");
    // A protected field's reply names it as its write does.
    EXPECT_EQ(CommandText(211, "MAKER", ""), "SET:PROT:MAKER:");
    EXPECT_EQ(CommandText(77), "");
    EXPECT_EQ(CommandLine(77), "");
}

// A second row with a code the table holds would send its text under the first one's code.
TEST(CommandTableBuilder, RefusesACodeItHoldsNamingItAndBothTexts) {
    CommandTableBuilder table;
    table.Add(208, "STT:REC:ON", 2000, CommandArgument::None);
    try {
        table.Pairs(207, 208, 1, CommandArgument::Second, {"BACKLIGHT"});
        ADD_FAILURE() << "a second row of 208 was taken";
    } catch (const std::logic_error& refused) {
        EXPECT_EQ(std::string(refused.what()),
                  "Command code 208 is \"STT:REC:ON\" and again \"SET:BACKLIGHT:%s\"");
    }
    const std::vector<CommandRow> rows = table.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::string(rows[0].text), "SET:BACKLIGHT:?");
    EXPECT_EQ(std::string(rows[1].text), "STT:REC:ON");
}

// Built here afresh, so that a code given twice in the program's rows fails by name at once.
TEST(CommandTableBuilder, TheProgramsRowsHoldEachCodeOnce) {
    CommandTableBuilder table;
    EXPECT_NO_THROW(AddProgramCommands(table));
    EXPECT_EQ(table.Rows().size(), CommandTable().size());
}
