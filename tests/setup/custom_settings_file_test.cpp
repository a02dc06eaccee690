// The text of a custom setting: which lines each model variant writes and takes, the forms of
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

// Model texts of every variant the rules tell apart.
const char* const kModels[] = {"QS4060_00$1", "QS4060_r1$1", "QS4060_n0$1", "QS4060_J0$2",
                               "QS4060_p0$1", "QS4060_q0$1", "QS4060_c0$1", "QS4160_00$1",
                               "QS4160_L0$1", "QS4160_H0$1", "QS4160_I0$1", "QS4160_M0$1"};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string line : platform::Split(text, '\n'))
        if (!line.empty())
            lines.push_back(platform::TrimRight(line));
    return lines;
}

std::vector<std::string> Keys(const std::string& text) {
    std::vector<std::string> keys;
    for (const std::string& line : Lines(text))
        keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

// Every value a file can carry set to a text of its own; the gain and automatic storing in
// forms a file keeps, and the trigger as given.
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

}  // namespace

TEST(CustomSettingsFile, AMeterWithoutReportsWritesItsThirtyTwoLinesInTheFixedOrder) {
    const std::string text = WriteCustomSettings(Distinct("LEV"), "QS4060_00$1");
    EXPECT_TRUE(
        text.starts_with("AUTO_PWR_OFF=vAUTO_PWR_OFF\r\nINPUT_CH=vINPUT_CH\r\n"
                         "DA_OUTPUT=vDA_OUTPUT\r\nINPUT_GAIN=20dB\r\n"));
    EXPECT_EQ(Keys(text), (std::vector<std::string>{
                              "AUTO_PWR_OFF",     "INPUT_CH",          "DA_OUTPUT",
                              "INPUT_GAIN",       "PROFILE_TIME",      "PROFILE_SPECTRUM_TIME",
                              "INTEGRATION_TIME", "ERASE_TIME",        "EXCHANGE_RATE",
                              "DOSE_THRESHOLD",   "CRITERION_LEV",     "OVERLOAD_LEV",
                              "PERC1_LEV",        "PERC2_LEV",         "PERC3_LEV",
                              "PERC4_LEV",        "SLM1_PAR",          "SLM2_PAR",
                              "SLM3_PAR",         "SLM4_PAR",          "SLM5_PAR",
                              "PROFILE_PARAM",    "SPECT_AUX_POND",    "SPECT_TYPE",
                              "SPECT_MEAN",       "SPECT_MEAN_WEIGHT", "AUTOSTORE",
                              "INTEGR_MODE",      "PROF_DLOGGER",      "SLM_DLOGGER",
                              "OCT_DLOGGER",      "TOCT_DLOGGER"}));
    EXPECT_TRUE(
        text.ends_with("AUTOSTORE=ON\r\nINTEGR_MODE=vINTEGR_MODE\r\n"
                       "PROF_DLOGGER=vPROF_DLOGGER\r\nSLM_DLOGGER=vSLM_DLOGGER\r\n"
                       "OCT_DLOGGER=vOCT_DLOGGER\r\nTOCT_DLOGGER=vTOCT_DLOGGER\r\n"));
}

