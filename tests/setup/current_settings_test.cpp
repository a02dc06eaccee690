// The "Current" page: its sixteen texts from the setup as read, for each model variant.
#include "setup/current_settings.h"

#include <gtest/gtest.h>

#include "fake_setup_host.h"

using namespace setup::current_ids;
using setup::CurrentSettings;
using setuptest::FakeSetupHost;

namespace {

class CurrentSettingsTest : public ::testing::Test {
protected:
    // The page shown for a meter of `model`, every value read as its name.
    CurrentSettings& Show(const std::string& model) {
        host.ReadAs(model);
        setuptest::FillAsRead(host.current);
        host.edited = host.current;
        return Activate();
    }
    CurrentSettings& Activate() {
        page.OnSetActive();
        return page;
    }
    std::string Text(int id) const { return page.Text(id); }

    FakeSetupHost host;
    CurrentSettings page{host};
};

}  // namespace

TEST_F(CurrentSettingsTest, BeforeAnyReadTheTextsShowTheUnreadValues) {
    Activate();
    EXPECT_EQ(Text(kGeneral), "Date: 2000/01/01\nTime: 00:00\nContrast: -1\nAuto Off: -1");
    EXPECT_EQ(Text(kInstrument), "Model: \nSerial Num.: \nSoftware: \nMemory Size: -1");
}

TEST_F(CurrentSettingsTest, AQS4060ShowsTheShortFormatsAndItsFixedMicrophone) {
    Show("QS4060_c0$2");
    EXPECT_EQ(Text(kInstrument),
              "Model: QS4060_c0 Cl2\nSerial Num.: INSTR_N\nSoftware: INSTR_V\nMemory Size: MEM_S");
    EXPECT_EQ(Text(kMicrophone), "Model: MIC_M\nSerial Num.: MIC_N\nResponse: MIC_T\n");
    EXPECT_EQ(Text(kGeneral), "Date: DATE\nTime: TIME\nContrast: DISP_C\nAuto Off: AUTO_PWR_OFF");
    EXPECT_EQ(Text(kInOut), "In Gain: INPUT_GAIN\nBaudrate: BAUD");
    EXPECT_EQ(Text(kSlm), "SLM 1: <SLM1_PAR>\nSLM 2: <SLM2_PAR>\nSLM 3: <SLM3_PAR>");
    EXPECT_EQ(Text(kProfile), "Channel: LFmx A\nStep: 0.125s\n");
    EXPECT_EQ(Text(kSpectrum), "Aux Pond: SPECT_AUX_POND");
    EXPECT_EQ(Text(kStatistics),
              "Param: LAFp\n\nPerc.1: 01      Perc.2: 10\nPerc.3: 50      Perc.4: 90");
    EXPECT_EQ(
        Text(kDose),
        "Exch.Rate: EXCHANGE_RATE dB\nCrit.Lev: CRITERION_LEV dB\nThr.Lev: DOSE_THRESHOLD dB\n");
    EXPECT_EQ(Text(kCalibration), "Cal.Lev: 94.0dB");
    EXPECT_EQ(Text(kLoggingLeft), "Auto Store: AUTOSTORE");
    EXPECT_EQ(Text(kLogging), "DATALOGGER ENABLED");
    EXPECT_EQ(Text(kLoggingRight) + Text(kReport) + Text(kEvent), "");
    EXPECT_FALSE(page.Controls().IsEnabled(kReportGroup));
    EXPECT_FALSE(page.Controls().IsEnabled(kEventGroup));

    // An integration time in minutes; no fixed microphone; no class.
    host.current.m_strIntegrationTime = "MM:05";
    host.current.m_strModel = "QS4060_00";
    Activate();
    EXPECT_EQ(Text(kMeasurement),
              "Integration Mode: INTEGR_MODE\nIntegration Time: 05 m\nBack Erase Time: ERASE_TIME\n"
              "Overload: OVERLOAD_LEV dB");
    EXPECT_TRUE(Text(kInstrument).starts_with("Model: QS4060_00\n"));
    EXPECT_EQ(Text(kLogging), "DATALOGGER DISABLED");
    EXPECT_EQ(Text(kCalibration),
              "Cal.Lev: CAL_L\nAcoustic Field: MIC_RESP\nWind Shield: WIND_SHIELD");
}

