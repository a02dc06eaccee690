// The text of a custom setting: the lines each model variant writes and takes, the forms of
// the gain and of automatic storing, and round trips of every key.
#include "setup/custom_settings_file.h"

#include <gtest/gtest.h>

#include "link/instr_status.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

using setup::HasCustomReportSettings;
using setup::LoadCustomSettings;
using setup::WriteCustomSettings;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (const std::string& line : platform::Split(text, '\n'))
        if (!line.empty())
            lines.push_back(platform::TrimRight(line));
    return lines;
}

// The keys of a file, blank-separated.
std::string Keys(const std::string& text) {
    std::string keys;
    for (const std::string& line : Lines(text))
        keys += (keys.empty() ? "" : " ") + line.substr(0, line.find('='));
    return keys;
}

// Every value a file can carry set to a text of its own; the gain and automatic storing in
// forms a file keeps.
CInstrStatus Distinct(const std::string& trigger) {
    CInstrStatus s;
    for (const SetupValueRow& row : SetupValueRows())
        if (row.key)
            s.*row.text = std::string("v") + row.name;
    s.m_strInputGain = "20";
    s.m_strAutoStore = "ON";
    s.m_strEventTrigger = trigger;
    return s;
}

const std::string kCommonKeys =
    "AUTO_PWR_OFF INPUT_CH DA_OUTPUT INPUT_GAIN PROFILE_TIME PROFILE_SPECTRUM_TIME "
    "INTEGRATION_TIME ERASE_TIME EXCHANGE_RATE DOSE_THRESHOLD CRITERION_LEV OVERLOAD_LEV "
    "PERC1_LEV PERC2_LEV PERC3_LEV PERC4_LEV SLM1_PAR SLM2_PAR SLM3_PAR SLM4_PAR SLM5_PAR "
    "PROFILE_PARAM SPECT_AUX_POND SPECT_TYPE SPECT_MEAN SPECT_MEAN_WEIGHT AUTOSTORE "
    "INTEGR_MODE PROF_DLOGGER SLM_DLOGGER OCT_DLOGGER TOCT_DLOGGER";

}  // namespace

TEST(CustomSettingsFile, LinesFollowTheFixedOrderAndReportLinesTheTrigger) {
    const std::string plain = WriteCustomSettings(Distinct("LEV"), "QS4060_00$1");
    EXPECT_EQ(Keys(plain), kCommonKeys);
    EXPECT_TRUE(
        plain.starts_with("AUTO_PWR_OFF=vAUTO_PWR_OFF\r\nINPUT_CH=vINPUT_CH\r\n"
                          "DA_OUTPUT=vDA_OUTPUT\r\nINPUT_GAIN=20dB\r\n"));

    const std::string reports =
        " SHORTLEQ_DLOGGER FFT_DLOGGER REPORT_TIME STORE_REP_PAR STORE_REP_OCT STORE_REP_TOCT "
        "STORE_REP_STAT 1_REPORT_PAR 2_REPORT_PAR 3_REPORT_PAR 4_REPORT_PAR 5_REPORT_PAR "
        "STORE_EVN_PAR STORE_EVN_OCT STORE_EVN_TOCT STORE_EVN_STAT EVN_TRIG EVN_TRIG_PRINT ";
    const std::string events = " 1_EVENT_PAR 2_EVENT_PAR 3_EVENT_PAR 4_EVENT_PAR 5_EVENT_PAR";
    EXPECT_EQ(Keys(WriteCustomSettings(Distinct("LEV"), "QS4160_L0$1")),
              kCommonKeys + reports +
                  "EVN_TRIG_POL EVN_TRIG_ON_LEV EVN_TRIG_OFF_LEV EVN_TRIG_ON_TIME "
                  "EVN_TRIG_OFF_TIME" +
                  events);
    // Any other trigger keeps only the polarity, under the external key.
    const std::string external = WriteCustomSettings(Distinct("EXT"), "QS4160_L0$1");
    EXPECT_EQ(Keys(external), kCommonKeys + reports + "EVN_TRIG_EXT_POL" + events);
    EXPECT_NE(external.find("\r\nEVN_TRIG_EXT_POL=vEVN_TRIG_POL\r\n"), std::string::npos);
}