TEST(CustomSettingsFile, AReportMeterAddsItsReportAndEventLinesByTrigger) {
    const std::vector<std::string> head = Keys(WriteCustomSettings(Distinct("LEV"), "QS4060_00$1"));
    const std::vector<std::string> reportKeys = {
        "SHORTLEQ_DLOGGER", "FFT_DLOGGER",    "REPORT_TIME",   "STORE_REP_PAR", "STORE_REP_OCT",
        "STORE_REP_TOCT",   "STORE_REP_STAT", "1_REPORT_PAR",  "2_REPORT_PAR",  "3_REPORT_PAR",
        "4_REPORT_PAR",     "5_REPORT_PAR",   "STORE_EVN_PAR", "STORE_EVN_OCT", "STORE_EVN_TOCT",
        "STORE_EVN_STAT",   "EVN_TRIG",       "EVN_TRIG_PRINT"};
    const std::vector<std::string> eventKeys = {"1_EVENT_PAR", "2_EVENT_PAR", "3_EVENT_PAR",
                                                "4_EVENT_PAR", "5_EVENT_PAR"};
    auto expected = [&](std::vector<std::string> trigger) {
        std::vector<std::string> keys = head;
        keys.insert(keys.end(), reportKeys.begin(), reportKeys.end());
        keys.insert(keys.end(), trigger.begin(), trigger.end());
        keys.insert(keys.end(), eventKeys.begin(), eventKeys.end());
        return keys;
    };
    const std::string level = WriteCustomSettings(Distinct("LEV"), "QS4160_L0$1");
    EXPECT_EQ(Keys(level), expected({"EVN_TRIG_POL", "EVN_TRIG_ON_LEV", "EVN_TRIG_OFF_LEV",
                                     "EVN_TRIG_ON_TIME", "EVN_TRIG_OFF_TIME"}));
    // Any other trigger keeps only the polarity, under the external key.
    const std::string external = WriteCustomSettings(Distinct("EXT"), "QS4160_L0$1");
    EXPECT_EQ(Keys(external), expected({"EVN_TRIG_EXT_POL"}));
    EXPECT_NE(external.find("\r\nEVN_TRIG_EXT_POL=vEVN_TRIG_POL\r\n"), std::string::npos);
}

// The report letters "n" and "J" hold report and event settings as much as "r", "k", "j", "N"
// and "K": their meters read and send them, so their custom settings keep them.
TEST(CustomSettingsFile, EveryModelWithReportsKeepsThemAndNoOtherDoes) {
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        const std::string m = model;
        const bool reports = m.find_first_of("rnkjNKJ") != std::string::npos ||
                             m.starts_with("QS4160_L") || m.starts_with("QS4160_H") ||
                             m.starts_with("QS4160_I") || m.starts_with("QS4160_M");
        EXPECT_EQ(HasCustomReportSettings(model), reports);
        EXPECT_EQ(Lines(WriteCustomSettings(Distinct("LEV"), model)).size(), reports ? 60u : 32u);
    }
    EXPECT_TRUE(HasCustomReportSettings("QS4060_n0$1"));
    EXPECT_TRUE(HasCustomReportSettings("QS4060_J0$2"));
}

TEST(CustomSettingsFile, EveryKeyComesBackOnTheSameModelForEitherTrigger) {
    for (const char* model : kModels) {
        for (const char* trigger : {"LEV", "EXT", "MAN"}) {
            SCOPED_TRACE(std::string(model) + " " + trigger);
            const CInstrStatus saved = Distinct(trigger);
            CInstrStatus loaded;
            loaded.m_strWindShield = "kept";
            LoadCustomSettings(Lines(WriteCustomSettings(saved, model)), model, loaded);
            const bool reports = HasCustomReportSettings(model);
            for (const SetupValueRow* row : CustomSettingsLineOrder()) {
                SCOPED_TRACE(row->name);
                const bool written = row->keyGate == CustomKeyGate::Always ||
                                     (reports && (row->keyGate == CustomKeyGate::Reports ||
                                                  std::string(trigger) == "LEV" || row->altKey));
                EXPECT_EQ(loaded.*row->text,
                          written ? saved.*row->text : CInstrStatus().*row->text);
            }
            EXPECT_EQ(loaded.m_strWindShield, "kept");  // never written
        }
    }
}

TEST(CustomSettingsFile, TheGainIsWrittenFromEveryFormAndLoadedAsThePageStoresIt) {
    for (const auto& [value, line] :
         std::vector<std::pair<std::string, std::string>>{{"0", "INPUT_GAIN=00dB"},
                                                          {"00", "INPUT_GAIN=00dB"},
                                                          {"00dB", "INPUT_GAIN=00dB"},
                                                          {"10", "INPUT_GAIN=10dB"},
                                                          {"20dB", "INPUT_GAIN=20dB"},
                                                          {" 30 dB", "INPUT_GAIN=30dB"},
                                                          {"40dB", "INPUT_GAIN=40dB"},
                                                          {"5", ""},
                                                          {"50dB", ""},
                                                          {"-1", ""},
                                                          {"", ""},
                                                          {"1O", ""}}) {
        SCOPED_TRACE(value);
        CInstrStatus s = Distinct("OFF");
        s.m_strInputGain = value;
        const std::vector<std::string> lines = Lines(WriteCustomSettings(s, "QS4060_00$1"));
        if (line.empty()) {
            EXPECT_EQ(lines.size(), 31u);
            EXPECT_EQ(lines[3], "PROFILE_TIME=vPROFILE_TIME");
        } else {
            EXPECT_EQ(lines[3], line);
        }
    }
    CInstrStatus loaded;
    LoadCustomSettings({"INPUT_GAIN=10dB"}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strInputGain, "10");
    LoadCustomSettings({"INPUT_GAIN=00dB"}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strInputGain, "00");
}

