#include "link/identity_replies.h"

#include <gtest/gtest.h>

#include <deque>

#include "link/setup_replies.h"

namespace {

// The frame's queue: normal commands join the head, urgent ones the tail, and the tail goes
// out first.
std::vector<int> SendOrder(const std::vector<FollowUp>& queued) {
    std::deque<int> queue;
    for (const FollowUp& f : queued) {
        if (f.urgent)
            queue.push_back(f.code);
        else
            queue.push_front(f.code);
    }
    return {queue.rbegin(), queue.rend()};
}

class IdentityReplies : public ::testing::Test {
protected:
    CInstrStatus current;
    CInstrStatus edited;
};

}  // namespace

TEST_F(IdentityReplies, ModelReplyStartsTheChain) {
    const auto chain = OnInstrModelReply("SET:INSTR_MODEL: QS4060 \r\n\x03", current, edited);
    EXPECT_EQ(current.m_strModel, "QS4060");
    EXPECT_EQ(edited.m_strModel, "QS4060");
    // The plain QS4060 reads its extended range first, then its options.
    EXPECT_EQ(SendOrder(chain), (std::vector<int>{121, 120, 2, 1, 24, 100, 17, 11, 109}));

    for (const char* other : {"SET:INSTR_MODEL:QS4060X", "SET:INSTR_MODEL:QS4160_L", "garbage"}) {
        const auto noRange = OnInstrModelReply(other, current, edited);
        EXPECT_EQ(SendOrder(noRange), (std::vector<int>{120, 2, 1, 24, 100, 17, 11, 109})) << other;
    }
    EXPECT_EQ(current.m_strModel, "garbage");
    EXPECT_TRUE(OnInstrModelReply("", current, edited).size() == 8);
}

TEST_F(IdentityReplies, OptionsAndClassDecorateTheModel) {
    OnInstrModelReply("SET:INSTR_MODEL:QS4060", current, edited);
    StoreQueryReply(121, "SET:EXT_RNG:ON", current, edited);
    EXPECT_EQ(OnOptionsReply("SET:OPTIONS:rn  \x03", current, edited),
              (std::vector<FollowUp>{{205, true}, {206, false}}));
    EXPECT_EQ(current.m_strModel, "QS4060_rn1");
    OnClassReply("SET:CLASS: 1\x03", current, edited);
    EXPECT_EQ(current.m_strModel, "QS4060_rn1$1");
    EXPECT_EQ(edited.m_strModel, "QS4060_rn1$1");
    EXPECT_EQ(current.m_strClass, "1");
    EXPECT_EQ(edited.m_strClass, "1");

    // Without the extended range: no option letters; then no colon, the whole reply.
    StoreQueryReply(121, "SET:EXT_RNG:OFF", current, edited);
    OnInstrModelReply("SET:INSTR_MODEL:QS4160_L", current, edited);
    EXPECT_EQ(OnOptionsReply("SET:OPTIONS:", current, edited),
              (std::vector<FollowUp>{{205, true}}));
    EXPECT_EQ(current.m_strModel, "QS4160_L_00");
    OnInstrModelReply("SET:INSTR_MODEL:QS4060", current, edited);
    OnOptionsReply("AB", current, edited);
    EXPECT_EQ(edited.m_strModel, "QS4060_AB0");
}

TEST(IdentityReplyKeys, EachIdentityQueryNamesWhatStandsBeforeItsValue) {
    EXPECT_EQ(IdentityReplyKey(0), "SET:INSTR_MODEL:");
    EXPECT_EQ(IdentityReplyKey(1), "SET:INSTR_NUMBER:");
    EXPECT_EQ(IdentityReplyKey(2), "SET:INSTR_VERSION:");
    EXPECT_EQ(IdentityReplyKey(5), "SET:MIC_NUMBER:");
    // Not identity queries: the class reply, a setting's.
    EXPECT_EQ(IdentityReplyKey(205), std::nullopt);
    EXPECT_EQ(IdentityReplyKey(16), std::nullopt);
}