TEST_F(CurrentSettingsTest, AQS4160ShowsTheLongFormatsAndWhatTheBandShiftDisables) {
    Show("QS4160_L0$1");
    EXPECT_EQ(Text(kInOut),
              "In Channel: INPUT_CH\nIn Gain: INPUT_GAIN\nDA Output: DA_OUTPUT\nBaudrate: BAUD");
    EXPECT_EQ(Text(kSlm),
              "SLM 1: <SLM1_PAR>\nSLM 2: <SLM2_PAR>\nSLM 3: <SLM3_PAR>\nSLM 4: <SLM4_PAR>\n"
              "SLM 5: <SLM5_PAR>");
    EXPECT_EQ(Text(kProfile), "Channel: <PROFILE_PARAM>\nStep: PROFILE_TIME\n");
    EXPECT_EQ(
        Text(kSpectrum),
        "Aux Pond: SPECT_AUX_POND\nMode: SPECT_TYPE\nMean mode: SPECT_MEAN\n"
        "Mean Weight: SPECT_MEAN_WEIGHT\nBand Shift: SPECT_SHIFT\nStep: PROFILE_SPECTRUM_TIME");
    EXPECT_TRUE(Text(kStatistics).starts_with("Param: <STAT_PAR>\n\nPerc.1: 01"));
    EXPECT_EQ(Text(kCalibration),
              "Cal.Lev: CAL_L\nAcoustic Field: MIC_RESP\nWind Shield: WIND_SHIELD\n"
              "Mic. ambiental corr: AMB_CORR\nMic.temp coeff: MIC_CT");
    EXPECT_EQ(Text(kLogging), "Auto Store: AUTOSTORE");
    EXPECT_EQ(Text(kLoggingLeft),
              "SLM DataLogger:            SLM_DLOGGER\nProfile DataLogger:          PROF_DLOGGER\n"
              "Short Leq DataLogger:    SHORTLEQ_DLOGGER");
    EXPECT_EQ(Text(kLoggingRight),
              "Octave DataLogger:        OCT_DLOGGER\nT.Octave DataLogger:     TOCT_DLOGGER\n"
              "FFT DataLogger:              FFT_DLOGGER");
    EXPECT_EQ(Text(kReport),
              "Report Interval: REPORT_TIME\n\nPar1: 1_REPORT_PAR   Par2: 2_REPORT_PAR\n"
              "Par3: 3_REPORT_PAR   Par4: 4_REPORT_PAR\nPar5: 5_REPORT_PAR\n\n"
              "Store Par1-5: STORE_REP_PAR\nStore Oct: STORE_REP_OCT\nStore TOct: STORE_REP_TOCT\n"
              "Store Stat: STORE_REP_STAT");
    EXPECT_EQ(Text(kEvent),
              "Par1: 1_EVENT_PAR   Par2: 2_EVENT_PAR\nPar3: 3_EVENT_PAR   Par4: 4_EVENT_PAR\n"
              "Par5: 5_EVENT_PAR\n\nStore Par1-5: STORE_EVN_PAR\nStore Oct: STORE_EVN_OCT\n"
              "Store TOct: STORE_EVN_TOCT\nStore Stat: STORE_EVN_STAT\n\nTrig: EVN_TRIG\n"
              "Trig.Pol: EVN_TRIG_POL\nTrig On Lev: EVN_TRIG_ON_LEVdB\n"
              "Trig Off Lev: EVN_TRIG_OFF_LEVdB\nTrig On time: EVN_TRIG_ON_TIMEs\n"
              "Trig Off Time: EVN_TRIG_OFF_TIMEs\nSerial Notify: EVN_TRIG_PRINT");
    EXPECT_TRUE(page.Controls().IsEnabled(kReportGroup));

    // The half-band shift disables profile and octave logging; FFT logging shows its band; a
    // linear mean has no weighting; the trigger decides the event format.
    CInstrStatus& s = host.current;
    s.m_strHalfBandShift = "ON";
    s.m_strFftDatalogger = "ON";
    s.m_strSpectMean = "LIN";
    s.m_strEventTrigger = "OFF";
    Activate();
    EXPECT_EQ(Text(kProfile), "DISABLED");
    EXPECT_TRUE(
        Text(kSpectrum).ends_with("Mean mode: LIN\nMean Weight: ---\nBand Shift: ON\n"
                                  "Step: PROFILE_SPECTRUM_TIME"));
    EXPECT_TRUE(Text(kLoggingLeft)
                    .ends_with("Profile DataLogger:          DISABLED\n"
                               "Short Leq DataLogger:    SHORTLEQ_DLOGGER"));
    EXPECT_EQ(Text(kLoggingRight),
              "Octave DataLogger:        DISABLED\nT.Octave DataLogger:     TOCT_DLOGGER\n"
              "FFT DataLogger:              FFT_BAND");
    EXPECT_TRUE(Text(kEvent).ends_with("Store Stat: STORE_EVN_STAT\n\nTrig: OFF"));
    s.m_strEventTrigger = "MAN";
    Activate();
    EXPECT_TRUE(Text(kEvent).ends_with("\n\nTrig: MAN\nSerial Notify: EVN_TRIG_PRINT"));

    // Without a report variant: two-line logging, no statistics parameter, no sections.
    Show("QS4160_00$1");
    EXPECT_EQ(Text(kLoggingLeft),
              "SLM DataLogger:            SLM_DLOGGER\nProfile DataLogger:          PROF_DLOGGER");
    EXPECT_EQ(Text(kLoggingRight),
              "Octave DataLogger:        OCT_DLOGGER\nT.Octave DataLogger:     TOCT_DLOGGER");
    EXPECT_TRUE(Text(kStatistics).starts_with("Param: LAFp\n\n"));
    EXPECT_EQ(Text(kReport) + Text(kEvent), "");
    EXPECT_FALSE(page.Controls().IsEnabled(kEventGroup));
}

