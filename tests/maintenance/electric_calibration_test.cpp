// The meter's guided programs driven screen by screen, with the screens and printed values of
// the shared calibration table: what goes to the meter, to the operator and to the scheduler.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/command_codes.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "maintenance/calibration_protocol.h"
#include "maintenance/electric_calibration.h"
#include "support/test_env.h"

namespace {

using namespace command_code;
using maintenance::ElectricCalibration;
using maintenance::SchedulerConfirm;
namespace meter = maintenance::meter;
using Screen = meter::ProgramScreen;

// Keeps what the routine told the scheduler, and the codes it queued.
class RecordingHost : public maintenance::ElectricCalibHost {
public:
    SchedulerConfirm ConfirmMode() override { return confirm; }
    std::string CalibrationThreshold() override { return threshold; }
    void TellScheduler(const std::string& text, int step) override {
        log.push_back(text);
        schedulerStep = step;
    }
    SendCommandFn Queue() {
        return [this](int code, const std::string&, const std::string&, int, BOOL) {
            sent.push_back(code);
        };
    }

    SchedulerConfirm confirm = SchedulerConfirm::Always;
    std::string threshold;
    std::vector<int> sent;
    std::vector<std::string> log;
    int schedulerStep = 0;
};

class ElectricCalibrationTest : public ::testing::Test {
protected:
    ElectricCalibrationTest() { Fresh(); }
    // A new host, and the mode as the program leaves it when it opens the routine's window.
    void Fresh() {
        host = RecordingHost();
        mode.LeaveSchedulerMode();
        mode.OnDeltaLeqRead("");
        mode.EndElectricCalibration();
        ASSERT_TRUE(mode.BeginElectricCalibration());
    }
    void Show(const std::string& display) {
        routine.SetDisplayText("STT:DISPL:" + display);
        routine.Step();
    }
    void ShowProgram(int program, Screen screen) {
        Show(meter::ProgramScreenText(program, screen));
    }
    // From the measurement screen to the program's end, whose value is `printed`.
    void RunToResult(int program, Screen end, const std::string& printed) {
        Show("Leq    45.2 dB");
        ShowProgram(program, Screen::Running);
        ShowProgram(program, end);
        routine.SetPrintedValue(printed);
        ShowProgram(program, end);
    }

    testenv::TestOperator op;
    RecordingHost host;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    ElectricCalibration routine{host, host.Queue(), mode};
};

TEST_F(ElectricCalibrationTest, TheOperatorStartsAndKeepsACalibration) {
    routine.Begin(ElectricCalibration::kElectricCalibration);
    op.ExpectBox("Start Electric Calibration now ?", IDYES);
    op.ExpectBox("Delta Leq = -0.4 dB.\nKeep the new calibration ?", IDYES);
    RunToResult(meter::kCalibrationProgram, Screen::Ended, meter::PrintedValueReply("-0.4", "dB"));

    EXPECT_EQ(host.sent, (std::vector<int>{kStartCalibrationKey, kDisplayQuery, kDisplayQuery,
                                           kPrintValueKey, kDisplayQuery, kLeftKey}));
    EXPECT_TRUE(routine.IsFinished());
    EXPECT_FALSE(mode.IsElectricCalRunning());
    EXPECT_EQ(mode.DeltaLeq(), "-0.4");
    EXPECT_EQ(routine.Outcome(), "Calibration kept (Delta Leq = -0.4 dB).");
    // Outside scheduler mode the scheduler hears nothing.
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.schedulerStep, 0);

    // Nothing moves once it is over.
    routine.Step();
    routine.Abort();
    EXPECT_EQ(host.sent.size(), 6u);
}

TEST_F(ElectricCalibrationTest, DeclinedQuestionsStartNothingOrKeepNothing) {
    routine.Begin(ElectricCalibration::kElectricCalibration);
    op.ExpectBox("Start Electric Calibration now ?", IDNO);
    Show("Leq    45.2 dB");
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(routine.Outcome(), "Cancelled.");

    host.sent.clear();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    op.ExpectBox("Start Electric", IDYES);
    op.ExpectBox("Keep the new calibration ?", IDNO);
    RunToResult(meter::kCalibrationProgram, Screen::Ended, meter::PrintedValueReply("0.2", "dB"));
    EXPECT_EQ(host.sent.back(), kRightKey);
}

