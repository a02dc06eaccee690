// The scheduler's form by model preset, its coupling rules, and every message START refuses a
// plan with, in START's order; the records an acquisition brings and the calibration clash.
#include <gtest/gtest.h>

#include <functional>

#include "acquisition/schedule_checks.h"
#include "acquisition/scheduler_form.h"
#include "platform/win_types.h"
#include "support/record_kinds.h"

using namespace acquisition;
using namespace acquisition::scheduler_ids;
using platform::DateTime;

namespace {

DateTime At(int hour, int minute, int second = 0, int day = 9) {
    return DateTime::FromParts(2024, 3, day, hour, minute, second);
}

struct PresetForm {
    const char* model;
    bool prof, oct, toct, dataLogging, stopAtPause;
};

}  // namespace

TEST(SchedulerForm, EachModelPresetOpensWithItsChannelsAndOptions) {
    const PresetForm presets[] = {
        {"QS4060_00$1", true, true, true, true, true},
        {"QS4060_n0$1", true, true, true, true, true},
        {"QS4060_r1$1", true, false, false, true, true},
        {"QS4060_q0$1", true, false, false, true, true},
        {"QS4060_p0$1", false, false, false, false, false},
        {"QS4060_J0$2", true, true, false, true, true},
        {"QS4160_00$1", true, true, true, true, true},
        {"QS4160_L0$1", true, true, true, true, true},
    };
    for (const PresetForm& preset : presets) {
        SCOPED_TRACE(preset.model);
        SchedulerForm form;
        form.Initialise(At(10, 15, 30), preset.model);
        EXPECT_TRUE(form.IsEnabled(kSlmRadio));
        EXPECT_EQ(form.IsEnabled(kProfRadio), preset.prof);
        EXPECT_EQ(form.IsEnabled(kOctRadio), preset.oct);
        EXPECT_EQ(form.IsEnabled(kToctRadio), preset.toct);
        EXPECT_EQ(form.IsEnabled(kDataLogging), preset.dataLogging);
        EXPECT_EQ(form.IsEnabled(kStopAtPause), preset.stopAtPause);
        EXPECT_EQ(form.Settings().stopAtPause, preset.stopAtPause);

        const ScheduleSettings& settings = form.Settings();
        EXPECT_EQ(settings.channel, std::nullopt);
        EXPECT_TRUE(settings.continuous);
        EXPECT_FALSE(settings.acquisitionTime);
        EXPECT_FALSE(settings.repetitionTime);
        EXPECT_FALSE(form.IsEnabled(kAcquisitionTime));
        EXPECT_FALSE(form.IsEnabled(kRepetitionTime));
        EXPECT_TRUE(settings.calDisabled);
        EXPECT_EQ(settings.confirmMode, kCalAlways);
        EXPECT_FALSE(form.IsEnabled(kThreshold));
        EXPECT_FALSE(form.IsEnabled(kDownload));
        EXPECT_TRUE(form.IsEnabled(kStart));
        EXPECT_FALSE(form.IsEnabled(kStop));
        EXPECT_EQ(settings.calibrationInterval, 10 * 3600 + 15 * 60 + 30);

        // A run leaves the form as it found it, the model's gaps included, but for the
        // controls that wait for the window to open again.
        form.ShowRunning();
        EXPECT_FALSE(form.IsEnabled(kSlmRadio));
        EXPECT_FALSE(form.IsEnabled(kStart));
        EXPECT_TRUE(form.IsEnabled(kStop));
        form.ShowStopped(preset.model);
        EXPECT_TRUE(form.IsEnabled(kSlmRadio));
        EXPECT_EQ(form.IsEnabled(kOctRadio), preset.oct);
        EXPECT_EQ(form.IsEnabled(kProfRadio), preset.prof);
        EXPECT_FALSE(form.IsEnabled(kContinuous));
        EXPECT_FALSE(form.IsEnabled(kCalAlwaysRadio));
        EXPECT_TRUE(form.IsEnabled(kStart));
        EXPECT_FALSE(form.IsEnabled(kStop));
    }
}

TEST(SchedulerForm, TheStartPresetFollowsTheClockAroundTheFullHour) {
    struct Case {
        DateTime now, start, stop;
    };
    const Case cases[] = {
        {At(10, 15, 30), At(10, 17), At(10, 18)}, {At(10, 57, 5), At(10, 59), At(11, 0)},
        {At(10, 58, 0), At(11, 0), At(11, 0)},    {At(10, 59, 59), At(11, 0), At(11, 0)},
        {At(23, 58, 40), At(23, 58), At(23, 58)}, {At(23, 59, 1), At(23, 59), At(23, 59)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now.Format("%H:%M:%S"));
        const PresetTimes preset = InitialTimes(c.now);
        EXPECT_EQ(preset.start.Seconds(), c.start.Seconds());
        EXPECT_EQ(preset.stop.Seconds(), c.stop.Seconds());
    }
}

