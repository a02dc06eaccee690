#pragma once
// A sound level meter simulated on a pseudo-terminal. The program under test opens the slave
// side (SlavePath) as its COM port; the meter owns the master side, answers each CR LF line on
// its own thread and keeps every byte it received, and a transcript of both directions.
//
// Answers come from a chain of responders (meter_replies.h); tests bend single answers with
// overrides: refuse, stay silent, answer late, in pieces, or with bytes of their own. The meter
// also stays silent while the port's speed is not its own, as a real one would not understand.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "meter_replies.h"

namespace simmeter {

// Sits between the wire and the meter's command lines, as a modem in front of the meter: sees
// every byte from the program first and passes on what reaches the meter. A meter behind such
// a stage does not hear the program's port speed. Called on the meter's thread, under its lock.
class WireStage {
public:
    using Answer = std::function<void(const Reply&)>;
    virtual ~WireStage() = default;
    // Bytes that arrived at program time `now`; returns those that go on to the meter.
    virtual std::string OnBytes(const std::string& bytes, std::uint32_t now,
                                const Answer& answer) = 0;
    // The program time at which the stage wants OnTime, if any.
    virtual std::optional<std::uint32_t> Deadline() const = 0;
    virtual void OnTime(std::uint32_t now, const Answer& answer) = 0;
};

class SimMeter {
public:
    // Opens the pseudo-terminal and starts serving.
    SimMeter();
    ~SimMeter();
    SimMeter(const SimMeter&) = delete;
    SimMeter& operator=(const SimMeter&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }

    // --- what the meter is
    void SetBaud(int baud);  // 0: answers at any speed
    int Baud() const;
    void SetSetting(const std::string& key, const std::string& value);
    std::string Setting(const std::string& key) const;
    // Changes the state under the meter's lock.
    void Modify(const std::function<void(MeterState&)>& change);
    // Asked before the standard responders (front) or after them, before the refusal (back).
    void AddResponder(Responder responder, bool front = true);
    // nullptr takes the stage away.
    void SetWireStage(std::shared_ptr<WireStage> stage);

    // --- single answers bent by a test; each override serves `times` lines starting with
    // `linePrefix` (times < 0: every such line), the oldest override first.
    using Bend =
        std::function<std::optional<Reply>(const std::string& line, std::optional<Reply> normal)>;
    void Override(std::string linePrefix, int times, Bend bend);
    void RefuseNext(std::string linePrefix, int times = 1);  // NAK
    void SilenceNext(std::string linePrefix, int times = 1);
    void DelayNext(std::string linePrefix, int programMs, int times = 1);
    void SplitNext(std::string linePrefix, int pieces, int gapMs, int times = 1);
    void AnswerNext(std::string linePrefix, std::string bytes, int times = 1);  // as given
    void ClearOverrides();

    // Writes bytes to the program now, unasked.
    void Send(const std::string& bytes);

    // --- what the meter received
    std::string Received() const;
    std::vector<std::string> Lines() const;  // without CR LF
    // When each line arrived, in program milliseconds (platform::Clock::TickCount).
    std::vector<std::uint32_t> LineTicks() const;
    size_t LineCount() const;
    // Blocks until `count` lines arrived or `realMs` passed; whether they arrived.
    bool WaitForLines(size_t count, int realMs = 5000) const;
    void ClearLog();

    // --- the conversation both ways (transcript.h): each line the meter took and, right after
    // it, the answer it gave, whatever delay or pieces a test bent the answer into; unasked
    // writes (Send, a wire stage's records) where they were given. ClearLog leaves it.
    std::vector<std::string> Transcript() const;
    void ClearTranscript();
    // Also hands each entry to `sink` as it is made, on the thread that made it, under the
    // meter's lock (the program's --log); nullptr stops it.
    void SetTranscriptSink(std::function<void(const std::string& entry)> sink);

    // Whether the meter has read every byte the program wrote and written every answer due by
    // now. A program's wait that ends while it has not was cut short by a busy machine, not by
    // the meter: tests wait for this before they count an answer as missing.
    bool Answered() const;
    // Whether, further, no answer waits to go out, not even one a test delayed past now.
    bool AllAnswered() const;

private:
    struct Pending {
        std::uint32_t due;  // program ms
        std::string bytes;
    };
    struct OverrideEntry {
        std::string prefix;
        int times;
        Bend bend;
    };

    void Run();
    void Wake();
    // Reads what the program wrote and answers it, as one step under the lock.
    void ReadInput();
    void OnBytesLocked(const char* data, size_t size);
    void Answer(const std::string& line);
    void Schedule(const Reply& reply);
    void Note(std::string entry);
    void FlushDue();
    void ServeStageDeadline();
    bool SpeedMatchesLocked() const;
    int NextDueRealMs() const;

    std::string m_slavePath;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the master never sees a hang-up
    int m_wake = -1;   // eventfd
    std::thread m_thread;
    std::atomic<bool> m_stop{false};

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_lineArrived;
    MeterState m_state;
    std::vector<Responder> m_front;
    std::vector<Responder> m_back;
    std::shared_ptr<WireStage> m_stage;
    std::deque<OverrideEntry> m_overrides;
    std::string m_received;
    std::string m_partial;
    std::vector<std::string> m_lines;
    std::vector<std::uint32_t> m_lineTicks;
    std::vector<std::string> m_transcript;
    std::function<void(const std::string&)> m_transcriptSink;
    std::deque<Pending> m_outgoing;
    std::string m_writing;  // bytes of the current write that the terminal has not taken yet
};

}  // namespace simmeter
