#pragma once
// A pair of Hayes modems in front of the simulated meter, as the program sees them from the PC
// side: the local modem answers AT commands (CR ended; echo and verbose results as set by ATE
// and ATV), dials with a result chosen by the test, and once the call stands passes the bytes
// through to the meter. "+++" returns to commands only with the guard time of silence before
// and after it (one second, as S12 has it by default), and ATH then ends the call.
//
// The modem does not hear the port's speed (it adapts to it), nor does the meter behind it.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim_meter.h"

namespace simmeter {

class ModemResponder : public WireStage, public std::enable_shared_from_this<ModemResponder> {
public:
    enum class Dial { Connect, Busy, NoCarrier, NoAnswer };
    // An escape the modem took: the silences around "+++", program milliseconds.
    struct Escape {
        std::uint32_t silenceBefore;
        std::uint32_t silenceAfter;
    };
    static constexpr std::uint32_t kGuardMs = 1000;

    static std::shared_ptr<ModemResponder> Create();
    // Puts the modem in front of the meter.
    void InstallOn(SimMeter& meter);

    // What the next dial gives, after `delayMs` of program time.
    void SetDialOutcome(Dial outcome, std::string connectLine = "CONNECT 9600", int delayMs = 3000);

    // The command lines as received (without CR), the numbers dialled, the escapes taken.
    std::vector<std::string> Commands() const;
    std::vector<std::string> DialledNumbers() const;
    std::vector<Escape> Escapes() const;
    int HangUps() const;
    // The call stands / the modem passes bytes to the meter.
    bool Carrier() const;
    bool Online() const;

    std::string OnBytes(const std::string& bytes, std::uint32_t now, const Answer& answer) override;
    std::optional<std::uint32_t> Deadline() const override;
    void OnTime(std::uint32_t now, const Answer& answer) override;

private:
    ModemResponder() = default;
    std::string OnlineByte(char c, std::uint32_t now);
    void CommandByte(char c, std::uint32_t now, const Answer& answer);
    void Execute(const std::string& line, std::uint32_t now, const Answer& answer);
    void Result(const std::string& text, int code, const Answer& answer) const;
    // Back to commands once the guard time after "+++" has passed in silence.
    void EndEscapeIfDue(std::uint32_t now, const Answer& answer);

    mutable std::mutex m_mutex;
    Dial m_dial = Dial::Connect;
    std::string m_connectLine = "CONNECT 9600";
    int m_dialDelayMs = 3000;

    bool m_echo = true;
    bool m_verbose = true;
    bool m_online = false;
    bool m_carrier = false;
    std::string m_line;
    std::optional<std::uint32_t> m_dialDue;

    // The escape being watched for while online.
    std::uint32_t m_lastByte = 0;
    std::uint32_t m_lastPlus = 0;
    std::uint32_t m_silenceBefore = 0;
    int m_plusCount = 0;
    std::optional<std::uint32_t> m_escapeDue;

    std::vector<std::string> m_commands;
    std::vector<std::string> m_dialled;
    std::vector<Escape> m_escapes;
    int m_hangUps = 0;
};

}  // namespace simmeter
