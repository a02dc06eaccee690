#pragma once
// The microphone replacement's calibration, without its window. The new microphone is on the
// meter, which sits in the acoustic calibrator at 94 dB: the wizard reads the protection code,
// both channels' gains, the electric-calibration reference and the level the meter measures,
// moves both gains by what the level misses, gives the meter the new microphone's serial
// number and has it store the calibration (FAB with the protection code). It then reads the
// new electric-calibration reference and records the replacement on the web service.
//
// Everything goes through the command queue; the calibration replies (calibration_replies.h)
// hand the replies' texts over and call NextStep, setting the step itself to kElectricRead for
// the reply of the new reference, and tell which of its writes the meter answered. A meter
// that stops answering, or refuses one of its commands, ends the replacement with what it
// confirmed (OnCommandLost): a write it did not answer may still have been taken, one it
// refused was not. "Annulla" during the writes takes those not yet sent off the queue, writes
// back the values the meter may have taken and stores them.

#include <string>
#include <utility>
#include <vector>

#include "link/follow_up.h"

class InstrLog;
namespace web {
class WebClient;
}

namespace maintenance {

class MicReplacement {
public:
    enum Step {
        kEnterMicrophone = 0,  // the operator gives the new microphone's serial number
        kMeasuring = 1,        // readings queued; the level's reply ends them
        kConfirmGain = 2,      // the operator confirms the new gains
        kWriting = 3,          // gains, serial number and the store queued
        kElectricRead = 8,     // set by the reply of the new electric-calibration reading
        kStored = 11,          // the meter answered the store
        kReadingElectric = 12,
        kRestoring = 13,  // cancelled while writing: the values it had are being written back
        kDone = 20,
        kFailed = 21,
        kCancelled = 22,
    };
    // How the link gave up one of the wizard's commands.
    enum class Loss {
        kUnanswered,   // silent through all its resends
        kRefused,      // refused each time: a write was not taken
        kEmptyAnswer,  // answered with nothing each time: like silence
    };
    // A level further than this from the calibrator's is no microphone to calibrate to (the
    // calibrator is off, or the microphone is not seated): nothing is written.
    static constexpr double kMaxCorrectionDb = 5.0;
    // The server log the replacements are recorded in.
    static constexpr const char* kLogFileName = "target_instr_mic_sobst.txt";

    // Commands go to the queue through `send` and are taken off it, unsent, through `withdraw`
    // (the link session's Sender and Withdrawer); the replacement is recorded on the web
    // service through `web` and in the instrument log.
    MicReplacement(SendCommandFn send, WithdrawCommandFn withdraw, web::WebClient& web,
                   InstrLog& log)
        : m_send(std::move(send)), m_withdraw(std::move(withdraw)), m_web(web), m_log(log) {}

    // Starts afresh for the technician record ("code;lab1;...;lab6;name;serial");
    // `micSerialBefore` is the serial number of the microphone the meter had, as it gave it
    // before the replacement (empty when not known), which "Annulla" writes back.
    void Begin(const std::string& technicianRecord, const std::string& micSerialBefore);
    const std::string& TechnicianRecord() const { return m_record; }

    // What the calibration replies hand over.
    void SetChannelGain(int channel, const std::string& text);
    void SetElectricCal(const std::string& text) { m_electricCal = text; }
    void SetProtectionCode(const std::string& text) { m_protectionCode = text; }
    void SetLevel(const std::string& text) { m_level = text; }
    void SetStep(int step) { m_step = step; }
    // A reply that ends a step has come.
    void NextStep();
    // The meter answered the write `code` with first argument `arg1` (a gain, the serial
    // number, the store): the store's answer moves on to reading the new electric-calibration
    // reference, the last answer while restoring ends the cancelled replacement.
    void OnWriteAnswered(int code, const std::string& arg1);
    // Whether a command of `code` is one the wizard now waits on the meter for.
    bool AwaitsReplyTo(int code) const;
    // That command, `code` with first argument `arg1`, was given up: the replacement ends,
    // telling how and which writes the meter confirmed.
    void OnCommandLost(int code, const std::string& arg1, Loss loss);

    // The operator's "Avanti" on the pages that wait for them. False, with Message() telling
    // why, when the page's entry is refused.
    bool Next(const std::string& microphoneSerial = std::string());
    // The operator's "Annulla": writes not yet sent are taken off the queue, the values already
    // sent are written back and stored, and the wizard waits for the meter to confirm that
    // (kRestoring; "Annulla" then waits with it).
    void Cancel();

    int GetStep() const { return m_step; }
    bool WaitsForOperator() const { return m_step == kEnterMicrophone || m_step == kConfirmGain; }
    bool IsOver() const { return m_step == kDone || m_step == kFailed || m_step == kCancelled; }
    // What the page shows: instructions, readings, the outcome.
    const std::string& Message() const { return m_message; }
    const std::string& Level() const { return m_level; }
    const std::string& OldGain(int channel) const { return m_oldGain[channel ? 1 : 0]; }
    const std::string& NewGain(int channel) const { return m_newGain[channel ? 1 : 0]; }
    const std::string& MicrophoneSerial() const { return m_micSerial; }
    // The line recorded on the server.
    std::string RecordText() const;

private:
    // A write queued and what became of it, in the order queued.
    struct SentWrite {
        enum class Fate {
            kQueued,     // sent, or still to go
            kAnswered,   // the meter confirmed it
            kWithdrawn,  // taken off the queue before it went out
        };
        int code;
        std::string arg1;
        std::string arg2;
        std::string what;  // as the operator is told it
        Fate fate = Fate::kQueued;
    };

    void Measure();
    void EvaluateLevel();
    void WriteCalibration();
    void Record();
    void Fail(const std::string& why);
    // "Annulla" while writing: what went out is written back, and stored.
    void Restore();
    // Whether the write `code` with `arg1` of the new calibration may have reached the meter.
    bool WentOut(int code, const std::string& arg1) const;
    // The meter confirmed everything written back.
    void EndRestored();
    // Tells the operator, and the instrument log, that the replacement was cancelled.
    void EndCancelled(const std::string& message, unsigned icon, const std::string& logLine);
    // The writes the meter confirmed, those it left unanswered up to the `lost`-th, which it
    // may have taken, and those not done: never sent after it, or refused with it.
    std::string WritesReport(size_t lost, Loss loss) const;
    // The lines naming the values that could not be written back, and the writes taken off the
    // queue; each empty when there are none.
    std::string NotRestoredLine() const;
    std::string WithdrawnLine() const;
    void Write(int code, const std::string& arg1, const std::string& arg2, std::string what) {
        m_writes.push_back({code, arg1, arg2, std::move(what)});
        Send(code, arg1, arg2);
    }
    void Send(int code, const std::string& arg1 = std::string(),
              const std::string& arg2 = std::string()) {
        m_send(code, arg1, arg2, -1, FALSE);
    }

    SendCommandFn m_send;
    WithdrawCommandFn m_withdraw;
    web::WebClient& m_web;
    InstrLog& m_log;
    int m_step = kCancelled;
    std::string m_record;
    std::string m_micSerial;
    std::string m_micSerialBefore;
    std::string m_gain[2];
    std::string m_oldGain[2];
    std::string m_newGain[2];
    std::string m_electricCal;
    std::string m_oldElectricCal;
    std::string m_protectionCode;
    std::string m_level;
    std::string m_message;
    std::vector<SentWrite> m_writes;
    // What "Annulla" writes back, and what it could not for want of the value the meter had.
    std::vector<std::string> m_restored;
    std::vector<std::string> m_notRestored;
};

}  // namespace maintenance