TEST(CustomSettingsFile, AutomaticStoringIsOnlyEverOnOrOff) {
    CInstrStatus s = Distinct("OFF");
    s.m_strAutoStore = "-1";
    EXPECT_EQ(WriteCustomSettings(s, "QS4060_00$1").find("AUTOSTORE"), std::string::npos);
    CInstrStatus loaded;
    LoadCustomSettings({"AUTOSTORE=OFF"}, "QS4060_00$1", loaded);
    LoadCustomSettings({"AUTOSTORE=ONCE", "AUTOSTORE="}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strAutoStore, "OFF");
    LoadCustomSettings({"AUTOSTORE=ON"}, "QS4060_00$1", loaded);
    EXPECT_EQ(loaded.m_strAutoStore, "ON");
}

TEST(CustomSettingsFile, LoadingTakesWhatTheModelAndTheTriggerAllowLineByLine) {
    // A report meter's file on a meter without reports: the first 32 lines only.
    const std::string file = WriteCustomSettings(Distinct("LEV"), "QS4160_H0$1");
    CInstrStatus plain;
    LoadCustomSettings(Lines(file), "QS4060_00$1", plain);
    EXPECT_EQ(plain.m_strToctDatalogger, "vTOCT_DLOGGER");
    EXPECT_EQ(plain.m_strShortLeqDatalogger, "-1");
    EXPECT_EQ(plain.m_strEventTrigger, "");

    // The trigger in force when a line comes decides between the two polarities.
    CInstrStatus s;
    LoadCustomSettings(
        {"EVN_TRIG=EXT", "EVN_TRIG_POL=POS", "EVN_TRIG_ON_LEV=80", "EVN_TRIG_EXT_POL= NEG \r"},
        "QS4060_J0$2", s);
    EXPECT_EQ(s.m_strTriggerPolarity, "NEG");
    EXPECT_EQ(s.m_strTriggerOnLevel, "");
    LoadCustomSettings(
        {"EVN_TRIG=LEV", "EVN_TRIG_EXT_POL=NEG", "EVN_TRIG_POL=POS", "EVN_TRIG_ON_LEV=80"},
        "QS4060_J0$2", s);
    EXPECT_EQ(s.m_strTriggerPolarity, "POS");
    EXPECT_EQ(s.m_strTriggerOnLevel, "80");

    // Keys read but never written; a key is the text before the first "=", exactly.
    CInstrStatus t;
    LoadCustomSettings(
        {"WIND_SHIELD=ON", "MIC_RESP=DIFFUSE", "AMB_CORR=OFF", "TOCT_DLOGGER=ON", " OCT_DLOGGER=ON",
         "XSLM_DLOGGER=ON", "garbage", "PERC1_LEV", "BAUD=9.6k", "SLM1_PAR=LAeq=x"},
        "QS4060_00$1", t);
    EXPECT_EQ(t.m_strWindShield, "ON");
    EXPECT_EQ(t.m_strMicResponse, "DIFFUSE");
    EXPECT_EQ(t.m_strAmbientCorrection, "OFF");
    EXPECT_EQ(t.m_strToctDatalogger, "ON");
    EXPECT_EQ(t.m_strOctDatalogger, "-1");
    EXPECT_EQ(t.m_strSlmDatalogger, "-1");
    EXPECT_EQ(t.m_strPerc1Level, "-1");
    EXPECT_EQ(t.m_strBaudRate, "-1");  // no key
    EXPECT_EQ(t.m_strSlm1Param, "LAeq=x");
}
