#include "link/setup_value_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "link/command_table.h"
#include "link/instr_status.h"

TEST(SetupValueTable, EveryRowIsConsistentWithTheCommandTable) {
    const auto rows = SetupValueRows();
    ASSERT_EQ(rows.size(), 82u);
    std::set<int> queries, setCodes, blocks;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const SetupValueRow& s = rows[static_cast<size_t>(i)];
        EXPECT_EQ(s.value, i);
        EXPECT_NE(s.text == nullptr, s.number == nullptr) << i;
        for (const ReplyRule* rule : {&s.query, &s.altQuery}) {
            if (rule->form == ReplyForm::None)
                continue;
            EXPECT_TRUE(queries.insert(rule->code).second) << i;
            const auto command = FindCommandRow(rule->code);
            ASSERT_TRUE(command) << rule->code;
            EXPECT_TRUE(std::string(command->text).starts_with("SET:")) << rule->code;
        }
        for (int code : {s.setCode, s.altSetCode}) {
            if (code < 0)
                continue;
            EXPECT_TRUE(setCodes.insert(code).second) << i;
            const auto command = FindCommandRow(code);
            ASSERT_TRUE(command) << code;
            EXPECT_TRUE(std::string(command->text).ends_with(":%s")) << code;
        }
        if (s.block >= 0) {
            EXPECT_TRUE(blocks.insert(s.block).second) << i;
        }
        if (s.key) {
            EXPECT_EQ(FindSetupValueByKey(s.key), &s) << s.key;
        }
    }
}

// Value numbers as the link counts them, setup numbers as the setup pages do (two more).
TEST(SetupValueTable, EveryLookupReachesTheSameField) {
    CInstrStatus st;
    struct Spot {
        int value;
        std::string* field;
        int query, offset, minLength, block, setCode;
        const char* name;
    };
    for (const Spot& s : {
             Spot{7, &st.m_strDate, 6, 9, 10, 6, 9, "DATE"},
             Spot{18, &st.m_strIntegrationTime, 24, 21, 22, 16, 57, "INTEGRATION_TIME"},
             Spot{43, &st.m_strShortLeqDatalogger, 201, 22, 0, -1, 202, "SHORTLEQ_DLOGGER"},
             Spot{81, &st.m_strTriggerPrint, 195, 14, 0, -1, 196, "EVN_TRIG_PRINT"},
         }) {
        const SetupValueRow* row = FindSetupValue(s.value);
        ASSERT_TRUE(row) << s.value;
        EXPECT_EQ(st.Text(s.value), s.field) << s.value;
        EXPECT_EQ(st.TextAtSetupNumber(s.value + 2), s.field) << s.value;
        EXPECT_EQ(FindSetupValueBySetupNumber(s.value + 2), row);
        EXPECT_EQ(FindSetupValueByName(s.name), row) << s.name;
        EXPECT_EQ(FindSetupValueByQuery(s.query), row) << s.value;
        EXPECT_EQ(row->query.offset, s.offset) << s.value;
        EXPECT_EQ(row->query.minLength, s.minLength) << s.value;
        EXPECT_EQ(row->block, s.block) << s.value;
        EXPECT_EQ(FindSetupValueBySetCode(s.setCode), row);
    }

    // The values fed by two replies or sent by two commands, or loaded by two keys.
    EXPECT_EQ(FindSetupValueByQuery(206), FindSetupValueBySetupNumber(42));
    EXPECT_EQ(FindSetupValueBySetCode(207), FindSetupValue(40));
    EXPECT_EQ(FindSetupValueByQuery(185), FindSetupValueBySetupNumber(78));
    EXPECT_EQ(FindSetupValueBySetCode(186), FindSetupValue(76));
    EXPECT_EQ(FindSetupValueByQuery(53), FindSetupValueByName("BAUD"));
    EXPECT_EQ(FindSetupValueByKey("EVN_TRIG_EXT_POL"), FindSetupValue(76));
    EXPECT_EQ(FindSetupValueByKey("WIND_SHIELD")->keyUse, CustomKeyUse::LoadOnly);
    EXPECT_EQ(FindSetupValueByKey("NO_SUCH_KEY"), nullptr);

    // The ints: the date-time flag before the values, then datalogging and extended range.
    EXPECT_EQ(st.NumberAtSetupNumber(1), &st.m_nDateTimeFlag);
    EXPECT_EQ(st.NumberAtSetupNumber(54), &st.m_nDataLogging);
    EXPECT_EQ(st.Number(53), &st.m_nExtendedRange);
    EXPECT_EQ(st.Text(52), nullptr);
    EXPECT_EQ(st.Number(0), nullptr);
    for (int outside : {-1, 82, 1000})
        EXPECT_EQ(st.Text(outside), nullptr) << outside;
    for (int outside : {0, 1, 84})
        EXPECT_EQ(st.TextAtSetupNumber(outside), nullptr) << outside;
    EXPECT_EQ(st.NumberAtSetupNumber(0), nullptr);
    EXPECT_EQ(st.GetText(52), "");
}

TEST(InstrStatus, ResetKeepsTheIdentityAndTheFftChoices) {
    CInstrStatus st;
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    EXPECT_EQ(st.m_strAutoPowerOff, "-1");
    EXPECT_EQ(st.m_strMemorySize, "-1");
    // Every int starts at 0, the datalogging flag too.
    EXPECT_EQ(*st.NumberAtSetupNumber(1), 0);
    for (int v = 0; v < CInstrStatus::kValueCount; ++v) {
        if (const int* number = st.Number(v)) {
            EXPECT_EQ(*number, 0) << v;
        }
    }

    for (int v = 0; v < CInstrStatus::kValueCount; ++v) {
        if (std::string* text = st.Text(v))
            *text = "x";
        else
            *st.Number(v) = 7;
    }
    st.m_nDateTimeFlag = 1;
    st.Reset();
    EXPECT_EQ(st.m_strModel, "x");
    EXPECT_EQ(st.m_strFftBand, "x");
    EXPECT_EQ(st.m_strStatParam, "x");
    EXPECT_EQ(st.m_strSerialNumber, "");
    // Every read asks the memory size again; until then no size of an earlier meter shows.
    EXPECT_EQ(st.m_strMemorySize, "");
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strDisplayContrast, "0");
    EXPECT_EQ(st.m_nDateTimeFlag + st.m_nDataLogging + st.m_nExtendedRange, 0);
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    EXPECT_EQ(st.m_strReportTime, "");
}
