#include "modem_responder.h"

#include <cctype>

#include "platform/text.h"

namespace simmeter {

namespace {
constexpr size_t kLineLimit = 256;
constexpr int kOk = 0;
constexpr int kConnect = 1;
constexpr int kNoCarrier = 3;
constexpr int kError = 4;
constexpr int kBusy = 7;

bool Reached(std::uint32_t now, std::uint32_t due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}
}  // namespace

std::shared_ptr<ModemResponder> ModemResponder::Create() {
    return std::shared_ptr<ModemResponder>(new ModemResponder());
}

void ModemResponder::InstallOn(SimMeter& meter) {
    meter.SetWireStage(shared_from_this());
}

void ModemResponder::SetDialOutcome(Dial outcome, std::string connectLine, int delayMs) {
    std::lock_guard lock(m_mutex);
    m_dial = outcome;
    m_connectLine = std::move(connectLine);
    m_dialDelayMs = delayMs;
}

std::vector<std::string> ModemResponder::Commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::vector<std::string> ModemResponder::DialledNumbers() const {
    std::lock_guard lock(m_mutex);
    return m_dialled;
}

std::vector<ModemResponder::Escape> ModemResponder::Escapes() const {
    std::lock_guard lock(m_mutex);
    return m_escapes;
}

int ModemResponder::HangUps() const {
    std::lock_guard lock(m_mutex);
    return m_hangUps;
}

bool ModemResponder::Carrier() const {
    std::lock_guard lock(m_mutex);
    return m_carrier;
}

bool ModemResponder::Online() const {
    std::lock_guard lock(m_mutex);
    return m_online;
}

std::string ModemResponder::OnBytes(const std::string& bytes, std::uint32_t now,
                                    const Answer& answer) {
    std::lock_guard lock(m_mutex);
    // On a busy machine bytes sent after the guard time may be read before the escape's own
    // deadline was served; the escape had taken effect by then.
    EndEscapeIfDue(now, answer);
    std::string toMeter;
    for (char c : bytes) {
        if (m_online)
            toMeter += OnlineByte(c, now);
        else
            CommandByte(c, now, answer);
    }
    return toMeter;
}

std::string ModemResponder::OnlineByte(char c, std::uint32_t now) {
    std::string out;
    const bool escapeGoesOn =
        c == '+' && m_plusCount < 3 &&
        (m_plusCount == 0 ? now - m_lastByte >= kGuardMs : now - m_lastPlus < kGuardMs);
    if (escapeGoesOn) {
        if (m_plusCount == 0)
            m_silenceBefore = now - m_lastByte;
        ++m_plusCount;
        m_lastPlus = now;
        if (m_plusCount == 3)
            m_escapeDue = now + kGuardMs;
    } else {
        // Not an escape after all: the held '+' are data.
        out.assign(static_cast<size_t>(m_plusCount), '+');
        out += c;
        m_plusCount = 0;
        m_escapeDue.reset();
    }
    m_lastByte = now;
    return out;
}

void ModemResponder::CommandByte(char c, std::uint32_t now, const Answer& answer) {
    if (m_echo)
        answer(Reply{std::string(1, c)});
    if (c == '\r') {
        const std::string line = m_line;
        m_line.clear();
        Execute(line, now, answer);
    } else if (c != '\n' && m_line.size() < kLineLimit) {
        m_line += c;
    }
}

void ModemResponder::Result(const std::string& text, int code, const Answer& answer) const {
    answer(Reply{m_verbose ? "\r\n" + text + "\r\n" : platform::Format("%d\r", code)});
}

void ModemResponder::Execute(const std::string& rawLine, std::uint32_t now, const Answer& answer) {
    const std::string line = platform::Trim(rawLine);
    // A modem leaves alone what is not a command.
    if (!platform::StartsWith(platform::ToUpper(line), "AT"))
        return;
    m_commands.push_back(line);
    const std::string command = platform::ToUpper(line);
    auto digitAt = [&](size_t i) {
        return i < command.size() && std::isdigit(static_cast<unsigned char>(command[i]))
                   ? command[i] - '0'
                   : 0;
    };
    auto skipDigits = [&](size_t& i) {
        while (i < command.size() && std::isdigit(static_cast<unsigned char>(command[i])))
            ++i;
    };
    for (size_t i = 2; i < command.size();) {
        const char letter = command[i++];
        switch (letter) {
            case ' ':
                break;
            case 'E':
                m_echo = digitAt(i) != 0;
                skipDigits(i);
                break;
            case 'V':
                m_verbose = digitAt(i) != 0;
                skipDigits(i);
                break;
            case 'Z':
                m_echo = true;
                m_verbose = true;
                skipDigits(i);
                break;
            case 'H':
                if (m_carrier)
                    ++m_hangUps;
                m_carrier = false;
                m_online = false;
                skipDigits(i);
                break;
            case 'O':
                skipDigits(i);
                if (!m_carrier) {
                    Result("NO CARRIER", kNoCarrier, answer);
                    return;
                }
                m_online = true;
                m_lastByte = now;
                Result(m_connectLine, kConnect, answer);
                return;
            case 'D': {
                std::string number = platform::Mid(line, static_cast<int>(i));
                if (!number.empty() &&
                    (std::toupper(number[0]) == 'T' || std::toupper(number[0]) == 'P'))
                    number.erase(0, 1);
                m_dialled.push_back(platform::Trim(number));
                if (m_dial != Dial::NoAnswer)
                    m_dialDue = now + static_cast<std::uint32_t>(m_dialDelayMs);
                return;
            }
            case 'Q':
            case 'X':
            case 'L':
            case 'M':
                skipDigits(i);
                break;
            case '%':
            case '\\':
            case '&':
                if (i < command.size())
                    ++i;
                skipDigits(i);
                break;
            case 'S':
                skipDigits(i);
                if (i < command.size() && (command[i] == '=' || command[i] == '?'))
                    ++i;
                skipDigits(i);
                break;
            default:
                Result("ERROR", kError, answer);
                return;
        }
    }
    Result("OK", kOk, answer);
}

std::optional<std::uint32_t> ModemResponder::Deadline() const {
    std::lock_guard lock(m_mutex);
    if (m_escapeDue && m_dialDue)
        return static_cast<std::int32_t>(*m_escapeDue - *m_dialDue) < 0 ? m_escapeDue : m_dialDue;
    return m_escapeDue ? m_escapeDue : m_dialDue;
}

void ModemResponder::EndEscapeIfDue(std::uint32_t now, const Answer& answer) {
    if (!m_escapeDue || !Reached(now, *m_escapeDue))
        return;
    m_escapeDue.reset();
    m_plusCount = 0;
    m_online = false;
    m_escapes.push_back({m_silenceBefore, now - m_lastPlus});
    Result("OK", kOk, answer);
}

void ModemResponder::OnTime(std::uint32_t now, const Answer& answer) {
    std::lock_guard lock(m_mutex);
    EndEscapeIfDue(now, answer);
    if (m_dialDue && Reached(now, *m_dialDue)) {
        m_dialDue.reset();
        switch (m_dial) {
            case Dial::Connect:
                m_carrier = true;
                m_online = true;
                m_lastByte = now;
                Result(m_connectLine, kConnect, answer);
                break;
            case Dial::Busy:
                Result("BUSY", kBusy, answer);
                break;
            case Dial::NoCarrier:
                Result("NO CARRIER", kNoCarrier, answer);
                break;
            case Dial::NoAnswer:
                break;
        }
    }
}

}  // namespace simmeter