TEST(SchedulerForm, ChecksCoupleAsTheOperatorClicksThem) {
    SchedulerForm form;
    form.Initialise(At(10, 0), "QS4160_00$1");
    ScheduleSettings& settings = form.Settings();

    settings.continuous = false;
    form.OnContinuousAcquisition();
    EXPECT_EQ(settings.acquisitionTime, 120);
    EXPECT_EQ(settings.repetitionTime, 180);
    EXPECT_TRUE(form.IsEnabled(kAcquisitionTime));

    settings.calDisabled = false;
    form.OnCalDisabled();
    EXPECT_TRUE(form.IsEnabled(kCalBefore));
    settings.calBefore = settings.calAtDate = true;
    form.OnCalAtDate();
    EXPECT_TRUE(form.IsEnabled(kCalInterval));
    settings.calDisabled = true;
    form.OnCalDisabled();
    EXPECT_FALSE(settings.calBefore);
    EXPECT_FALSE(settings.calAtDate);
    EXPECT_FALSE(form.IsEnabled(kCalAtDate));
    EXPECT_FALSE(form.IsEnabled(kCalDate));
    EXPECT_FALSE(form.IsEnabled(kCalIntervalLabel));

    settings.confirmMode = kCalIfErrorExceeds;
    form.OnConfirmMode();
    EXPECT_TRUE(form.IsEnabled(kThreshold));

    settings.powerOffAtPause = true;
    settings.stopAtPause = false;
    form.OnPowerOffAtPause();
    EXPECT_TRUE(settings.stopAtPause);
    settings.stopAtPause = false;
    form.OnStopAtPause();
    EXPECT_FALSE(settings.powerOffAtPause);

    settings.continuous = true;
    form.OnContinuousAcquisition();
    EXPECT_FALSE(settings.acquisitionTime);
    EXPECT_FALSE(form.IsEnabled(kRepetitionTime));
}

namespace {

class StartChecks : public ::testing::Test {
protected:
    StartChecks() {
        settings.channel = testkinds::kSoundLevelMeter;
        settings.start = At(10, 5);
        settings.stop = At(12, 0);
        settings.calibration = At(11, 0);
        settings.acquisitionTime = 120;
        settings.repetitionTime = 600;
        settings.calibrationInterval = 3600;
        settings.calDisabled = true;
        setup.model = "QS4160_00$1";
        setup.spectrumTime = "0.5s";
        setup.integrationTime = "SS:10";
        setup.editedReportTime = "60";
        setup.editedIntegrationMode = "SINGLE";
        setup.editedProfileTime = "0.125s";
        setup.editedSpectrumTime = "0.5s";
    }

    std::optional<StartRefusal> Check() {
        return CheckStart(settings, ComposeTimes(settings, link), setup, link, now);
    }
    std::string Refusal() {
        const auto refusal = Check();
        return refusal ? refusal->text : std::string("accepted");
    }

    DateTime now = At(10, 0);
    ScheduleSettings settings;
    StartSetup setup;
    StartLink link{38400, false};
};

std::string TooLow(const std::string& channel, int rate) {
    return "ERROR: Instrument Baudrate is too low for a correct " + channel +
           " Monitoring.\nPlease select " + std::to_string(rate) + " baud at least";
}

}  // namespace

TEST_F(StartChecks, ThePlanOfTheFixtureIsAccepted) {
    EXPECT_EQ(Refusal(), "accepted");
    settings.continuous = true;
    EXPECT_EQ(Refusal(), "accepted");
}

TEST_F(StartChecks, NoChannelIsAWarningAndComesFirst) {
    settings.channel = std::nullopt;
    link.baudRate = 300;
    const auto refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "Please select channel to monitor.");
    EXPECT_EQ(refusal->type, MB_ICONEXCLAMATION);
}

