#include "link/state_replies.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

std::vector<int> Codes(const std::vector<FollowUp>& followUps) {
    std::vector<int> codes;
    for (const FollowUp& f : followUps) {
        EXPECT_FALSE(f.urgent) << f.code;
        codes.push_back(f.code);
    }
    return codes;
}

// Answers the questions in order and fails on any question beyond them.
struct Answers {
    std::deque<bool> answers = {};
    std::vector<std::string> asked = {};
    ConfirmFn Fn() {
        return [this](const std::string& question) {
            asked.push_back(question);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected question: " << question;
                return false;
            }
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
    }
};

const std::vector<int> kRefresh = {100, 17, 11, 109};

std::vector<int> Then(std::vector<int> first, const std::vector<int>& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

class AcquisitionReply : public ::testing::Test {
protected:
    AcquisitionReplyOutcome Handle(const char* reply, bool dataLogging, int pendingOp) {
        return OnAcquisitionStateReply(reply, dataLogging, pendingOp, current, edited,
                                       answers.Fn());
    }
    CInstrStatus current;
    CInstrStatus edited;
    Answers answers;
};

}  // namespace

TEST_F(AcquisitionReply, StateIsReadFromTheReply) {
    current.m_nDataLogging = edited.m_nDataLogging = 1;
    auto out = Handle("STT:ACQUISITION:STOP\x03", true, kNoPendingOp);
    EXPECT_FALSE(out.acquiring);
    EXPECT_FALSE(out.dataLogging);
    EXPECT_EQ(current.m_nDataLogging + edited.m_nDataLogging, 0);
    EXPECT_TRUE(out.commands.empty());

    out = Handle("STT:ACQUISITION:REC", false, kNoPendingOp);
    EXPECT_TRUE(out.acquiring && out.dataLogging && out.startRecordingBlink);
    EXPECT_EQ(current.m_nDataLogging + edited.m_nDataLogging, 2);

    out = Handle("STT:ACQUISITION:RUN INTEGRATION MULTI", false, kNoPendingOp);
    EXPECT_TRUE(out.acquiring);
    EXPECT_FALSE(out.startRecordingBlink);
    EXPECT_EQ(current.m_strIntegrationMode, "MULTI");
    EXPECT_EQ(edited.m_strIntegrationMode, "MULTI");

    // Without its key, or cut short, the reply says nothing but "not acquiring".
    for (const char* garbled : {"RUN HOLD REC", "STT:ACQUIS", ""}) {
        out = Handle(garbled, true, kNoPendingOp);
        EXPECT_FALSE(out.acquiring) << garbled;
        EXPECT_TRUE(out.dataLogging) << garbled;
        EXPECT_EQ(out.pendingOp, kNoPendingOp);
    }
}

TEST_F(AcquisitionReply, StartDataLoggingAsksAndChoosesTheCommand) {
    current.m_strIntegrationTime = "SS:10";
    current.m_strAutoStore = "OFF";
    answers.answers = {true, true};
    auto out = Handle("STT:ACQUISITION:RUN", false, kStartDataLoggingOp);
    EXPECT_EQ(out.pendingOp, kNoPendingOp);
    EXPECT_EQ(Codes(out.commands), Then({107, 85}, kRefresh));
    EXPECT_TRUE(out.startRecordingBlink && out.clearStatusText);
    ASSERT_EQ(answers.asked.size(), 2u);
    EXPECT_EQ(answers.asked[1],
              "WARNING: Instrument integration time is 10 s.\nDatalogging will stop after this "
              "time automatically.\nConfirm start datalogging ?");

    // A no leaves the meter as it is.
    current.m_strIntegrationTime = "MM:05";
    answers.answers = {false};
    out = Handle("STT:ACQUISITION:STOP", false, kStartDataLoggingOp);
    EXPECT_EQ(out.pendingOp, kNoPendingOp);
    EXPECT_TRUE(out.commands.empty());
    EXPECT_FALSE(out.clearStatusText || out.startRecordingBlink);
    EXPECT_NE(answers.asked.back().find("is 05 m."), std::string::npos);

    // A zero single integration and auto-store: no question, the run command.
    current.m_strIntegrationTime = "SS:00";
    current.m_strAutoStore = "ON";
    answers.asked.clear();
    out = Handle("STT:ACQUISITION:STOP", false, kStartDataLoggingOp);
    EXPECT_EQ(Codes(out.commands), Then({108}, kRefresh));
    EXPECT_TRUE(answers.asked.empty());
}

