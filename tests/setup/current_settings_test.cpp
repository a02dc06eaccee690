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
    // The page shown for a meter of `model` read with the values above.
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

    FakeSetupHost host;
    CurrentSettings page{host};
};

}  // namespace

TEST_F(CurrentSettingsTest, BeforeAnyReadTheTextsShowTheUnreadValues) {
    Activate();
    EXPECT_EQ(page.Text(kGeneral), "Date: 2000/01/01\nTime: 00:00\nContrast: -1\nAuto Off: -1");
    EXPECT_EQ(page.Text(kInstrument), "Model: \nSerial Num.: \nSoftware: \nMemory Size: -1");
    EXPECT_EQ(page.Text(kMeasurement),
              "Integration Mode: SINGLE\nIntegration Time: -1\nBack Erase Time: -1\n"
              "Overload: -1 dB");
}

TEST_F(CurrentSettingsTest, AQS4060ShowsTheShortFormatsAndItsFixedMicrophone) {
    Show("QS4060_c0$2");
    EXPECT_EQ(page.Text(kInstrument),
              "Model: QS4060_c0 Cl2\nSerial Num.: A12345\nSoftware: 2.05\nMemory Size: 2048k");
    EXPECT_EQ(page.Text(kMicrophone), "Model: MK250\nSerial Num.: M5678\nResponse: FREE FIELD\n");
    EXPECT_EQ(page.Text(kInOut), "In Gain: 20dB\nBaudrate: 38.4k");
    EXPECT_EQ(page.Text(kMeasurement),
              "Integration Mode: SINGLE\nIntegration Time: 05 m\nBack Erase Time: 5s\n"
              "Overload: 140 dB");
    EXPECT_EQ(page.Text(kSlm), "SLM 1: <Leq:A>\nSLM 2: <LFmx:A>\nSLM 3: <LFmn:A>");
    EXPECT_EQ(page.Text(kProfile), "Channel: LFmx A\nStep: 0.125s\n");
    EXPECT_EQ(page.Text(kSpectrum), "Aux Pond: A");
    EXPECT_EQ(page.Text(kStatistics),
              "Param: LAFp\n\nPerc.1: 01      Perc.2: 10\nPerc.3: 50      Perc.4: 90");
    EXPECT_EQ(page.Text(kDose), "Exch.Rate: 3 dB\nCrit.Lev: 85 dB\nThr.Lev: 80 dB\n");
    EXPECT_EQ(page.Text(kCalibration), "Cal.Lev: 94.0dB");
    EXPECT_EQ(page.Text(kLoggingLeft), "Auto Store: OFF");
    EXPECT_EQ(page.Text(kLogging), "DATALOGGER ENABLED");
    EXPECT_EQ(page.Text(kLoggingRight), "");
    // No report or event sections.
    EXPECT_EQ(page.Text(kReport) + page.Text(kEvent), "");
    EXPECT_FALSE(page.Controls().IsEnabled(kReportGroup));
    EXPECT_FALSE(page.Controls().IsEnabled(kEventGroup));
    EXPECT_TRUE(page.Controls().IsShown(kProfile));

    Show("QS4060_00$1");
    EXPECT_EQ(page.Text(kInstrument).substr(0, 20), "Model: QS4060_00 Cl1");
    EXPECT_EQ(page.Text(kLogging), "DATALOGGER DISABLED");
    EXPECT_EQ(page.Text(kCalibration), "Cal.Lev: 94.0dB\nAcoustic Field: FF\nWind Shield: SAV");
    Show("QS4060_00");
    EXPECT_EQ(page.Text(kInstrument).substr(0, 17), "Model: QS4060_00\n");
}

