#pragma once
// The guided routines of the meter's own programs, without their window: the electric
// calibration, the diagnostic test and the frequency check. Each is driven by the meter's
// screen: every display reply runs Step, which starts the program, follows its screens, reads
// its result with "KEY:PRN_VAL" and leaves it, keeping the result ("KEY:CLEFT") or not
// ("KEY:CRIGHT"). Everything it sends goes through the command queue.
//
// In scheduler mode nobody is asked: the scheduler's confirmation choice decides whether an
// electric calibration is kept, the outcome goes to the scheduler log and the scheduler's
// state becomes 11. The scheduler mode, the Delta Leq text and the end of the routine are the
// link's meter mode, which the routine reads and moves directly.

#include <string>
#include <utility>
#include <vector>

#include "link/follow_up.h"

class MeterMode;

namespace maintenance {

// The scheduler's "Confirm Calibration" choice.
enum class SchedulerConfirm { Always = 0, IfErrorExceeds = 1 };

// What the routines need of the scheduler.
class ElectricCalibHost {
public:
    virtual ~ElectricCalibHost() = default;
    // The scheduler's confirmation choice and its threshold text ("Cal. if error exceeds").
    virtual SchedulerConfirm ConfirmMode() = 0;
    virtual std::string CalibrationThreshold() = 0;
    // A calibration ended in scheduler mode: `logLine`, time-stamped, in the scheduler log, and
    // the scheduler's state `step`.
    virtual void TellScheduler(const std::string& logLine, int step) = 0;
};

class ElectricCalibration {
public:
    enum Routine { kElectricCalibration = 0, kDiagnosticTest = 1, kFrequencyCheck = 2 };
    // Where a routine is; also the index of the step its window marks.
    enum class Phase { Screen, Starting, Running, Result, Finished };
    // The scheduler's state once a calibration has ended.
    static constexpr int kSchedulerCalibrationEnded = 11;
    // Display replies without the started program's screen before the start counts as failed.
    static constexpr int kMaxStartPolls = 20;
    // Programs left open by someone else that the routine leaves before it starts its own.
    static constexpr int kMaxLeaveAttempts = 5;

    // Its commands go to the queue through `send` (the link session's Sender); `mode` is the
    // link's.
    ElectricCalibration(ElectricCalibHost& host, SendCommandFn send, MeterMode& mode)
        : m_host(host), m_send(std::move(send)), m_mode(mode) {}

    // Starts `routine` afresh (0 when out of range); the next display reply runs its first step.
    void Begin(int routine);
    int GetRoutine() const { return m_routine; }
    static std::string Title(int routine);
    static std::vector<std::string> StepTexts(int routine);

    // What the replies hand over (CElectricCalibrationDlg::TakeScreen, TakePrintedValue).
    void SetDisplayText(const std::string& text) { m_display = text; }
    void SetPrintedValue(const std::string& text) { m_printed = text; }
    const std::string& DisplayText() const { return m_display; }
    const std::string& PrintedValueText() const { return m_printed; }

    // One display reply has come.
    void Step();
    // The window ends the routine: a program the meter still runs is left without keeping
    // its result.
    void Abort();

    Phase GetPhase() const { return m_phase; }
    bool IsFinished() const { return m_phase == Phase::Finished; }
    // What the routine came to, as the window shows it; empty while it runs.
    const std::string& Outcome() const { return m_outcome; }
    // The Delta Leq text of an electric calibration's end; the mode keeps it too.
    const std::string& DeltaLeq() const { return m_deltaLeq; }
    // In scheduler mode nobody is asked.
    bool IsSchedulerMode() const;
    // The meter's screens and printed values come to the routine (the meter mode's electric
    // calibration runs): from its start until it finishes.
    bool TakesReplies() const;

private:
    int Program() const;
    int StartKey() const;
    void StepScreen();
    void StepProgram();
    void FinishCalibration();
    void FinishCheck();
    // Keeping the calibration: the scheduler's rule in scheduler mode, the operator otherwise.
    bool KeepCalibration(double delta, std::string& logLine);
    void Finish(const std::string& outcome);
    void Send(int code) { m_send(code, "", "", -1, FALSE); }

    ElectricCalibHost& m_host;
    SendCommandFn m_send;
    MeterMode& m_mode;
    int m_routine = kElectricCalibration;
    Phase m_phase = Phase::Finished;
    int m_polls = 0;
    bool m_failedScreen = false;
    std::string m_display;
    std::string m_printed;
    std::string m_outcome;
    std::string m_deltaLeq;
};

}  // namespace maintenance
