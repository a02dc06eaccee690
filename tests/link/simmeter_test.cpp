// The simulated meter answers in the forms the program reads: a query's value starts at the
// offset the program takes it from.
#include <gtest/gtest.h>

#include <string>

#include "link/command.h"
#include "link/serial.h"
#include "platform/com_ports.h"
#include "sim_meter.h"
#include "support/test_env.h"

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
    struct Query {
        int code;
        int offset;
    };
    std::vector<Query> queries = {
        {6, 9},    {7, 9},    {16, 13},  {17, 18},  {18, 15},  {19, 14},  {20, 14},  {21, 15},
        {22, 17},  {23, 18},  {24, 21},  {25, 15},  {26, 18},  {27, 19},  {28, 20},  {29, 19},
        {39, 22},  {40, 19},  {41, 15},  {42, 15},  {43, 22},  {44, 16},  {45, 17},  {46, 16},
        {47, 16},  {48, 17},  {49, 14},  {83, 18},  {88, 17},  {90, 13},  {92, 17},  {94, 11},
        {136, 14}, {143, 16}, {155, 19}, {157, 15}, {159, 16}, {161, 19}, {173, 19}, {175, 15},
        {177, 16}, {179, 19}, {181, 16}, {183, 17}, {185, 24}, {187, 17}, {189, 18}, {191, 16},
        {193, 17}, {195, 14}, {197, 13}, {199, 19}, {201, 22}, {203, 16}, {98, 12},
    };
    for (int code = 30; code <= 33; ++code)
        queries.push_back({code, 17});
    for (int code = 34; code <= 38; ++code)
        queries.push_back({code, 20});
    for (int code = 145; code <= 153; code += 2)
        queries.push_back({code, 20});
    for (int code = 163; code <= 171; code += 2)
        queries.push_back({code, 20});

    simmeter::MeterState state;
    simmeter::LoadInitialSettings(state);
    for (const Query& q : queries) {
        const std::string reply = AnswerOf(state, LineOf(q.code));
        ASSERT_GT(reply.size(), static_cast<size_t>(q.offset + 1)) << q.code << " " << reply;
        // The key's colon closes the prefix right before the offset.
        EXPECT_EQ(reply.find(':', 4), static_cast<size_t>(q.offset - 1)) << q.code << " " << reply;
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

    // A preset answers the identification as its model does; an unknown key is left to the
    // refusal.
    simmeter::ApplyModelPreset(state, *simmeter::FindModelPreset("QS4060_00"));
    EXPECT_EQ(AnswerOf(state, LineOf(120)), "SET:OPTIONS:\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(205)), "(none)");
    simmeter::ApplyModelPreset(state, *simmeter::FindModelPreset("QS4160_L0$1"));
    EXPECT_EQ(AnswerOf(state, LineOf(0)), "SET:INSTR_MODEL:QS4160\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(120)), "SET:OPTIONS:L\x03");
    EXPECT_EQ(AnswerOf(state, LineOf(205)), "SET:CLASS:1\x03");
    EXPECT_EQ(simmeter::FindModelPreset("QS4060_zz"), nullptr);
}

TEST(SimMeter, BendsSingleAnswersAndKeepsSilentAtAnotherSpeed) {
    platform::ScopedClockSpeed fast{100.0};
    simmeter::SimMeter meter;
    platform::SetComDevice(7, meter.SlavePath());
    CSerial port;
    ASSERT_EQ(port.Open("COM7"), 0);
    ASSERT_EQ(port.Setup(38400), 0);
    auto exchange = [&](const std::string& line, int waitMs) {
        port.WriteString(line + "\r\n");
        std::string got;
        const auto start = platform::Clock::TickCount();
        while (platform::Clock::TickCount() - start < static_cast<unsigned>(waitMs)) {
            if (port.WaitEvent(10) != 0)
                continue;
            char buffer[64];
            size_t n = 0;
            port.Read(buffer, sizeof buffer, &n);
            got.append(buffer, n);
            if (!got.empty() && got.back() == simmeter::kEtx)
                break;
        }
        return got;
    };

    meter.RefuseNext("SET:INSTR_V", 1);
    EXPECT_EQ(exchange("SET:INSTR_V:?", 5000), std::string("\x15\x03"));
    EXPECT_EQ(exchange("SET:INSTR_V:?", 5000), "SET:INSTR_VERSION:2.05\x03");
    meter.AnswerNext("STT:DISPL", "#BUSY\x03");
    EXPECT_EQ(exchange("STT:DISPL:?", 5000), "#BUSY\x03");
    meter.SilenceNext("SET:MIC_N");
    EXPECT_EQ(exchange("SET:MIC_N:?", 300), "");

    meter.DelayNext("SET:MIC_M", 2000);
    const auto asked = platform::Clock::TickCount();
    EXPECT_EQ(exchange("SET:MIC_M:?", 20000), "SET:MIC_MODEL:MK250\x03");
    EXPECT_GE(platform::Clock::TickCount() - asked, 2000u);

    ASSERT_EQ(port.Setup(9600), 0);
    EXPECT_EQ(exchange("SET:INSTR_N:?", 300), "");
    ASSERT_TRUE(meter.WaitForLines(6));
    EXPECT_EQ(meter.Lines().back(), "SET:INSTR_N:?");
    platform::ClearComDevices();
}
