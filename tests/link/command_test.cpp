#include "link/command.h"

#include <gtest/gtest.h>

#include <set>

#include "link/command_table.h"

TEST(CommandTable, HasEveryCodeOnceAndNoOther) {
    const auto& table = CommandTable();
    EXPECT_EQ(table.size(), 197u);
    std::set<int> codes;
    for (const auto& row : table) {
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_TRUE(row.timeoutMs == 1000 || row.timeoutMs == 2000 || row.timeoutMs == 3000 ||
                    row.timeoutMs == 4000)
            << row.code;
    }
    for (int missing : {8, 13, 14, 15, 77, 101, 116, 117, 118, 119, 141, 142, 208, 1339, -1})
        EXPECT_FALSE(FindCommandRow(missing)) << missing;
}

TEST(CommandTable, SettingsFamiliesReadAndWriteTheirKeys) {
    struct Row {
        int code;
        const char* text;
        int timeout;
    };
    for (const Row& r : std::initializer_list<Row>{
             {0, "SET:INSTR_M:?\r\n", 3000},
             {1, "SET:INSTR_N:?\r\n", 1000},
             {9, "SET:DATE:v2\r\n", 1000},
             {16, "SET:MEM_S:?\r\n", 2000},
             {50, "SET:AUTO_P:v2\r\n", 2000},
             {89, "SET:WND:v2\r\n", 2000},
             {146, "SET:1_REP_PAR:v1\r\n", 2000},
             {186, "SET:EVN_TRGEXT_POL:v1\r\n", 2000},
             {202, "SET:LEQ_SHORT_D:v2\r\n", 2000},
             {207, "SET:SLM+PROF:v1\r\n", 2000},
         }) {
        CCommand c(r.code, "v1", "v2");
        EXPECT_EQ(c.GetText(), r.text) << r.code;
        EXPECT_EQ(c.GetTimeout(), r.timeout) << r.code;
    }
}

TEST(CommandTable, ArgumentRules) {
    CCommand integration(57, "x", "10");
    EXPECT_EQ(integration.GetText(), "SET:INTEGRATION_T:10\r\n");
    EXPECT_EQ(integration.GetName(), "x");
    EXPECT_EQ(integration.GetTimeout(), 2000);
    EXPECT_EQ(CCommand(24, "", "").GetText(), "SET:INTEGRATION_T:?\r\n");
    EXPECT_EQ(CCommand(144, "60", "junk").GetText(), "SET:REPORT_TIME:60\r\n");
    EXPECT_EQ(CCommand(128, "", "SINGLE").GetText(), "SET:INT_MODE:SING\r\n");
    EXPECT_EQ(CCommand(128, "", "AB").GetText(), "SET:INT_MODE:AB\r\n");
    EXPECT_EQ(CCommand(132, "1", "-0.5").GetText(), "CAL:GAIN:1:-0.5\r\n");
    EXPECT_EQ(CCommand(138, "%s", "M1").GetText(), "SET:MIC_MODEL:%s:M1\r\n");
    EXPECT_EQ(CCommand(95, "ON", "x").GetText(), "STT:MON:ON\r\n");
    EXPECT_EQ(CCommand(137, "RESET", "").GetText(), "FAB:RESET\r\n");
}

TEST(CommandTable, TwinCodesSendTheSameTextUnderTheirOwnCode) {
    CCommand run(12, "name", "arg");
    EXPECT_EQ(run.GetText(), "KEY:RUN\r\n");
    EXPECT_EQ(run.GetName(), "");
    EXPECT_EQ(CCommand(1340, "2", "").GetText(), CCommand(133, "2", "").GetText());
    EXPECT_EQ(CCommand(1340, "2", "").GetTimeout(), CCommand(133, "2", "").GetTimeout());
    EXPECT_EQ(CCommand(1340, "2", "").GetCode(), 1340);
    EXPECT_EQ(CCommand(99, "", "").GetTimeout(), 4000);
    EXPECT_EQ(CCommand(108, "", "").GetTimeout(), 2000);
    EXPECT_EQ(CCommand(98, "", "").GetTimeout(), 4000);
    EXPECT_EQ(CCommand(111, "", "").GetTimeout(), 3000);
    EXPECT_EQ(CCommand(86, "", "").GetText(), CCommand(107, "", "").GetText());
    EXPECT_EQ(CCommand(123, "", "").GetText(), CCommand(135, "", "").GetText());
}

TEST(CommandTable, CodesWithoutARowAreInvalidAndEmpty) {
    CCommand none(77, "name", "v");
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(none.GetText(), "");
    EXPECT_EQ(none.GetTimeout(), 0);
    EXPECT_EQ(none.GetName(), "name");
    EXPECT_TRUE(CCommand(0, "", "").IsValid());
}
