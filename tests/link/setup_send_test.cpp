#include "link/setup_send.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "link/command.h"
#include "link/setup_replies.h"

namespace {

struct Sent {
    int code;
    std::string text;  // as the queue would send it
    std::string name;
};

class SetupSend : public ::testing::Test {
protected:
    std::vector<Sent> Send() {
        std::vector<Sent> sent;
        QueueSetupCommands(current, edited,
                           [&sent](int code, const std::string& a1, const std::string& a2,
                                   int param, BOOL urgent) {
                               EXPECT_EQ(param, -1);
                               EXPECT_FALSE(urgent);
                               const CCommand command(code, a1, a2, param);
                               EXPECT_TRUE(command.IsValid()) << code;
                               sent.push_back({code, command.GetText(), command.GetName()});
                           });
        return sent;
    }
    std::vector<int> SentCodes() {
        std::vector<int> codes;
        for (const Sent& s : Send())
            codes.push_back(s.code);
        return codes;
    }
    // Every text differs between the records; the rules then decide alone what goes out.
    void ChangeEverything(const std::string& model, const std::string& trigger,
                          const std::string& autoStore) {
        for (int v = 0; v < CInstrStatus::kValueCount; ++v) {
            if (std::string* text = current.Text(v)) {
                *text = "old";
                *edited.Text(v) = "new";
            }
        }
        current.m_strModel = model;
        edited.m_strEventTrigger = trigger;
        edited.m_strAutoStore = autoStore;
    }

    CInstrStatus current;
    CInstrStatus edited;
};

const std::vector<int> kEveryModel = {9,  10, 50, 54, 57, 58, 59, 60, 61, 62, 63,  64, 65,
                                      66, 67, 68, 69, 73, 82, 89, 91, 84, 53, 130, 128};

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

}  // namespace

TEST_F(SetupSend, OnlyChangedValuesGoWithTheirArgumentInPlace) {
    current.m_strModel = edited.m_strModel = "QS4060_r0$1";
    // The gain and the calibration level compare without the unit the meter reports.
    current.m_strInputGain = "20dB";
    current.m_strCalLevel = "114.0dB";
    edited.m_strInputGain = "20";
    edited.m_strCalLevel = "114.0";
    EXPECT_TRUE(Send().empty());

    edited.m_strIntegrationTime = "SS:10";
    edited.m_strCalLevel = "94.0";
    edited.m_strReportTime = "60";
    edited.m_strIntegrationMode = "MULTI";
    edited.m_strSlmDatalogger = "ON";
    const auto sent = Send();
    std::vector<std::string> texts;
    for (const Sent& s : sent)
        texts.push_back(s.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"SET:INTEGRATION_T:SS:10\r\n", "SET:CAL_L:94.0\r\n",
                                               "SET:INT_MODE:MULT\r\n", "SET:SLM+PROF:ON\r\n",
                                               "SET:REPORT_TIME:60\r\n"}));
    EXPECT_EQ(sent[0].name, "INTEGRATION_TIME");

    // Once acknowledged, nothing is left to send.
    for (const Sent& s : sent)
        AcknowledgeSetting(s.code, current, edited);
    EXPECT_TRUE(Send().empty());
}

TEST_F(SetupSend, DateAndTimeGoOnceAndNeverEmpty) {
    current.m_strDate = "2024/05/01";
    edited.m_strDate = "2024:05:02";
    edited.m_strTime = "10:30";
    current.m_nDateTimeFlag = edited.m_nDateTimeFlag = 1;
    const auto sent = Send();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].text, "SET:DATE:2024:05:02\r\n");
    EXPECT_EQ(sent[1].text, "SET:TIME:10:30\r\n");
    EXPECT_EQ(edited.m_strDate + edited.m_strTime, "");
    EXPECT_EQ(current.m_nDateTimeFlag + edited.m_nDateTimeFlag, 0);
    // Not refilled by the General page: nothing to send.
    EXPECT_TRUE(Send().empty());
}

TEST_F(SetupSend, QS4060SettingsByItsOptionLetters) {
    ChangeEverything("QS4060_00$1", "LEV", "OFF");
    EXPECT_EQ(SentCodes(), kEveryModel);
    // "p", "q" or "r" leave the spectrum weighting out.
    std::vector<int> common = kEveryModel;
    std::erase(common, 73);
    ChangeEverything("QS4060_p0$1", "LEV", "OFF");
    EXPECT_EQ(SentCodes(), common);

    ChangeEverything("QS4060_r0$1", "LEV", "OFF");
    EXPECT_EQ(SentCodes(),
              Join({common, {207, 200, 144, 146, 148, 150, 152, 154, 156, 162, 164, 166,
                             168, 170, 172, 182, 184, 188, 190, 192, 194, 174, 180, 196}}));

    ChangeEverything("QS4060_n0$1", "MAN", "OFF");
    EXPECT_EQ(SentCodes(),
              Join({kEveryModel, {207, 200, 144, 146, 148, 150, 152, 154, 156, 162, 158, 160,
                                  164, 166, 168, 170, 172, 182, 194, 174, 180, 176, 178, 196}}));

    // Octaves only; an external trigger sends no polarity to a QS4060.
    ChangeEverything("QS4060_J0$1", "EXT", "OFF");
    EXPECT_EQ(SentCodes(),
              Join({kEveryModel, {207, 200, 144, 146, 148, 150, 152, 154, 156, 162, 158,
                                  164, 166, 168, 170, 172, 182, 174, 180, 176, 196}}));
}

TEST_F(SetupSend, QS4160ByVariantAndAutoStore) {
    const std::vector<int> qs4160 = {51, 52, 55, 56, 70, 71, 72, 74, 75, 76};
    const std::vector<int> logging = {78, 79, 80, 81};
    const std::vector<int> reports = {200, 144, 146, 148, 150, 152, 154, 156, 158, 160, 162,
                                      164, 166, 168, 170, 172, 174, 176, 178, 180, 182};

    ChangeEverything("QS4160_L_00$1", "EXT", "OFF");
    edited.m_strTriggerPolarity = "POS";
    edited.m_strFftBand = "20k";
    const auto sent = Send();
    std::vector<int> codes;
    std::map<int, std::string> texts;
    for (const Sent& s : sent) {
        codes.push_back(s.code);
        texts[s.code] = s.text;
        EXPECT_EQ(s.text.find("old"), std::string::npos) << s.text;
    }
    EXPECT_EQ(codes,
              Join({kEveryModel, qs4160, logging, {202, 204, 198}, reports, {186, 196, 93}}));
    EXPECT_EQ(texts[186], "SET:EVN_TRGEXT_POL:POS\r\n");
    EXPECT_EQ(texts[198], "SET:FFT_BAND:20k\r\n");
    EXPECT_EQ(texts[130], "SET:AUTO_STORE:OFF\r\n");

    ChangeEverything("QS4160_I_00$1", "LEV", "OFF");
    EXPECT_EQ(SentCodes(),
              Join({kEveryModel, qs4160, logging, reports, {184, 188, 190, 192, 194, 196, 93}}));

    ChangeEverything("QS4160_00$1", "LEV", "OFF");
    EXPECT_EQ(SentCodes(), Join({kEveryModel, qs4160, logging, {93}}));

    // Auto-store on: no logging, report or event values at all.
    ChangeEverything("QS4160_H_00$1", "LEV", "ON");
    EXPECT_EQ(SentCodes(), Join({kEveryModel, qs4160, {93}}));
}