TEST_F(AcquisitionReply, StopAndDownloadChooseTheirCommandsOrWarn) {
    auto out = Handle("STT:ACQUISITION:REC", false, kStartDataLoggingOp);
    EXPECT_EQ(out.warning, "WARNING: Instrument is already in DATALOGGING status.");
    EXPECT_EQ(Codes(out.commands), kRefresh);

    out = Handle("STT:ACQUISITION:STOP", true, kStopDataLoggingOp);
    EXPECT_EQ(out.warning, "WARNING: Instrument is already in NO DATALOGGING status.");
    EXPECT_EQ(Codes(out.commands), kRefresh);

    out = Handle("STT:ACQUISITION:RUN", true, kStopDataLoggingOp);
    EXPECT_EQ(out.warning, "");
    EXPECT_EQ(Codes(out.commands), Then({86}, kRefresh));

    // A download stops a run first.
    EXPECT_EQ(Codes(Handle("STT:ACQUISITION:RUN", false, kStartDownloadOp).commands),
              (std::vector<int>{12, 110}));
    out = Handle("STT:ACQUISITION:STOP", false, kStartDownloadOp);
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{110}));
    EXPECT_EQ(out.pendingOp, kNoPendingOp);
}

TEST(IntegrationTime, TextForTheQuestion) {
    EXPECT_EQ(IntegrationTimeText("HH:02"), "02 h");
    EXPECT_EQ(IntegrationTimeText("MM"), "MM m");
    EXPECT_EQ(IntegrationTimeText("10"), "10");
    EXPECT_EQ(IntegrationTimeText(""), "");
}

TEST(DisplayReply, KeysUntilTheMeasurementScreen) {
    Answers none;
    struct Case {
        const char* screen;
        std::vector<int> codes;
    };
    for (const Case& c : {
             Case{"Confirm STOP ?", {103, 100}},
             Case{"Menu   Title", {87, 100}},
             Case{"Replay", {104, 106, 100}},
             Case{"Alphanumeric", {87, 100}},
             Case{"Parameter", {105, 100}},
         }) {
        const auto out = OnDisplayStateReply(c.screen, false, none.Fn());
        EXPECT_EQ(Codes(out.commands), c.codes) << c.screen;
        EXPECT_TRUE(out.checkDisplay) << c.screen;
        EXPECT_EQ(out.warning, "");
    }

    auto out = OnDisplayStateReply("Recording", false, none.Fn());
    EXPECT_EQ(out.warning,
              "WARNING: Memory error detected.\n\nDownload current data and clear memory before "
              "starting  new logging.");
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{103, 100}));

    out = OnDisplayStateReply("Memoria piena", false, none.Fn());
    EXPECT_TRUE(out.refuseDump);
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{115, 100}));

    for (const char* measuring : {"LAeq 45.2 dB", "", "\x03"}) {
        out = OnDisplayStateReply(measuring, false, none.Fn());
        EXPECT_FALSE(out.checkDisplay) << measuring;
        EXPECT_TRUE(out.commands.empty()) << measuring;
    }
    EXPECT_TRUE(none.asked.empty());
}

TEST(DisplayReply, RunningProgramIsLeftOnlyWhenConfirmed) {
    Answers answers{{true, false, true}};
    auto out = OnDisplayStateReply("PROGRAM:1", false, answers.Fn());
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{103, 100}));
    EXPECT_EQ(answers.asked.back(), "WARNING: Calibration program is active.\nConfirm Exit?");

    out = OnDisplayStateReply("PROGRAM:4", false, answers.Fn());
    EXPECT_TRUE(out.commands.empty());
    EXPECT_FALSE(out.checkDisplay);
    EXPECT_EQ(answers.asked.back(), "WARNING: Diagnostic Test program is active.\nConfirm Exit?");

    // Another program is named by the screen text itself, taken literally.
    out = OnDisplayStateReply("PROGRAM:9 %s%n", false, answers.Fn());
    EXPECT_EQ(answers.asked.back(), "WARNING: PROGRAM:9 %s%n is active.\nConfirm Exit?");
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{103, 100}));

    Answers none;
    out = OnDisplayStateReply("PROGRAM:3", true, none.Fn());
    EXPECT_EQ(Codes(out.commands), (std::vector<int>{103, 100}));
    EXPECT_TRUE(none.asked.empty());
}
