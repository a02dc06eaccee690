#include "acquisition/dump_end_model.h"

#include "platform/text.h"

namespace acquisition {

namespace {

constexpr size_t kModelByte = 45;
constexpr size_t kVariantByte = 46;

struct ModelRule {
    const char* text;
    bool exact;
    char byte45;
    char byte46;          // 0: as sent
    char byte46Extended;  // with the extended range
};

// In order: where several rules match, the last one wins.
constexpr ModelRule kRules[] = {
    {"QS4160", true, '0', '0', '0'},    {"QS4160_L", false, '1', '0', '0'},
    {"QS4160_H", false, '1', '1', '1'}, {"QS4160_M", false, '1', '2', '2'},
    {"QS4160_I", false, '1', '3', '3'}, {"QS4060", false, '2', 0, 0},
    {"QS4060_0", false, '2', '0', '1'}, {"QS4060_A", false, '2', '2', '3'},
    {"QS4060_B", false, '2', '4', '5'}, {"QS4060_C", false, '2', '6', '7'},
    {"QS4060_D", false, '2', '8', '9'}, {"QS4060_E", false, '3', '0', '1'},
    {"QS4060_F", false, '3', '2', '3'}, {"QS4060_G", false, '3', '4', '5'},
    {"QS4060_J", false, '3', '6', '7'}, {"QS4060_K", false, '3', '8', '9'},
    {"QS4060_N", false, '3', 'A', 'B'}, {"QS4060_a", false, '4', '2', '3'},
    {"QS4060_b", false, '4', '4', '5'}, {"QS4060_c", false, '4', '6', '7'},
    {"QS4060_d", false, '4', '8', '9'}, {"QS4060_e", false, '5', '0', '1'},
    {"QS4060_f", false, '5', '2', '3'}, {"QS4060_g", false, '5', '4', '5'},
    {"QS4060_j", false, '5', '6', '6'}, {"QS4060_k", false, '5', '7', '7'},
    {"QS4060_n", false, '5', '8', '8'}, {"QS4060_p", false, '5', '9', '9'},
    {"QS4060_q", false, '5', 'A', 'A'}, {"QS4060_r", false, '5', 'B', 'B'},
};

}  // namespace

EndRecordModelCode EndRecordModelCodeOf(std::string_view model, bool extendedRange) {
    char byte45 = 0;
    char byte46 = 0;
    for (const ModelRule& rule : kRules) {
        if (rule.exact ? model != rule.text : !platform::Contains(model, rule.text))
            continue;
        byte45 = rule.byte45;
        byte46 = extendedRange ? rule.byte46Extended : rule.byte46;
    }
    auto given = [](char c) { return c ? std::optional<char>(c) : std::nullopt; };
    return {given(byte45), given(byte46)};
}

void StampEndRecordModel(std::span<unsigned char> record, std::string_view model,
                         bool extendedRange) {
    if (record.size() <= kVariantByte)
        return;
    const EndRecordModelCode code = EndRecordModelCodeOf(model, extendedRange);
    if (code.byte45)
        record[kModelByte] = static_cast<unsigned char>(*code.byte45);
    if (code.byte46)
        record[kVariantByte] = static_cast<unsigned char>(*code.byte46);
}

}  // namespace acquisition
