// The router on its own: which owner a reply to a command goes to, and the takers of the
// replies that no command awaits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/command.h"
#include "link/reply_router.h"

namespace {

class RouterTest : public ::testing::Test {
protected:
    ReplyRouter::Handler Tell(const std::string& owner) {
        return [this, owner](const CCommand& command, const std::string& reply) {
            heard.push_back(owner + " " + std::to_string(command.GetCode()) + " " + reply);
        };
    }
    bool Route(int code, const std::string& reply) {
        return router.Route(CCommand(code, "", ""), reply);
    }

    ReplyRouter router;
    std::vector<std::string> heard;
};

TEST_F(RouterTest, ACodesOwnHandlerComesBeforeTheFamiliesWhichAreAskedInTheirOrder) {
    router.RegisterFamily([](int code) { return code < 100; }, Tell("low"));
    router.RegisterFamily([](int code) { return code < 200; }, Tell("table"));
    router.Register({17, 121}, Tell("own"));
    EXPECT_TRUE(Route(17, "a"));
    EXPECT_TRUE(Route(16, "b"));
    EXPECT_TRUE(Route(121, "c"));
    EXPECT_TRUE(Route(120, "d"));
    EXPECT_EQ(heard,
              (std::vector<std::string>{"own 17 a", "low 16 b", "own 121 c", "table 120 d"}));

    // A second owner takes the code over; a code nobody owns is dropped and says so.
    router.Register(17, Tell("new"));
    EXPECT_TRUE(Route(17, "e"));
    EXPECT_EQ(heard.back(), "new 17 e");
    EXPECT_FALSE(router.Owns(205));
    EXPECT_FALSE(Route(205, "f"));
    EXPECT_EQ(heard.size(), 5u);
}

TEST_F(RouterTest, UnaskedRepliesAreTakenOnlyByTheirTakers) {
    EXPECT_FALSE(router.TakeRecord("REC\x03"));
    EXPECT_FALSE(router.TakeStray("late"));
    bool live = false;
    router.SetRecordTaker([&live](const std::string&) { return live; });
    router.SetStrayTaker([](const std::string& reply) { return reply == "late"; });
    EXPECT_FALSE(router.TakeRecord("REC\x03"));
    live = true;
    EXPECT_TRUE(router.TakeRecord("REC\x03"));
    EXPECT_TRUE(router.TakeStray("late"));
    EXPECT_FALSE(router.TakeStray("other"));
}

}  // namespace