TEST_F(StartChecks, EachChannelNeedsItsBaudRate) {
    struct Case {
        records::RecordKind channel;
        const char* spectrumTime;
        int baud;
        std::string message;
    };
    const Case cases[] = {
        {testkinds::kSoundLevelMeter, "0.5s", 600, TooLow("SLM", 1200)},
        {testkinds::kSoundLevelMeter, "0.5s", 1200, "accepted"},
        {testkinds::kProfile, "0.5s", 600, TooLow("PROFILE", 1200)},
        {testkinds::kOctave, "2s", 600, TooLow("OCTAVE", 1200)},
        {testkinds::kOctave, "0.5s", 4800, TooLow("OCTAVE", 9600)},
        {testkinds::kOctave, "1s", 2400, TooLow("OCTAVE", 4800)},
        {testkinds::kOctave, "1s", 4800, "accepted"},
        {testkinds::kThirdOctave, "2s", 600, TooLow("THIRD OCTAVE", 1200)},
        {testkinds::kThirdOctave, "0.5s", 9600, TooLow(" THIRDOCTAVE", 19200)},
        {testkinds::kThirdOctave, "0.5s", 19200, "accepted"},
        {testkinds::kThirdOctave, "1s", 4800, TooLow("THIRD OCTAVE", 9600)},
        {testkinds::kThirdOctave, "2s", 2400, TooLow("THIRD OCTAVE", 4800)},
        {testkinds::kThirdOctave, "2s", 4800, "accepted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.channel->name) + " " + c.spectrumTime + " " +
                     std::to_string(c.baud));
        settings.channel = c.channel;
        setup.spectrumTime = setup.editedSpectrumTime = c.spectrumTime;
        link.baudRate = c.baud;
        // A slow link is connected three minutes ahead.
        settings.start = At(10, 5);
        EXPECT_EQ(Refusal(), c.message);
        const auto refusal = Check();
        if (refusal) {
            EXPECT_EQ(refusal->type, MB_ICONSTOP);
        }
    }
}

TEST_F(StartChecks, CalibrationsNeedTheirTimeBeforeAndBetweenAcquisitions) {
    settings.calDisabled = false;
    settings.calBefore = true;
    settings.start = At(10, 2, 59);
    EXPECT_EQ(Refusal(),
              "ERROR:\nCurrent time + Connection Time + Calibration time  > Start Time.\nPlease "
              "increase Start time.");
    settings.start = At(10, 3);
    EXPECT_EQ(Refusal(), "accepted");

    // 2-minute acquisitions every 3 minutes leave 1 minute: less than 1 + 2.
    settings.acquisitionTime = 120;
    settings.repetitionTime = 180;
    settings.calBefore = false;
    settings.calAfter = true;
    EXPECT_EQ(Refusal(),
              "ERROR:\nNo monitoring time < Connection time + Calib time.\nPlease increase "
              "Repetition Time (6 min at minimum).");
    // 4 minutes between acquisitions: enough for one calibration, not for two (1 + 4).
    settings.repetitionTime = 360;
    EXPECT_EQ(Refusal(), "accepted");
    settings.calBefore = true;
    EXPECT_EQ(Refusal(),
              "ERROR:\nNo monitoring time < Connection time + 2 * Calib time.\nPlease increase "
              "Repetition Time.");
    // Continuous acquisitions have no time between them to check.
    settings.continuous = true;
    EXPECT_EQ(Refusal(), "accepted");
}

TEST_F(StartChecks, ACalibrationAtDateMayNotFallIntoAnAcquisition) {
    settings.calDisabled = false;
    settings.calAtDate = true;
    settings.calibration = At(9, 59);
    EXPECT_EQ(Refusal(),
              "ERROR:\nCurrent time > Start Calibration time.\nPlease increase Calibration Date.");

    // Acquisitions 10:05-10:07, 10:15-10:17, ... until 12:00.
    settings.calibration = At(10, 15, 0);
    EXPECT_EQ(Refusal(), "ERROR:\nStart Calibration date is inside Monitor time.");
    settings.calibration = At(10, 13, 30);
    EXPECT_EQ(Refusal(), "ERROR:\nCalibration operation is inside monitor time.");
    settings.calibration = At(10, 9, 0);
    settings.calibrationInterval = 3600;
    EXPECT_EQ(Refusal(), "accepted");
    // The second calibration, an hour later, falls on 11:09, outside; every 7 minutes the
    // one at 10:16 does not.
    settings.calibrationInterval = 7 * 60;
    EXPECT_EQ(Refusal(), "ERROR:\nStart Calibration date is inside Monitor time.");
    // Continuous acquisitions are not compared.
    settings.continuous = true;
    EXPECT_EQ(Refusal(), "accepted");
}

TEST_F(StartChecks, TheClashSearchEndsWhateverTheSpans) {
    ScheduleTimes times;
    times.nextStart = At(10, 5);
    times.stop = DateTime::FromParts(2100, 1, 1);
    times.calDate = At(11, 0);
    times.acqSpan = 0;
    times.repSpan = 0;
    times.calInterval = 0;
    EXPECT_EQ(FindCalibrationClash(times), CalibrationClash::None);
    times.acqSpan = 60;
    times.repSpan = 120;
    times.calInterval = 0;
    times.calDate = At(11, 1, 30);
    EXPECT_EQ(FindCalibrationClash(times), CalibrationClash::StartInside);
    // A calibration every second of a long plan whose acquisitions it always misses: the
    // search looks at kMaxCheckedAcquisitions of them and ends (a search without its bound
    // would run into the suite's time-out).
    times.acqSpan = 0;
    times.repSpan = 2;
    times.calSpan = 2;
    times.calDate = At(10, 5, 1);
    times.calInterval = 2;
    EXPECT_EQ(FindCalibrationClash(times), CalibrationClash::None);
}

