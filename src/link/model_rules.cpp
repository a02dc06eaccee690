#include "link/model_rules.h"

#include <initializer_list>

#include "platform/text.h"

namespace model_rules {

namespace {
bool ContainsAny(std::string_view model, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) {
        if (platform::Contains(model, part))
            return true;
    }
    return false;
}
}  // namespace

bool IsQS4160(std::string_view model) {
    return platform::Contains(model, "QS4160");
}

bool HasFixedMicrophone(std::string_view model) {
    return ContainsAny(model, {"QS4060_a", "QS4060_b", "QS4060_c", "QS4060_d", "QS4060_e",
                               "QS4060_f", "QS4060_g"});
}

bool HasSpectrum(std::string_view model) {
    return !ContainsAny(model, {"p", "q", "r"});
}

bool HasDataLogging(std::string_view model) {
    return !platform::Contains(model, "p");
}

bool HasReports(std::string_view model) {
    return ContainsAny(model, {"r", "n", "k", "j", "N", "K", "J"});
}

bool ReportsStoreThirdOctaves(std::string_view model) {
    return ContainsAny(model, {"n", "k", "N", "K"});
}

bool ReportsStoreOctavesOnly(std::string_view model) {
    return !ReportsStoreThirdOctaves(model) && HasOctaveReportLetters(model);
}

bool HasOctaveReportLetters(std::string_view model) {
    return ContainsAny(model, {"j", "J"});
}

bool IsQS4160WithReports(std::string_view model) {
    return ContainsAny(model, {"QS4160_L", "QS4160_H", "QS4160_I", "QS4160_M"});
}

bool HasShortLeqAndFft(std::string_view model) {
    return ContainsAny(model, {"QS4160_L", "QS4160_H"});
}

bool HasReportSettings(std::string_view model) {
    return HasReports(model) || IsQS4160WithReports(model);
}

bool ReportsLackSpectra(std::string_view model) {
    return platform::Contains(model, "r");
}

bool ReportsLackThirdOctaves(std::string_view model) {
    return ContainsAny(model, {"r", "j", "J"});
}

bool HasDataLoggerOption(std::string_view model) {
    return ContainsAny(model, {"QS4060_B", "QS4060_C", "QS4060_F", "QS4060_G", "QS4060_b",
                               "QS4060_c", "QS4060_f", "QS4060_g", "q"});
}

}  // namespace model_rules
