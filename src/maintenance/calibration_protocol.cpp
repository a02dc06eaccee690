#include "maintenance/calibration_protocol.h"

#include <cmath>
#include <string_view>

#include "platform/text.h"

namespace maintenance::meter {

namespace {
constexpr const char* kProgramMark = "PROGRAM:";

struct ScreenWord {
    ProgramScreen screen;
    const char* word;
};
constexpr ScreenWord kScreenWords[] = {
    {ProgramScreen::Running, "RUNNING"},
    {ProgramScreen::Ended, "END"},
    {ProgramScreen::Failed, "FAILED"},
};

std::string ProgramLabel(int program) {
    return platform::Format("%s%d ", kProgramMark, program);
}
}  // namespace

std::string ValueAfter(const std::string& reply, const char* prefix) {
    return platform::Mid(reply, static_cast<int>(std::string_view(prefix).size()));
}

std::optional<double> ReadNumber(const std::string& text) {
    const std::string trimmed = platform::Trim(text);
    char* end = nullptr;
    const double value = platform::StrToD(trimmed.c_str(), &end);
    if (trimmed.empty() || end != trimmed.c_str() + trimmed.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string PrintedText(const std::string& reply) {
    const int at = platform::Find(reply, kPrintedValueReply);
    const int prefix = static_cast<int>(std::string_view(kPrintedValueReply).size());
    return platform::Trim(at < 0 ? reply : platform::Mid(reply, at + prefix));
}

std::string PrintedValue(const std::string& reply) {
    const std::string text = PrintedText(reply);
    const int blank = platform::Find(text, ' ');
    return blank < 0 ? text : platform::Left(text, blank);
}

std::string PrintedValueReply(const std::string& value, const std::string& unit) {
    return std::string(kPrintedValueReply) + " " + value + (unit.empty() ? "" : " " + unit);
}

std::string ProgramScreenText(int program, ProgramScreen screen) {
    for (const ScreenWord& entry : kScreenWords)
        if (entry.screen == screen)
            return ProgramLabel(program) + entry.word;
    return ProgramLabel(program);
}

std::optional<ProgramScreen> ReadProgramScreen(const std::string& display, int program) {
    const int at = platform::Find(display, ProgramLabel(program));
    if (at < 0)
        return std::nullopt;
    const std::string rest =
        platform::Mid(display, at + static_cast<int>(ProgramLabel(program).size()));
    for (const ScreenWord& entry : kScreenWords)
        if (platform::StartsWith(rest, entry.word))
            return entry.screen;
    return std::nullopt;
}

bool ShowsProgram(const std::string& display) {
    return platform::Contains(display, kProgramMark);
}

}  // namespace maintenance::meter