TEST_F(CurrentSettingsTest, AQS4160ShowsTheLongFormatsAndWhatTheBandShiftDisables) {
    Show("QS4160_L0$1");
    EXPECT_EQ(page.Text(kInOut), "In Channel: MIC\nIn Gain: 20dB\nDA Output: OFF\nBaudrate: 38.4k");
    EXPECT_EQ(page.Text(kSlm),
              "SLM 1: <Leq:A>\nSLM 2: <LFmx:A>\nSLM 3: <LFmn:A>\nSLM 4: <Lpk:C>\nSLM 5: <LFp:A>");
    EXPECT_EQ(page.Text(kProfile), "Channel: <LFp:A>\nStep: 0.5s\n");
    EXPECT_EQ(page.Text(kSpectrum),
              "Aux Pond: A\nMode: AVERAGE\nMean mode: LIN\nMean Weight: ---\nBand Shift: OFF\n"
              "Step: 1s");
    EXPECT_EQ(page.Text(kStatistics),
              "Param: <LFp:A>\n\nPerc.1: 01      Perc.2: 10\nPerc.3: 50      Perc.4: 90");
    EXPECT_EQ(page.Text(kCalibration),
              "Cal.Lev: 94.0dB\nAcoustic Field: FF\nWind Shield: SAV\nMic. ambiental corr: OFF\n"
              "Mic.temp coeff: 23.0\xB0");
    EXPECT_EQ(page.Text(kLogging), "Auto Store: OFF");
    EXPECT_EQ(page.Text(kLoggingLeft),
              "SLM DataLogger:            ON\nProfile DataLogger:          ON\n"
              "Short Leq DataLogger:    A");
    // FFT logging on: its band is shown.
    EXPECT_EQ(page.Text(kLoggingRight),
              "Octave DataLogger:        ON\nT.Octave DataLogger:     OFF\n"
              "FFT DataLogger:              HF");
    EXPECT_EQ(page.Text(kReport),
              "Report Interval: 10s\n\nPar1: Leq:A   Par2: Lpk:C\nPar3: LFmx:A   Par4: LE:A\n"
              "Par5: L1:\n\nStore Par1-5: ON\nStore Oct: ON\nStore TOct: ON\nStore Stat: OFF");
    EXPECT_EQ(page.Text(kEvent),
              "Par1: Leq:A   Par2: Lpk:Z\nPar3: LSmx:C   Par4: LImn:A\nPar5: LE:A\n\n"
              "Store Par1-5: ON\nStore Oct: ON\nStore TOct: ON\nStore Stat: ON\n\nTrig: LEV\n"
              "Trig.Pol: POS\nTrig On Lev: 80dB\nTrig Off Lev: 70dB\nTrig On time: 1s\n"
              "Trig Off Time: 2s\nSerial Notify: OFF");
    EXPECT_TRUE(page.Controls().IsEnabled(kReportGroup));

    // The half-band shift disables the profile and octave logging; an exponential mean has
    // its weighting; the trigger decides the event format.
    host.current.m_strHalfBandShift = "ON";
    host.current.m_strSpectMean = "EXP";
    host.current.m_strFftDatalogger = "OFF";
    host.current.m_strEventTrigger = "OFF";
    Activate();
    EXPECT_EQ(page.Text(kProfile), "DISABLED");
    EXPECT_EQ(page.Text(kSpectrum),
              "Aux Pond: A\nMode: AVERAGE\nMean mode: EXP\nMean Weight: FAST\nBand Shift: ON\n"
              "Step: 1s");
    EXPECT_EQ(page.Text(kLoggingLeft),
              "SLM DataLogger:            ON\nProfile DataLogger:          DISABLED\n"
              "Short Leq DataLogger:    A");
    EXPECT_EQ(page.Text(kLoggingRight),
              "Octave DataLogger:        DISABLED\nT.Octave DataLogger:     OFF\n"
              "FFT DataLogger:              OFF");
    EXPECT_TRUE(page.Text(kEvent).ends_with("Store Stat: ON\n\nTrig: OFF")) << page.Text(kEvent);
    host.current.m_strEventTrigger = "MAN";
    Activate();
    EXPECT_TRUE(page.Text(kEvent).ends_with("\n\nTrig: MAN\nSerial Notify: OFF"));

    // Without a report variant: two-line logging, no statistics parameter, no sections.
    Show("QS4160_00$1");
    EXPECT_EQ(page.Text(kLoggingLeft),
              "SLM DataLogger:            ON\nProfile DataLogger:          ON");
    EXPECT_EQ(page.Text(kLoggingRight),
              "Octave DataLogger:        ON\nT.Octave DataLogger:     OFF");
    EXPECT_EQ(page.Text(kStatistics).substr(0, 13), "Param: LAFp\n\n");
    EXPECT_EQ(page.Text(kReport) + page.Text(kEvent), "");
    EXPECT_FALSE(page.Controls().IsEnabled(kEventGroup));
}

TEST_F(CurrentSettingsTest, QS4060ReportModelsMarkTheStorageTheyCannotHave) {
    // "r": neither octaves nor third octaves; a level trigger spells it "Disabeld".
    Show("QS4060_r0$1");
    EXPECT_EQ(page.Text(kLogging), "SLM + PROFILE : ON");
    EXPECT_EQ(page.Text(kLoggingLeft) + page.Text(kLoggingRight), "");
    EXPECT_EQ(page.Text(kReport),
              "Report Interval: 10s\n\nPar1: Leq:A   Par2: Lpk:C\nPar3: LFmx:A   Par4: LE:A\n"
              "Par5: L1:\n\nStore Par1-5: ON\nStore Oct: Disabled\nStore TOct: Disabled\n"
              "Store Stat: OFF");
    EXPECT_EQ(page.Text(kEvent),
              "Par1: Leq:A   Par2: Lpk:Z\nPar3: LSmx:C   Par4: LImn:A\nPar5: LE:A\n\n"
              "Store Par1-5: ON\nStore Oct: Disabeld\nStore TOct: Disabeld\nStore Stat: ON\n\n"
              "Trig: LEV\nTrig.Pol: POS\nTrig On Lev: 80dB\nTrig Off Lev: 70dB\n"
              "Trig On time: 1s\nTrig Off Time: 2s\nSerial Notify: OFF");

    // "J": octaves but no third octaves; a manual trigger spells it "Disabled".
    Show("QS4060_J0$1");
    host.current.m_strEventTrigger = "MAN";
    Activate();
    EXPECT_TRUE(
        page.Text(kReport).ends_with("Store Oct: ON\nStore TOct: Disabled\nStore Stat: OFF"));
    EXPECT_TRUE(page.Text(kEvent).ends_with(
        "Store Oct: ON\nStore TOct: Disabled\nStore Stat: ON\n\nTrig: MAN\nSerial Notify: OFF"));

    // "n": every storage; no blank line before the store entries. An interval being switched
    // off and a trigger that is off empty the fields.
    Show("QS4060_n0$1");
    EXPECT_EQ(page.Text(kReport),
              "Report Interval: 10s\n\nPar1: Leq:A   Par2: Lpk:C\nPar3: LFmx:A   Par4: LE:A\n"
              "Par5: L1:\nStore Par1-5: ON\nStore Oct: ON\nStore TOct: ON\nStore Stat: OFF");
    host.edited.m_strReportTime = "OFF";
    host.current.m_strEventTrigger = "OFF";
    Activate();
    EXPECT_EQ(page.Text(kReport),
              "Report Interval: 10s\n\nPar1:    Par2: \nPar3:    Par4: \nPar5: \nStore Par1-5: \n"
              "Store Oct: \nStore TOct: \nStore Stat: ");
    EXPECT_EQ(page.Text(kEvent),
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