TEST_F(CurrentSettingsTest, QS4060ReportModelsMarkTheStorageTheyCannotHave) {
    // "r": neither octaves nor third octaves; a level trigger spells it "Disabeld".
    Show("QS4060_r0$1");
    EXPECT_EQ(Text(kLogging), "SLM + PROFILE : SLM_DLOGGER");
    EXPECT_EQ(Text(kLoggingLeft) + Text(kLoggingRight), "");
    EXPECT_TRUE(
        Text(kReport).ends_with("Par5: 5_REPORT_PAR\n\nStore Par1-5: STORE_REP_PAR\n"
                                "Store Oct: Disabled\nStore TOct: Disabled\n"
                                "Store Stat: STORE_REP_STAT"));
    EXPECT_TRUE(
        Text(kEvent).ends_with("Store Oct: Disabeld\nStore TOct: Disabeld\n"
                               "Store Stat: STORE_EVN_STAT\n\nTrig: EVN_TRIG\n"
                               "Trig.Pol: EVN_TRIG_POL\nTrig On Lev: EVN_TRIG_ON_LEVdB\n"
                               "Trig Off Lev: EVN_TRIG_OFF_LEVdB\n"
                               "Trig On time: EVN_TRIG_ON_TIMEs\n"
                               "Trig Off Time: EVN_TRIG_OFF_TIMEs\n"
                               "Serial Notify: EVN_TRIG_PRINT"));

    // "J": octaves but no third octaves; a manual trigger spells it "Disabled".
    Show("QS4060_J0$1");
    host.current.m_strEventTrigger = "MAN";
    Activate();
    EXPECT_TRUE(Text(kReport).ends_with("Store TOct: Disabled\nStore Stat: STORE_REP_STAT"));
    EXPECT_TRUE(
        Text(kEvent).ends_with("Store Oct: STORE_EVN_OCT\nStore TOct: Disabled\n"
                               "Store Stat: STORE_EVN_STAT\n\nTrig: MAN\n"
                               "Serial Notify: EVN_TRIG_PRINT"));

    // "n": every storage, and no blank line before the store entries. An interval being
    // switched off and a trigger that is off empty the fields.
    Show("QS4060_n0$1");
    EXPECT_TRUE(
        Text(kReport).ends_with("Par5: 5_REPORT_PAR\nStore Par1-5: STORE_REP_PAR\n"
                                "Store Oct: STORE_REP_OCT\nStore TOct: STORE_REP_TOCT\n"
                                "Store Stat: STORE_REP_STAT"));
    host.edited.m_strReportTime = "OFF";
    host.current.m_strEventTrigger = "OFF";
    Activate();
    EXPECT_EQ(Text(kReport),
              "Report Interval: REPORT_TIME\n\nPar1:    Par2: \nPar3:    Par4: \nPar5: \n"
              "Store Par1-5: \nStore Oct: \nStore TOct: \nStore Stat: ");
    EXPECT_EQ(Text(kEvent),
              "Par1:    Par2: \nPar3:    Par4: \nPar5: \n\nStore Par1-5: \nStore Oct: \n"
              "Store TOct: \nStore Stat: \n\nTrig: OFF\nSerial Notify: ");
}

TEST_F(CurrentSettingsTest, AMeterWithoutDataLoggingHidesProfileSpectrumAndLogging) {
    Show("QS4060_p0$1");
    for (int id : {kProfile, kSpectrum, kLoggingLeft, kLoggingRight, kLogging})
        EXPECT_FALSE(page.Controls().IsShown(id)) << id;
    for (int id : {kProfileGroup, kSpectrumGroup, kLoggingGroup})
        EXPECT_FALSE(page.Controls().IsEnabled(id)) << id;
    EXPECT_TRUE(page.Controls().IsShown(kSlm));
}
