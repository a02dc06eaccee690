#include "link/overdue_answers.h"

#include <utility>

#include "link/protocol_bytes.h"

namespace {

// The families whose replies begin with the field they answer.
constexpr std::string_view kEchoingFamilies[] = {"SET:", "STT:"};

// The reply names the command's field, spelt out or as the command spells it.
bool Echoes(std::string_view replyEcho, std::string_view commandEcho) {
    return !commandEcho.empty() && replyEcho.starts_with(commandEcho);
}

}  // namespace

std::string EchoOf(std::string_view text) {
    static const std::string kFieldEnds{':', '\r', '\n', protocol::kEtx};
    for (std::string_view family : kEchoingFamilies) {
        if (!text.starts_with(family))
            continue;
        const std::string_view field = text.substr(family.size());
        const std::string_view name = field.substr(0, field.find_first_of(kFieldEnds));
        return name.empty() ? std::string() : std::string(family) + std::string(name);
    }
    return {};
}

bool AnswersAnotherField(std::string_view reply, std::string_view key) {
    return !EchoOf(reply).empty() && (key.empty() || reply.find(key) == std::string_view::npos);
}

void OverdueAnswers::Add(std::string_view commandText) {
    if (std::string echo = EchoOf(commandText); !echo.empty())
        m_echoes.insert(std::move(echo));
}

unsigned OverdueAnswers::Overdue(std::string_view commandText, std::uint32_t firstSend,
                                 std::uint32_t lastSend, unsigned timeoutMs, bool givenUp) {
    Add(commandText);
    return givenUp ? timeoutMs : lastSend - firstSend + timeoutMs;
}

bool OverdueAnswers::IsLateAnswer(std::string_view reply, std::string_view awaitedText) const {
    const std::string echo = EchoOf(reply);
    if (echo.empty())
        return false;
    size_t closest = 0;
    for (const std::string& overdue : m_echoes)
        if (Echoes(echo, overdue) && overdue.size() > closest)
            closest = overdue.size();
    if (closest == 0)
        return false;
    const std::string awaited = EchoOf(awaitedText);
    return !(Echoes(echo, awaited) && awaited.size() >= closest);
}
