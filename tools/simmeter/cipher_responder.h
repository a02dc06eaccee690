#pragma once
// The meter's side of the enciphered commands ("KEY:EXEC:80:" frames). It holds the same key
// data as the program, reads each frame with its keystream (a key reset with the reset
// keystream, after which it reloads the key data), advances by the challenge and answers 15
// bytes under the new keystream. An unlock it confirmed lets the next protected write
// through (MeterState::protectedUnlocked). A frame it cannot read (the two sides out of step) is
// refused, and the meter keeps its state, until a key reset.
//
// Tests bend the next frames' answers: refuse or ignore them (the meter keeps its state), or
// advance and then lose, cut or split the answer. Every frame is recorded as it was read.

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "cipher/meter_cipher.h"
#include "meter_replies.h"

namespace simmeter {

class SimMeter;

class CipherResponder : public std::enable_shared_from_this<CipherResponder> {
public:
    struct Frame {
        std::string command;  // the 15 characters as the meter read them
        bool readable = false;
        bool resetKey = false;  // read with the reset keystream
    };

    static std::shared_ptr<CipherResponder> Create(const cipher::Block& resetKeystream,
                                                   const cipher::MeterCipher::State& state);
    // Answers the meter's "KEY:EXEC:80:" lines, ahead of its standard responders.
    void InstallOn(SimMeter& meter);

    // Plain 15-character answers (blank-padded or cut) to the two readings.
    void SetTargetReading(std::string plain);     // GETVAL: "094509460947" and 3 more
    void SetReferenceReading(std::string plain);  // GETEXT: "94.253" and 9 more

    // Each bends one coming frame, in the order they were asked for.
    void RefuseNext();                                         // NAK, state kept
    void IgnoreNext();                                         // no answer, state kept
    void DropAnswerNext();                                     // advances, answer lost
    void CutAnswerNext(int symbols);                           // advances, sends the first symbols
    void SplitAnswerNext(int pieces, int delayMs, int gapMs);  // advances, answers in pieces

    std::vector<Frame> Frames() const;
    cipher::MeterCipher Cipher() const;

private:
    enum class Bend { Refuse, Ignore, Drop, Cut, Split };
    struct Pending {
        Bend bend;
        int symbols = 0;
        int pieces = 1;
        int delayMs = 0;
        int gapMs = 0;
    };

    CipherResponder(const cipher::Block& resetKeystream, const cipher::MeterCipher::State& state);
    std::optional<Reply> Answer(const std::string& line, MeterState& state);
    void Push(Pending pending);
    // The 15 bytes the meter answers to a command it read; advances by its challenge.
    std::string Serve(const Frame& frame);

    mutable std::mutex m_mutex;
    const cipher::Block m_resetKeystream;
    const cipher::MeterCipher::State m_state;
    cipher::MeterCipher m_cipher;
    std::string m_targetReading = "094009400940   ";
    std::string m_referenceReading = "94.000         ";
    std::deque<Pending> m_pending;
    std::vector<Frame> m_frames;
};

}  // namespace simmeter