TEST_F(StartChecks, StartStopAndIntervalsAreCheckedInOrder) {
    settings.start = At(10, 0, 59);
    EXPECT_EQ(Refusal(),
              "ERROR:\nCurrent time + Connection time > Start time.\nPlease increase Start Time.");
    settings.start = At(10, 2);
    link.modem = true;
    EXPECT_EQ(Refusal(),
              "ERROR:\nCurrent time + Connection time > Start time.\nPlease increase Start Time.");
    link.modem = false;
    EXPECT_EQ(Refusal(), "accepted");

    settings.stop = At(10, 1);
    EXPECT_EQ(Refusal(), "ERROR:\nStop time < start time.");
    settings.stop = At(12, 0);

    settings.acquisitionTime = 600;
    EXPECT_EQ(Refusal(), "WARNING:\nAcquisition time > Interval time.\nMonitoring is continue.");
    EXPECT_EQ(Check()->type, MB_ICONSTOP);
    settings.acquisitionTime = 60;
    settings.repetitionTime = 119;
    EXPECT_EQ(Refusal(), "ERROR: Repetition Time < 2 min.\nPlease increase it.");
    settings.repetitionTime = 120;
    EXPECT_EQ(Refusal(), "accepted");
    settings.acquisitionTime = 0;
    EXPECT_EQ(Refusal(), "ERROR:\nAcquisition time = 0.");
    // A zero repetition is always refused earlier, by one of the two checks before.
    settings.repetitionTime = 0;
    EXPECT_EQ(Refusal(), "WARNING:\nAcquisition time > Interval time.\nMonitoring is continue.");
}

TEST_F(StartChecks, ASingleIntegrationShorterThanAnAcquisitionIsRefused) {
    const std::string refused =
        "WARNING: Integration mode SINGLE.\nIntegration time < Acq. time.\nMonitior not allowed";
    setup.editedReportTime = "OFF";
    setup.integrationTime = "SS:60";
    EXPECT_EQ(Refusal(), refused);
    setup.integrationTime = "MM:05";
    EXPECT_EQ(Refusal(), "accepted");
    setup.integrationTime = "HH:00";
    EXPECT_EQ(Refusal(), "accepted");
    setup.integrationTime = "SS:60";
    setup.editedIntegrationMode = "MULTI";
    EXPECT_EQ(Refusal(), "accepted");
}

TEST_F(StartChecks, AnAcquisitionWithoutARecordIsRefusedBeforeAnythingStarts) {
    settings.channel = testkinds::kProfile;
    setup.editedProfileTime = "1m";
    settings.acquisitionTime = 30;
    const auto refusal = Check();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text,
              "ERROR:\nScheduler Acquisition time < Instrument Acquisition time.\nNo data will be "
              "Monitoring.");
    EXPECT_EQ(refusal->type, MB_OK);
    // A profile time that is no number brings no record either.
    setup.editedProfileTime = "";
    settings.acquisitionTime = 120;
    EXPECT_TRUE(Check());
}

TEST(ExpectedRecords, EachChannelCountsItsSamplesPerAcquisition) {
    EXPECT_EQ(ExpectedRecords(testkinds::kSoundLevelMeter, 10, "", ""), 21);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 10, "0.125s", ""), 84);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 10, "0.25s", ""), 42);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 10, "0.5s", ""), 21);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 90, "1m", ""), 1);
    EXPECT_EQ(ExpectedRecords(testkinds::kOctave, 10, "", "0.5s"), 21);
    EXPECT_EQ(ExpectedRecords(testkinds::kThirdOctave, 10, "", "1s"), 10);
    EXPECT_EQ(ExpectedRecords(testkinds::kThirdOctave, 3, "", "2s"), 1);
    EXPECT_EQ(ExpectedRecords(testkinds::kOctave, 1800, "", "1h"), 0);
    EXPECT_EQ(ExpectedRecords(testkinds::kSoundLevelMeter, std::nullopt, "", ""), -1);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 10, "-1", ""), 0);
}

TEST(IntegrationTime, TheValueReadsAsTextAndSeconds) {
    EXPECT_EQ(IntegrationTimeText("SS:10"), "10 s");
    EXPECT_EQ(IntegrationTimeText("MM:05"), "05 m");
    EXPECT_EQ(IntegrationTimeText("HH:01"), "01 h");
    EXPECT_EQ(IntegrationSeconds("SS:10"), 10);
    EXPECT_EQ(IntegrationSeconds("MM:05"), 300);
    EXPECT_EQ(IntegrationSeconds("HH:01"), 3600);
    EXPECT_EQ(IntegrationSeconds("-1"), 0);
}
