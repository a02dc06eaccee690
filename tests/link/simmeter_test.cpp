// The simulated meter answers in the forms the program reads: a query's value starts at the
// offset the program takes it from.
#include <gtest/gtest.h>

#include <string>

#include "link/command.h"
#include "link/setup_value_table.h"
#include "sim_meter.h"

namespace {

std::string LineOf(int code, const std::string& arg1 = "", const std::string& arg2 = "") {
    const std::string text = CCommand(code, arg1, arg2).GetText();
    return text.substr(0, text.size() - 2);
}

std::string AnswerOf(simmeter::MeterState& state, const std::string& line) {
    auto reply = simmeter::AnswerSetting(line, state);
    if (!reply)
        reply = simmeter::AnswerState(line, state);
    if (!reply)
        reply = simmeter::AnswerKey(line, state);
    return reply ? reply->bytes : "(none)";
}

}  // namespace

TEST(SimMeterReplies, QueryValuesStartAtTheOffsetsTheProgramReadsFrom) {
    std::vector<std::pair<int, int>> queries = {{98, 12}, {136, 14}};
    for (const SetupValueRow& row : SetupValueRows()) {
        for (const ReplyRule* rule : {&row.query, &row.altQuery}) {
            if (rule->form == ReplyForm::AtOffset && LineOf(rule->code).ends_with("?"))
                queries.push_back({rule->code, rule->offset});
        }
    }
    ASSERT_EQ(queries.size(), 74u);

    simmeter::MeterState state;
    simmeter::LoadInitialSettings(state);
    for (const auto& [code, offset] : queries) {
        const std::string reply = AnswerOf(state, LineOf(code));
        ASSERT_GT(reply.size(), static_cast<size_t>(offset + 1)) << code << " " << reply;
        // The key's colon closes the prefix right before the offset.
        EXPECT_EQ(reply.find(':', 4), static_cast<size_t>(offset - 1)) << code << " " << reply;
        EXPECT_EQ(reply.back(), simmeter::kEtx);
    }
    // Identity replies carry their keys; the probe is answered with the model.
    EXPECT_EQ(AnswerOf(state, LineOf(0)), "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(1)), "SET:INSTR_NUMBER:A12345\x03");
    EXPECT_EQ(AnswerOf(state, "SET:INS:?"), "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(127)), "SET:INT_MODE:SINGLE\x03");
}

TEST(SimMeterReplies, SettingsAreStoredAcknowledgedAndReadBack) {
    simmeter::MeterState state;
    simmeter::LoadInitialSettings(state);
    EXPECT_EQ(AnswerOf(state, LineOf(57, "x", "MM:05")), "SET:INTEGRATION_TIME:MM:05\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(24)), "SET:INTEGRATION_TIME:MM:05\x03");
    // A new speed is acknowledged at the old one and used afterwards.
    EXPECT_EQ(AnswerOf(state, LineOf(53, "", "9.6k")), "SET:BAUD_RATE:9.6k\x03");
    EXPECT_EQ(state.baud, 9600);

    EXPECT_EQ(AnswerOf(state, "STT:MON:ON"), "");
    EXPECT_EQ(AnswerOf(state, "STT:MON:?"), "STT:MONITOR:ON\x03");
    EXPECT_EQ(AnswerOf(state, "STT:ACQ:RUN"), "STT:ACQUISITION:RUN\x03");
    EXPECT_EQ(AnswerOf(state, "KEY:ENTER"), "KEY:ENTER\x03");
    EXPECT_EQ(AnswerOf(state, "KEY:OFF"), "");
    EXPECT_EQ(simmeter::Refuse("DMP:XX", state)->bytes, std::string("\x15\x03"));
}