TEST_F(ElectricCalibrationTest, SchedulerModeAsksNothingAndFollowsTheConfirmChoice) {
    mode.EnterSchedulerMode();
    struct Case {
        SchedulerConfirm confirm;
        const char* threshold;
        const char* delta;
        int key;
        const char* line;
    };
    const Case cases[] = {
        {SchedulerConfirm::Always, "", "0.1", kLeftKey,
         "Calibration end successfully (Delta Leq = 0.1 dB)"},
        {SchedulerConfirm::IfErrorExceeds, " 0.5 ", "-0.6", kLeftKey,
         "Calibration end successfully (Delta Leq = -0.6 dB - Cal.Lev = 0.5 dB)"},
        // The threshold's sign does not count, and reaching it is not exceeding it.
        {SchedulerConfirm::IfErrorExceeds, "-0.5", "0.5", kRightKey,
         "Calibration skipped by Cal. Level.(Delta Leq = 0.5 dB - Cal.Lev = -0.5 dB)"},
        {SchedulerConfirm::IfErrorExceeds, "0.5", "0.3", kRightKey,
         "Calibration skipped by Cal. Level.(Delta Leq = 0.3 dB - Cal.Lev = 0.5 dB)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Fresh();
        mode.EnterSchedulerMode();
        host.confirm = c.confirm;
        host.threshold = c.threshold;
        routine.Begin(ElectricCalibration::kElectricCalibration);
        RunToResult(meter::kCalibrationProgram, Screen::Ended,
                    meter::PrintedValueReply(c.delta, "dB"));
        EXPECT_EQ(host.sent.back(), c.key);
        EXPECT_EQ(host.log, std::vector<std::string>{c.line});
        EXPECT_EQ(host.schedulerStep, ElectricCalibration::kSchedulerCalibrationEnded);
        EXPECT_EQ(mode.DeltaLeq(), c.delta);
        EXPECT_FALSE(mode.IsElectricCalRunning());
    }
}

TEST_F(ElectricCalibrationTest, AFailedOrUnreadableCalibrationIsNeverKept) {
    mode.EnterSchedulerMode();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    RunToResult(meter::kCalibrationProgram, Screen::Failed, meter::PrintedValueReply("2.1", "dB"));
    EXPECT_EQ(host.sent.back(), kRightKey);
    EXPECT_EQ(host.log,
              std::vector<std::string>{"WARNING: Calibration Failed (Delta Leq = 2.1 dB)"});
    EXPECT_EQ(host.schedulerStep, ElectricCalibration::kSchedulerCalibrationEnded);

    // A garbled value, even with "Cal. always".
    Fresh();
    mode.EnterSchedulerMode();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    RunToResult(meter::kCalibrationProgram, Screen::Ended, "PRN_VAL: ### dB");
    EXPECT_EQ(host.sent.back(), kRightKey);
    EXPECT_EQ(host.log,
              std::vector<std::string>{"WARNING: Calibration Failed (Delta Leq = ### dB)"});

    // Outside scheduler mode the operator is told.
    Fresh();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    op.ExpectBox("Start Electric", IDYES);
    op.ExpectBox("WARNING: Calibration Failed (Delta Leq = - dB)");
    RunToResult(meter::kCalibrationProgram, Screen::Failed, "");
    EXPECT_TRUE(host.log.empty());
}

TEST_F(ElectricCalibrationTest, AProgramLeftOpenIsLeftFirstAndAStartThatNeverShowsEnds) {
    mode.EnterSchedulerMode();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    ShowProgram(meter::kDiagnosticProgram, Screen::Ended);
    EXPECT_EQ(host.sent, (std::vector<int>{kRightKey, kDisplayQuery}));

    host.sent.clear();
    Show("Leq    45.2 dB");
    ASSERT_EQ(host.sent.front(), kStartCalibrationKey);
    for (int poll = 0; poll < ElectricCalibration::kMaxStartPolls; ++poll)
        Show("Leq    45.2 dB");
    EXPECT_FALSE(routine.IsFinished());
    Show("Leq    45.2 dB");
    EXPECT_TRUE(routine.IsFinished());
    EXPECT_EQ(host.log, std::vector<std::string>{"WARNING: Calibration Failed"});
    EXPECT_EQ(host.schedulerStep, ElectricCalibration::kSchedulerCalibrationEnded);

    // A meter stuck in another program is not fought for ever.
    Fresh();
    mode.EnterSchedulerMode();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    for (int attempt = 0; attempt <= ElectricCalibration::kMaxLeaveAttempts; ++attempt)
        ShowProgram(meter::kFrequencyProgram, Screen::Running);
    EXPECT_TRUE(routine.IsFinished());
    EXPECT_EQ(std::count(host.sent.begin(), host.sent.end(), kRightKey),
              ElectricCalibration::kMaxLeaveAttempts);
}

TEST_F(ElectricCalibrationTest, TheTestAndTheCheckShowTheirResultAndLeaveTheProgram) {
    struct Case {
        int routine;
        int program;
        int startKey;
        const char* title;
    };
    for (const Case c : {Case{ElectricCalibration::kDiagnosticTest, meter::kDiagnosticProgram,
                              kStartDiagnosticKey, "Diagnostic Test"},
                         Case{ElectricCalibration::kFrequencyCheck, meter::kFrequencyProgram,
                              kStartFrequencyCheckKey, "Frequency Check"}}) {
        SCOPED_TRACE(c.title);
        Fresh();
        routine.Begin(c.routine);
        EXPECT_EQ(ElectricCalibration::Title(routine.GetRoutine()), c.title);
        op.ExpectBox(std::string("Start ") + c.title + " now ?", IDYES);
        RunToResult(c.program, Screen::Ended, meter::PrintedValueReply("1000.0", "Hz"));
        EXPECT_EQ(host.sent.front(), c.startKey);
        EXPECT_EQ(host.sent.back(), kRightKey);
        EXPECT_EQ(routine.Outcome(), "Result: 1000.0 Hz");
        EXPECT_TRUE(mode.DeltaLeq().empty());
    }
    // An unknown routine is the electric calibration.
    routine.Begin(7);
    EXPECT_EQ(routine.GetRoutine(), ElectricCalibration::kElectricCalibration);
}

TEST_F(ElectricCalibrationTest, CancellingARunningProgramLeavesItWithoutKeepingIt) {
    mode.EnterSchedulerMode();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    Show("Leq    45.2 dB");
    ShowProgram(meter::kCalibrationProgram, Screen::Running);
    host.sent.clear();
    routine.Abort();
    EXPECT_EQ(host.sent, std::vector<int>{kRightKey});
    EXPECT_EQ(routine.Outcome(), "Cancelled.");
    EXPECT_FALSE(mode.IsElectricCalRunning());
    // Before the start nothing needs leaving.
    host.sent.clear();
    routine.Begin(ElectricCalibration::kElectricCalibration);
    routine.Abort();
    EXPECT_TRUE(host.sent.empty());
}

TEST(CalibrationTableTest, ScreensAndValuesReadBackAsWritten) {
    for (const int program :
         {meter::kCalibrationProgram, meter::kDiagnosticProgram, meter::kFrequencyProgram})
        for (const Screen screen : {Screen::Running, Screen::Ended, Screen::Failed}) {
            const std::string display = "STT:DISPL:" + meter::ProgramScreenText(program, screen);
            EXPECT_EQ(meter::ReadProgramScreen(display, program), screen) << display;
            EXPECT_TRUE(meter::ShowsProgram(display));
        }
    // Program 1's label is no part of program 10's.
    EXPECT_EQ(meter::ReadProgramScreen("STT:DISPL:PROGRAM:10 END", 1), std::nullopt);
    EXPECT_FALSE(meter::ShowsProgram("STT:DISPL:Leq    45.2 dB"));

    EXPECT_EQ(meter::PrintedValue(meter::PrintedValueReply("94.1", "dB(A)")), "94.1");
    EXPECT_EQ(meter::PrintedText(meter::PrintedValueReply("PASS", "")), "PASS");
    EXPECT_EQ(meter::ReadNumber(" -0.35 "), -0.35);
    for (const char* text : {"", "abc", "1.2.3", "94,1", "nan", "inf", "1e999", "12 dB"})
        EXPECT_EQ(meter::ReadNumber(text), std::nullopt) << text;
}

}  // namespace
