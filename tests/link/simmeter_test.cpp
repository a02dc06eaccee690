// The simulated meter answers in the forms the program reads: a query's value starts at the
// offset the program takes it from. Its transcript holds both directions readably.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "link/command.h"
#include "link/setup_value_table.h"
#include "live_stage.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "sim_meter.h"
#include "transcript.h"

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

namespace {

// The program's side of the meter's terminal, writing raw lines.
class ProgramSide {
public:
    explicit ProgramSide(const simmeter::SimMeter& meter)
        : m_fd(::open(meter.SlavePath().c_str(), O_RDWR | O_NOCTTY)) {}
    ~ProgramSide() { ::close(m_fd); }
    ProgramSide(const ProgramSide&) = delete;
    ProgramSide& operator=(const ProgramSide&) = delete;

    bool Write(const std::string& bytes) const {
        return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

private:
    int m_fd;
};

}  // namespace

TEST(SimMeterTranscript, HoldsBothDirectionsInOrderWithControlBytesNamedAndRecordsSummed) {
    simmeter::SimMeter meter;
    meter.SetBaud(0);
    const std::string record = simmeter::MakeDumpRecord(records::kDumpStart, 0x00);
    meter.Modify([&](simmeter::MeterState& state) {
        state.dumpFiles = 1;
        state.dump.records = {record};
    });
    // An answer comes right after its line, however late the meter gives it.
    meter.DelayNext("SET:INSTR_M", 60000);
    ProgramSide program(meter);
    ASSERT_TRUE(program.Write("SET:INSTR_M:?\r\nDMP:XX\r\n"));
    ASSERT_TRUE(meter.WaitForLines(2));
    meter.Send(
        "00:00:01\t45.0\x03"
        "ERROR\x03"
        "\x7F\xF8");
    ASSERT_TRUE(program.Write("DMP:NE\r\n"));
    ASSERT_TRUE(meter.WaitForLines(3));
    meter.ClearLog();

    const std::vector<std::string> transcript = meter.Transcript();
    ASSERT_EQ(transcript.size(), 9u) << ::testing::PrintToString(transcript);
    EXPECT_EQ(std::vector<std::string>(transcript.begin(), transcript.end() - 1),
              (std::vector<std::string>{">> SET:INSTR_M:?", "<< SET:INSTR_MODEL:QS4060<ETX>",
                                        ">> DMP:XX", "<< <NAK><ETX>", "<< 00:00:01<TAB>45.0<ETX>",
                                        "<< ERROR<ETX>", "<< <DEL><xF8>", ">> DMP:NE"}));
    EXPECT_THAT(transcript.back(),
                ::testing::MatchesRegex(platform::Format(
                    "<< \\[binary %zu bytes, CRC-32 [0-9A-F]{8}\\]", record.size())));
    meter.ClearTranscript();
    EXPECT_TRUE(meter.Transcript().empty());
}

TEST(SimMeterTranscript, ARecordsSummaryChangesWithAnyOfItsBytes) {
    const std::string record = simmeter::MakeDumpRecord(records::kDumpStart, 0x00);
    EXPECT_EQ(simmeter::SaidEntries(record, true),
              std::vector<std::string>{"<< " + simmeter::BinarySummary(record)});
    EXPECT_NE(simmeter::BinarySummary(record),
              simmeter::BinarySummary(simmeter::WithBadChecksum(record)));
    // Text is split after each ETX; a tail without one is an entry of its own.
    EXPECT_EQ(simmeter::SaidEntries("A\x03\r\nB", false),
              (std::vector<std::string>{"<< A<ETX>", "<< <CR><LF>B"}));
}

TEST(SimMeterLiveRecords, AMeterLimitedPerRunSendsThatManyRecordsInEachRun) {
    simmeter::LiveRecordStage stage(500, [](int n) { return std::to_string(n); });
    stage.SetRecordsPerRun(2);
    std::vector<std::string> sent;
    const auto answer = [&](const simmeter::Reply& reply) { sent.push_back(reply.bytes); };
    const auto runFor = [&](std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t now = from; now <= to; now += 500)
            stage.OnTime(now, answer);
    };

    stage.OnBytes("STT:MON:ON\r\nSTT:ACQ:RUN\r\n", 0, answer);
    runFor(500, 3000);
    EXPECT_EQ(sent, (std::vector<std::string>{"0\x03", "1\x03"}));
    // A query during the run does not start it again; the next run does.
    stage.OnBytes("STT:ACQ:?\r\n", 3100, answer);
    EXPECT_FALSE(stage.Deadline());
    stage.OnBytes("STT:ACQ:STOP\r\nSTT:ACQ:RUN\r\n", 4000, answer);
    runFor(4500, 8000);
    EXPECT_EQ(sent, (std::vector<std::string>{"0\x03", "1\x03", "2\x03", "3\x03"}));
    EXPECT_EQ(stage.Sent(), 4);
}
