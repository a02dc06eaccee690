#include "maintenance/electric_calibration.h"

#include <cmath>

#include "link/command_codes.h"
#include "link/meter_mode.h"
#include "maintenance/calibration_protocol.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace maintenance {

namespace {

using namespace command_code;
using meter::ProgramScreen;

struct RoutineRow {
    const char* title;
    int program;
    int startKey;
    const char* steps[5];  // one per phase before Finished
};

const RoutineRow kRoutines[] = {
    {"Electric Calibration",
     meter::kCalibrationProgram,
     kStartCalibrationKey,
     {"Read the instrument screen", "Start the electric calibration", "Calibration running",
      "Read Delta Leq", "Keep or discard the calibration"}},
    {"Diagnostic Test",
     meter::kDiagnosticProgram,
     kStartDiagnosticKey,
     {"Read the instrument screen", "Start the diagnostic test", "Test running",
      "Read the test result", "Leave the test"}},
    {"Frequency Check",
     meter::kFrequencyProgram,
     kStartFrequencyCheckKey,
     {"Read the instrument screen", "Start the frequency check", "Check running",
      "Read the measured frequency", "Leave the check"}},
};
constexpr int kRoutineCount = sizeof(kRoutines) / sizeof(kRoutines[0]);

const RoutineRow& RowOf(int routine) {
    return kRoutines[routine >= 0 && routine < kRoutineCount ? routine : 0];
}

std::string ShownDelta(const std::string& delta) {
    return delta.empty() ? std::string("-") : delta;
}

}  // namespace

std::string ElectricCalibration::Title(int routine) {
    return RowOf(routine).title;
}

std::vector<std::string> ElectricCalibration::StepTexts(int routine) {
    const RoutineRow& row = RowOf(routine);
    return std::vector<std::string>(std::begin(row.steps), std::end(row.steps));
}

int ElectricCalibration::Program() const {
    return RowOf(m_routine).program;
}

int ElectricCalibration::StartKey() const {
    return RowOf(m_routine).startKey;
}

void ElectricCalibration::Begin(int routine) {
    m_routine = routine >= 0 && routine < kRoutineCount ? routine : kElectricCalibration;
    m_phase = Phase::Screen;
    m_polls = 0;
    m_failedScreen = false;
    m_display.clear();
    m_printed.clear();
    m_outcome.clear();
    m_deltaLeq.clear();
}

void ElectricCalibration::Step() {
    switch (m_phase) {
        case Phase::Screen:
            StepScreen();
            return;
        case Phase::Starting:
        case Phase::Running:
            StepProgram();
            return;
        case Phase::Result:
            if (m_routine == kElectricCalibration)
                FinishCalibration();
            else
                FinishCheck();
            return;
        case Phase::Finished:
            return;
    }
}

