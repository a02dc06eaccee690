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
    }
}

// Value numbers as the link counts them, setup numbers as the setup pages do (two more).
TEST(SetupValueTable, BothNumberingsReachTheSameFields) {
    CInstrStatus st;
    struct Spot {
        int value;
        std::string* field;
        int query, offset, minLength, block, setCode;
        const char* name;
    };
    for (const Spot& s : {
             Spot{0, &st.m_strModel, 0, 0, 0, 0, -1, "INSTR_M"},
             Spot{7, &st.m_strDate, 6, 9, 10, 6, 9, "DATE"},
             Spot{11, &st.m_strAutoPowerOff, 17, 18, 18, 9, 50, "AUTO_PWR_OFF"},
             Spot{18, &st.m_strIntegrationTime, 24, 21, 22, 16, 57, "INTEGRATION_TIME"},
             Spot{38, &st.m_strHalfBandShift, 44, 16, 17, 36, -1, "SPECT_SHIFT"},
             Spot{43, &st.m_strShortLeqDatalogger, 201, 22, 0, -1, 202, "SHORTLEQ_DLOGGER"},
             Spot{47, &st.m_strCalLevel, 49, 14, 15, 37, 82, "CAL_L"},
             Spot{54, &st.m_strIntegrationMode, 127, 0, 0, 44, 128, "INTEGR_MODE"},
             Spot{81, &st.m_strTriggerPrint, 195, 14, 0, -1, 196, "EVN_TRIG_PRINT"},
         }) {
        const SetupValueRow* row = FindSetupValue(s.value);
        ASSERT_TRUE(row) << s.value;
        EXPECT_EQ(st.Text(s.value), s.field) << s.value;
        EXPECT_EQ(st.TextAtSetupNumber(s.value + 2), s.field) << s.value;
        EXPECT_EQ(FindSetupValueBySetupNumber(s.value + 2), row);
        EXPECT_EQ(FindSetupValueByName(s.name), row) << s.name;
        EXPECT_EQ(FindSetupValueByQuery(s.query), row) << s.value;
        EXPECT_EQ(row->query.code, s.query) << s.value;
        if (row->query.form == ReplyForm::AtOffset) {
            EXPECT_EQ(row->query.offset, s.offset) << s.value;
            EXPECT_EQ(row->query.minLength, s.minLength) << s.value;
        }
        EXPECT_EQ(row->block, s.block) << s.value;
        EXPECT_EQ(row->setCode, s.setCode) << s.value;
        if (s.setCode >= 0) {
            EXPECT_EQ(FindSetupValueBySetCode(s.setCode), row);
        }
    }

    // The values fed by two replies or sent by two commands.
    EXPECT_EQ(FindSetupValueByQuery(206), FindSetupValueBySetupNumber(42));
    EXPECT_EQ(FindSetupValueBySetCode(207), FindSetupValue(40));
    EXPECT_EQ(FindSetupValueByQuery(185), FindSetupValueBySetupNumber(78));
    EXPECT_EQ(FindSetupValueBySetCode(186), FindSetupValue(76));
    EXPECT_EQ(FindSetupValueByQuery(53), FindSetupValueByName("BAUD"));

    // The ints: the date-time flag before the values, then datalogging and extended range.
    EXPECT_EQ(st.NumberAtSetupNumber(1), &st.m_nDateTimeFlag);
    EXPECT_EQ(st.NumberAtSetupNumber(54), &st.m_nDataLogging);
    EXPECT_EQ(st.Number(53), &st.m_nExtendedRange);
    EXPECT_EQ(st.NumberAtSetupNumber(55), &st.m_nExtendedRange);
    EXPECT_EQ(st.Text(52), nullptr);
    EXPECT_EQ(st.Number(0), nullptr);
    for (int outside : {-1, 82, 1000})
        EXPECT_EQ(st.Text(outside), nullptr) << outside;
    for (int outside : {0, 1, 84})
        EXPECT_EQ(st.TextAtSetupNumber(outside), nullptr) << outside;
    EXPECT_EQ(st.NumberAtSetupNumber(0), nullptr);
    EXPECT_EQ(st.GetText(52), "");
}

TEST(SetupValueTable, CustomSettingsKeys) {
    std::set<std::string> keyless;
    for (const auto& row : SetupValueRows()) {
        if (!row.key)
            keyless.insert(row.name);
        else
            EXPECT_EQ(FindSetupValueByKey(row.key), &row);
    }
    EXPECT_EQ(keyless, (std::set<std::string>{"INSTR_M", "INSTR_N", "INSTR_V", "CLASS", "MIC_M",
                                              "MIC_N", "MIC_T", "DATE", "TIME", "MEM_S", "DISP_C",
                                              "BAUD", "SPECT_SHIFT", "FFT_BAND", "STAT_PAR",
                                              "CAL_L", "MIC_CT", "DATA_LOG", "EXT_RNG"}));
    EXPECT_EQ(FindSetupValueByKey("EVN_TRIG_EXT_POL"), FindSetupValue(76));
    for (const char* loadOnly : {"WIND_SHIELD", "MIC_RESP", "AMB_CORR"})
        EXPECT_EQ(FindSetupValueByKey(loadOnly)->keyUse, CustomKeyUse::LoadOnly);
    EXPECT_EQ(FindSetupValueByKey("SLM_DLOGGER")->keyUse, CustomKeyUse::LoadAndSave);
    EXPECT_EQ(FindSetupValueByKey("NO_SUCH_KEY"), nullptr);
}

TEST(InstrStatus, ConstructorAndResetDefaults) {
    CInstrStatus st;
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strFftBand, "");
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    for (int n = 11; n <= 53; ++n) {
        if (n != 47 && n != 48) {
            EXPECT_EQ(*st.TextAtSetupNumber(n), "-1") << n;
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
    // The identity and the FFT choices survive a reset; the rest goes back to its start.
    EXPECT_EQ(st.m_strModel, "x");
    EXPECT_EQ(st.m_strFftBand, "x");
    EXPECT_EQ(st.m_strStatParam, "x");
    EXPECT_EQ(st.m_strSerialNumber, "");
    EXPECT_EQ(st.m_strDate, "2000/01/01");
    EXPECT_EQ(st.m_strTime, "00:00");
    EXPECT_EQ(st.m_strMemorySize, "");
    EXPECT_EQ(st.m_strDisplayContrast, "0");
    EXPECT_EQ(st.m_strMicTemperature, "0");
    EXPECT_EQ(st.m_nDateTimeFlag, 0);
    EXPECT_EQ(st.m_nDataLogging, 0);
    EXPECT_EQ(st.m_nExtendedRange, 0);
    EXPECT_EQ(st.m_strIntegrationMode, "SINGLE");
    EXPECT_EQ(st.m_strAutoStore, "OFF");
    EXPECT_EQ(st.m_strReportTime, "");
}