// The report letters "n" and "J" hold report and event settings as much as "r", "k", "j",
// "N" and "K": their meters read and send them, so their custom settings keep them.
TEST(CustomSettingsFile, EveryKeyComesBackOnTheSameModelForEveryVariantAndTrigger) {
    for (const char* model : {"QS4060_00$1", "QS4060_r1$1", "QS4060_n0$1", "QS4060_J0$2",
                              "QS4060_p0$1", "QS4060_q0$1", "QS4060_c0$1", "QS4160_00$1",
                              "QS4160_L0$1", "QS4160_H0$1", "QS4160_I0$1", "QS4160_M0$1"}) {
        const std::string m = model;
        const bool reports = m.find_first_of("rnkjNKJ") != std::string::npos ||
                             (m.starts_with("QS4160_") && m.find_first_of("LHIM") == 7);
        EXPECT_EQ(HasCustomReportSettings(model), reports) << model;
        for (const std::string trigger : {"LEV", "EXT", "MAN"}) {
            SCOPED_TRACE(m + " " + trigger);
            const CInstrStatus saved = Distinct(trigger);
            const std::string text = WriteCustomSettings(saved, model);
            EXPECT_EQ(Lines(text).size(), !reports ? 32u : trigger == "LEV" ? 60u : 56u);
            CInstrStatus loaded;
            loaded.m_strWindShield = "kept";
            LoadCustomSettings(Lines(text), model, loaded);
            for (const SetupValueRow* row : CustomSettingsLineOrder()) {
                const bool written = row->keyGate == CustomKeyGate::Always ||
                                     (reports && (row->keyGate == CustomKeyGate::Reports ||
                                                  trigger == "LEV" || row->altKey));
                EXPECT_EQ(loaded.*row->text, (written ? saved : CInstrStatus()).*row->text)
                    << row->name;
            }
            EXPECT_EQ(loaded.m_strWindShield, "kept");  // only ever loaded
        }
    }
}

TEST(CustomSettingsFile, TheGainIsWrittenFromEveryFormAndLoadedAsThePageStoresIt) {
    for (const auto& [value, line] :
         std::vector<std::pair<std::string, std::string>>{{"0", "00dB"},
                                                          {"00", "00dB"},
                                                          {"00dB", "00dB"},
                                                          {"10", "10dB"},
                                                          {" 30 dB", "30dB"},
                                                          {"40dB", "40dB"},
                                                          {"5", ""},
                                                          {"50dB", ""},
                                                          {"-1", ""},
                                                          {"", ""},
                                                          {"1O", ""}}) {
        CInstrStatus s = Distinct("OFF");
        s.m_strInputGain = value;
        EXPECT_EQ(Lines(WriteCustomSettings(s, "QS4060_00$1"))[3],
                  line.empty() ? "PROFILE_TIME=vPROFILE_TIME" : "INPUT_GAIN=" + line)
            << value;
    }
    CInstrStatus loaded;
    LoadCustomSettings({"INPUT_GAIN=10dB"}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strInputGain, "10");
    LoadCustomSettings({"INPUT_GAIN=00dB"}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strInputGain, "00");
}

TEST(CustomSettingsFile, LoadingTakesWhatTheModelAndTheTriggerAllowLineByLine) {
    // A report meter's file on a meter without reports: the first 32 lines only.
    CInstrStatus plain;
    LoadCustomSettings(Lines(WriteCustomSettings(Distinct("LEV"), "QS4160_H0$1")), "QS4060_00$1",
                       plain);
    EXPECT_EQ(plain.m_strToctDatalogger, "vTOCT_DLOGGER");
    EXPECT_EQ(plain.m_strShortLeqDatalogger, "-1");
    EXPECT_EQ(plain.m_strEventTrigger, "");

    // The trigger in force when a line comes decides between the two polarities.
    CInstrStatus s;
    LoadCustomSettings(
        {"EVN_TRIG=EXT", "EVN_TRIG_POL=POS", "EVN_TRIG_ON_LEV=80", "EVN_TRIG_EXT_POL= NEG \r"},
        "QS4060_J0$2", s);
    EXPECT_EQ(s.m_strTriggerPolarity + s.m_strTriggerOnLevel, "NEG");
    LoadCustomSettings(
        {"EVN_TRIG=LEV", "EVN_TRIG_EXT_POL=NEG", "EVN_TRIG_POL=POS", "EVN_TRIG_ON_LEV=80"},
        "QS4060_J0$2", s);
    EXPECT_EQ(s.m_strTriggerPolarity + s.m_strTriggerOnLevel, "POS80");

    // Keys only loaded; automatic storing only ever "ON" or "OFF"; a key is the text before
    // the first "=", exactly.
    CInstrStatus t;
    t.m_strAutoStore = "-1";
    EXPECT_EQ(WriteCustomSettings(t, "QS4060_00$1").find("AUTOSTORE"), std::string::npos);
    LoadCustomSettings({"WIND_SHIELD=ON", "MIC_RESP=DIFFUSE", "AMB_CORR=OFF", "AUTOSTORE=ONCE",
                        "TOCT_DLOGGER=ON", " OCT_DLOGGER=ON", "XSLM_DLOGGER=ON", "garbage",
                        "PERC1_LEV", "BAUD=9.6k", "SLM1_PAR=LAeq=x"},
                       "QS4060_00$1", t);
    EXPECT_EQ(t.m_strWindShield + t.m_strMicResponse + t.m_strAmbientCorrection, "ONDIFFUSEOFF");
    EXPECT_EQ(t.m_strAutoStore, "-1");
    EXPECT_EQ(t.m_strToctDatalogger + t.m_strOctDatalogger + t.m_strSlmDatalogger, "ON-1-1");
    EXPECT_EQ(t.m_strPerc1Level + t.m_strBaudRate, "-1-1");
    EXPECT_EQ(t.m_strSlm1Param, "LAeq=x");
}