void ElectricCalibration::StepScreen() {
    // A program someone left open on the meter is left first; the routine starts on the
    // measurement screen.
    if (meter::ShowsProgram(m_display)) {
        if (++m_polls > kMaxLeaveAttempts) {
            Finish("The instrument stays in another program.");
            return;
        }
        Send(kRightKey);
        Send(kDisplayQuery);
        return;
    }
    if (!IsSchedulerMode() && platform::AfxMessageBox("Start " + Title(m_routine) + " now ?",
                                                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
        Finish("Cancelled.");
        return;
    }
    m_phase = Phase::Starting;
    m_polls = 0;
    Send(StartKey());
    Send(kDisplayQuery);
}

void ElectricCalibration::StepProgram() {
    const auto screen = meter::ReadProgramScreen(m_display, Program());
    if (!screen) {
        // The program has not shown itself yet.
        if (m_phase == Phase::Starting && ++m_polls > kMaxStartPolls) {
            if (m_routine == kElectricCalibration && IsSchedulerMode()) {
                m_host.TellScheduler("WARNING: Calibration Failed", kSchedulerCalibrationEnded);
            }
            Finish("The instrument did not start the program.");
            return;
        }
        Send(kDisplayQuery);
        return;
    }
    if (*screen == ProgramScreen::Running) {
        m_phase = Phase::Running;
        Send(kDisplayQuery);
        return;
    }
    // The program's end: its value is read before the screen is looked at once more.
    m_failedScreen = *screen == ProgramScreen::Failed;
    m_phase = Phase::Result;
    m_printed.clear();
    Send(kPrintValueKey);
    Send(kDisplayQuery);
}

void ElectricCalibration::FinishCalibration() {
    const bool scheduler = IsSchedulerMode();
    m_deltaLeq = meter::PrintedValue(m_printed);
    m_mode.OnDeltaLeqRead(m_deltaLeq);
    const auto delta = meter::ReadNumber(m_deltaLeq);
    std::string outcome;
    std::string logLine;
    // A calibration whose deviation cannot be read is never kept.
    if (m_failedScreen || !delta) {
        Send(kRightKey);
        logLine = platform::Format("WARNING: Calibration Failed (Delta Leq = %s dB)",
                                   ShownDelta(m_deltaLeq).c_str());
        if (!scheduler)
            platform::AfxMessageBox(logLine, MB_ICONSTOP);
        outcome = "Calibration failed (Delta Leq = " + ShownDelta(m_deltaLeq) + " dB).";
    } else if (KeepCalibration(*delta, logLine)) {
        Send(kLeftKey);
        outcome = "Calibration kept (Delta Leq = " + m_deltaLeq + " dB).";
    } else {
        Send(kRightKey);
        outcome = "Calibration not kept (Delta Leq = " + m_deltaLeq + " dB).";
    }
    if (scheduler) {
        m_host.TellScheduler(logLine, kSchedulerCalibrationEnded);
    }
    Finish(outcome);
}

bool ElectricCalibration::KeepCalibration(double delta, std::string& logLine) {
    if (!IsSchedulerMode())
        return platform::AfxMessageBox("Electric calibration ended: Delta Leq = " + m_deltaLeq +
                                           " dB.\nKeep the new calibration ?",
                                       MB_YESNO | MB_ICONQUESTION) == IDYES;
    if (m_host.ConfirmMode() == SchedulerConfirm::Always) {
        logLine = platform::Format("Calibration end successfully (Delta Leq = %s dB)",
                                   m_deltaLeq.c_str());
        return true;
    }
    const std::string level = platform::Trim(m_host.CalibrationThreshold());
    if (std::fabs(delta) > std::fabs(platform::Atof(level))) {
        logLine =
            platform::Format("Calibration end successfully (Delta Leq = %s dB - Cal.Lev = %s dB)",
                             m_deltaLeq.c_str(), level.c_str());
        return true;
    }
    logLine =
        platform::Format("Calibration skipped by Cal. Level.(Delta Leq = %s dB - Cal.Lev = %s dB)",
                         m_deltaLeq.c_str(), level.c_str());
    return false;
}

void ElectricCalibration::FinishCheck() {
    Send(kRightKey);
    const std::string value = meter::PrintedText(m_printed);
    Finish((m_failedScreen ? "Failed: " : "Result: ") + (value.empty() ? "-" : value));
}

bool ElectricCalibration::IsSchedulerMode() const {
    return m_mode.IsSchedulerMode();
}

bool ElectricCalibration::TakesReplies() const {
    return m_mode.IsElectricCalRunning();
}

void ElectricCalibration::Abort() {
    if (m_phase == Phase::Starting || m_phase == Phase::Running || m_phase == Phase::Result)
        Send(kRightKey);
    if (m_phase != Phase::Finished)
        Finish("Cancelled.");
}

void ElectricCalibration::Finish(const std::string& outcome) {
    m_phase = Phase::Finished;
    m_outcome = outcome;
    // No more screens come to Step.
    m_mode.EndElectricCalibration();
}

}  // namespace maintenance
