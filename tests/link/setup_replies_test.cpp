#include "link/setup_replies.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A reply whose echo fills exactly `offset` characters, followed by the value.
std::string Reply(const std::string& echo, int offset, const std::string& value) {
    std::string text = echo;
    text.resize(static_cast<size_t>(offset), ' ');
    return text + value;
}

class SetupReplies : public ::testing::Test {
protected:
    CInstrStatus current;
    CInstrStatus edited;
};

}  // namespace

TEST_F(SetupReplies, ValuesAreCleanedSoThatTheyCompareWithThePages) {
    EXPECT_EQ(StoreQueryReply(24, "SET:INTEGRATION_TIME:SS:10 \r\n\x03", current, edited),
              (StoredValue{18, "SS:10", 16}));
    StoreQueryReply(26, Reply("SET:EXCH", 18, "3dB"), current, edited);
    EXPECT_EQ(current.m_strExchangeRate, "3");
    StoreQueryReply(34, Reply("SET:1_SLM", 20, " Leq  A "), current, edited);
    EXPECT_EQ(edited.m_strSlm1Param, "LeqA");
    // The pages store parameters as "Leq:A", trigger levels and times without their units.
    StoreQueryReply(163, Reply("SET:1_EVN_PAR", 20, "Leq : A"), current, edited);
    EXPECT_EQ(edited.m_strEvent1Param, "Leq:A");
    StoreQueryReply(199, Reply("SET:STAT_PAR", 19, "LFp : A"), current, edited);
    EXPECT_EQ(current.m_strStatParam, "LFp:A");
    StoreQueryReply(189, Reply("SET:EVN_OFF_LEV", 18, "70 dB"), current, edited);
    EXPECT_EQ(current.m_strTriggerOffLevel, "70");
    StoreQueryReply(193, Reply("SET:EVN_OFF_TIME", 17, "255 s"), current, edited);
    EXPECT_EQ(edited.m_strTriggerOffTime, "255");
    StoreQueryReply(6, "SET:DATE:2024:05:01\x03", current, edited);
    EXPECT_EQ(current.m_strDate, "2024/05/01");
    StoreQueryReply(94,
                    "SET:MIC_CT:23.5\xF8"
                    "C",
                    current, edited);
    EXPECT_EQ(current.m_strMicTemperature,
              "23.5\xB0"
              "C");
    // The input gain keeps its unit: sending compares it by containment instead.
    StoreQueryReply(21, Reply("SET:INPUT_G", 15, "20dB"), current, edited);
    EXPECT_EQ(current.m_strInputGain, "20dB");
}

TEST_F(SetupReplies, ShortRepliesChangeNothingAndAreNeverReadPastTheirEnd) {
    // Auto power-off: 17 characters are too few, 18 store an empty value.
    EXPECT_FALSE(StoreQueryReply(17, std::string(17, 'S'), current, edited));
    EXPECT_EQ(current.m_strAutoPowerOff, "-1");
    ASSERT_TRUE(StoreQueryReply(17, std::string(18, 'S'), current, edited));
    EXPECT_EQ(current.m_strAutoPowerOff, "");

    for (int code : {6, 7, 16, 24, 44, 49, 53, 83, 94}) {
        EXPECT_FALSE(StoreQueryReply(code, "SET:X", current, edited)) << code;
        EXPECT_FALSE(StoreQueryReply(code, "", current, edited)) << code;
    }
    EXPECT_EQ(current.m_strDate, "2000/01/01");
    EXPECT_EQ(current.m_strMicTemperature, "-1");

    // The report and event values have no minimum: a cut reply stores an empty text.
    ASSERT_TRUE(StoreQueryReply(143, "SET:REP", current, edited));
    EXPECT_EQ(edited.m_strReportTime, "");
    ASSERT_TRUE(StoreQueryReply(185, Reply("SET:EVN_TRGEXT_POL", 24, "POS"), current, edited));
    EXPECT_EQ(current.m_strTriggerPolarity, "POS");
}

TEST_F(SetupReplies, IdentityRepliesFollowTheirKeyOrAreTakenWhole) {
    StoreQueryReply(1, "SET:INSTR_NUMBER:  A12345 \r\n\x03", current, edited);
    EXPECT_EQ(edited.m_strSerialNumber, "A12345");
    StoreQueryReply(2, " garbled\x03", current, edited);
    EXPECT_EQ(current.m_strFirmwareVersion, "garbled");
    StoreQueryReply(3, "SET:MIC_MODEL:MK250", current, edited);
    EXPECT_EQ(current.m_strMicModel, "MK250");
    // Identity goes into both records, as every query reply does.
    EXPECT_EQ(edited.m_strFirmwareVersion + edited.m_strMicModel, "garbledMK250");
}

TEST_F(SetupReplies, WordFlagAndLastColonReplies) {
    EXPECT_EQ(StoreQueryReply(127, "SET:INT_MODE:MULT\x03", current, edited)->text, "MULTI");
    EXPECT_EQ(edited.m_strIntegrationMode, "MULTI");
    EXPECT_FALSE(StoreQueryReply(127, "SET:INT_MODE:???", current, edited));
    EXPECT_EQ(current.m_strIntegrationMode, "MULTI");
    StoreQueryReply(129, "SET:AUTO_STORE:ON", current, edited);
    EXPECT_EQ(current.m_strAutoStore, "ON");

    StoreQueryReply(121, "SET:EXT_RNG:ON", current, edited);
    EXPECT_EQ(current.m_nExtendedRange, 1);
    EXPECT_EQ(edited.m_nExtendedRange, 0);
    StoreQueryReply(121, "SET:EXT_RNG:OFF", current, edited);
    EXPECT_EQ(current.m_nExtendedRange, 0);

    StoreQueryReply(206, "SET:SLM+PROF: ON ", current, edited);
    EXPECT_EQ(edited.m_strSlmDatalogger, "ON");
    StoreQueryReply(205, "SET:CLASS:1", current, edited);
    EXPECT_EQ(current.m_strClass, "1");
    EXPECT_EQ(edited.m_strClass, "1");

    for (int notAValue : {8, 11, 100, 109, 120, 999, -1})
        EXPECT_FALSE(StoreQueryReply(notAValue, "SET:X:Y", current, edited)) << notAValue;
}

TEST_F(SetupReplies, AcknowledgementMakesTheEditedTextCurrent) {
    edited.m_strIntegrationTime = "MM:05";
    EXPECT_EQ(AcknowledgeSetting(57, current, edited), 18);
    EXPECT_EQ(current.m_strIntegrationTime, "MM:05");
    edited.m_strSlmDatalogger = "ON";
    EXPECT_EQ(AcknowledgeSetting(207, current, edited), 40);
    EXPECT_EQ(current.m_strSlmDatalogger, "ON");

    // Date and time are emptied in the edited record once sent; the baud rate reply is stored.
    edited.m_strDate = "";
    edited.m_strBaudRate = "9.6k";
    for (int code : {9, 10, 53, 85, 24, 999})
        EXPECT_EQ(AcknowledgeSetting(code, current, edited), -1) << code;
    EXPECT_EQ(current.m_strDate, "2000/01/01");
    EXPECT_EQ(current.m_strBaudRate, "-1");
}

TEST(EventTrigger, FollowUpQueries) {
    EXPECT_EQ(EventTriggerQueries("MAN"), (std::vector<FollowUp>{{193, true}}));
    EXPECT_EQ(EventTriggerQueries("LEV").size(), 5u);
    EXPECT_TRUE(EventTriggerQueries("").empty());
}
