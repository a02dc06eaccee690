// Telling a late answer to an overdue command from the awaited reply by the field it echoes.
#include "link/overdue_answers.h"

#include <gtest/gtest.h>

#include <string>

TEST(OverdueAnswers, EchoIsTheFamilyAndFieldOfTheSettingsAndStateFamiliesOnly) {
    EXPECT_EQ(EchoOf("SET:INSTR_N:?\r\n"), "SET:INSTR_N");
    EXPECT_EQ(EchoOf("SET:INSTR_NUMBER:A1\x03"), "SET:INSTR_NUMBER");
    EXPECT_EQ(EchoOf("STT:MON:ON\r\n"), "STT:MON");
    EXPECT_EQ(EchoOf("STT:DISPL\x03"), "STT:DISPL");
    for (const char* nothing : {"KEY:RUN", "DMP:ON\r\nMEMORY EMPTY", " 94.0 dB", "\x15\x03",
                                "SET::?", "#WRONG", "SETUP:1"})
        EXPECT_EQ(EchoOf(nothing), "") << nothing;
}

TEST(OverdueAnswers, AReplyIsLateOnlyWhenItNamesAnOverdueFieldMoreCloselyThanTheAwaitedOne) {
    OverdueAnswers overdue;
    for (const char* command :
         {"SET:INSTR_N:?\r\n", "SET:SPECT_MEAN_W:?\r\n", "STT:ACQ:?\r\n", "KEY:PRN_VAL\r\n"})
        overdue.Add(command);
    struct Case {
        const char* reply;
        const char* awaited;
        bool late;
    };
    for (const Case& c : {
             Case{"SET:INSTR_NUMBER:A1\x03", "SET:MEM_S:?\r\n", true},
             Case{"SET:INSTR_NUMBER:A1\x03", "", true},
             Case{"SET:INSTR_NUMBER:A1\x03", "SET:INSTR_N:?\r\n", false},
             Case{"SET:SPECT_MEAN_WEIGHT:FAST\x03", "SET:SPECT_MEAN:?\r\n", true},
             Case{"SET:SPECT_MEAN:LIN\x03", "SET:SPECT_MEAN:?\r\n", false},
             Case{"STT:ACQUISITION:STOP\x03", "STT:ACQ:STOP\r\n", false},
             Case{"STT:ACQUISITION:STOP\x03", "STT:REC:?\r\n", true},
             // Names that are not the command's spelt out, and replies that echo nothing.
             Case{"SET:WIND_CORRECT:OFF\x03", "SET:WND:?\r\n", false},
             Case{"SET:MIC_RESP:FF\x03", "", false},
             Case{" 94.0 dB\x03", "STT:DISPL:?\r\n", false},
         })
        EXPECT_EQ(overdue.IsLateAnswer(c.reply, c.awaited), c.late)
            << c.reply << " / " << c.awaited;
    overdue.Clear();
    EXPECT_FALSE(overdue.IsLateAnswer("SET:INSTR_NUMBER:A1\x03", "SET:MEM_S:?\r\n"));
}
