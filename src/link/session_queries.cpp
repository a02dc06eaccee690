#include "link/session_queries.h"

#include "link/model_rules.h"

namespace {

bool HasAnyOf(std::string_view model, std::string_view letters) {
    return model.find_first_of(letters) != std::string_view::npos;
}

void Append(std::vector<int>& codes, std::initializer_list<int> more) {
    codes.insert(codes.end(), more);
}

// The report and event settings of a model whose letters give it reports.
void AppendReportQueries(std::vector<int>& codes, std::string_view model) {
    Append(codes, {206, 199, 143, 145, 147, 149, 151, 153, 155, 161});
    if (HasAnyOf(model, "nkNK"))
        Append(codes, {157, 159});
    if (HasAnyOf(model, "jJ"))
        Append(codes, {157});
    Append(codes, {163, 165, 167, 169, 171, 173, 179});
    if (HasAnyOf(model, "nkNK"))
        Append(codes, {175, 177});
    if (HasAnyOf(model, "jJ"))
        Append(codes, {175});
    Append(codes, {181, 195});
}

}  // namespace

std::vector<int> SetupQueryCodes(std::string_view model) {
    std::vector<int> codes{2,  1,  3,  4,  5,  6,  7,  16, 17, 20, 21, 24,
                           25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};
    if (model_rules::HasSpectrum(model))
        codes.push_back(40);
    if (model_rules::HasReports(model))
        AppendReportQueries(codes, model);
    if (model_rules::IsQS4160(model)) {
        Append(codes, {18, 19, 22, 23, 37, 38, 39, 41, 42, 43, 44, 45, 46, 47, 48});
        if (model_rules::IsQS4160WithReports(model)) {
            if (model_rules::HasShortLeqAndFft(model))
                Append(codes, {201, 203, 197});
            Append(codes, {199, 143, 145, 147, 149, 151, 153, 155, 157, 159, 161,
                           163, 165, 167, 169, 171, 173, 175, 177, 179, 181, 195});
        }
        Append(codes, {92, 94});
    }
    Append(codes, {49, 88, 90, 127, 129, 83});
    return codes;
}

std::vector<int> NewSessionQueryCodes(std::string_view model) {
    std::vector<int> codes{1,  2,  3,  4,  5,  6,  7,  16, 17, 20, 21, 127, 24,
                           25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};
    if (model_rules::HasSpectrum(model))
        codes.push_back(40);
    Append(codes, {49, 88, 90, 129});
    if (model_rules::IsQS4160(model))
        Append(codes, {18, 19, 22, 23, 37, 38, 39, 41, 42, 43, 44, 92, 94});
    Append(codes, {98, 11});
    return codes;
}
