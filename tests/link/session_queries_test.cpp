// The queries of a whole-setup read and of a new session, by model class.
#include "link/session_queries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Codes = std::vector<int>;

Codes From(const Codes& codes, size_t first, size_t count = 100) {
    return Codes(codes.begin() + static_cast<long>(first),
                 codes.begin() + static_cast<long>(std::min(codes.size(), first + count)));
}

bool Holds(const Codes& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

TEST(SessionQueriesTest, TheSetupReadFollowsTheModelsLettersAndVariants) {
    // The 24 common queries, then the spectrum unless "p", "q" or "r", then the end.
    const Codes plain = SetupQueryCodes("QS4060_00$1");
    EXPECT_EQ(From(plain, 0, 4), (Codes{2, 1, 3, 4}));
    EXPECT_EQ(From(plain, 23), (Codes{36, 40, 49, 88, 90, 127, 129, 83}));
    EXPECT_FALSE(Holds(SetupQueryCodes("QS4060_p0$1"), 40));
    EXPECT_EQ(From(SetupQueryCodes("QS4160_00$1"), 24),
              (Codes{40, 18, 19, 22, 23, 37, 38, 39, 41, 42,  43,  44,
                     45, 46, 47, 48, 92, 94, 49, 88, 90, 127, 129, 83}));

    // Report letters: octaves and third octaves ("n"), octaves only ("J"), none ("c").
    EXPECT_EQ(From(SetupQueryCodes("QS4060_n0$1"), 25, 12),
              (Codes{206, 199, 143, 145, 147, 149, 151, 153, 155, 161, 157, 159}));
    const Codes octaves = SetupQueryCodes("QS4060_J0$2");
    EXPECT_EQ(std::count(octaves.begin(), octaves.end(), 157), 1);
    EXPECT_FALSE(Holds(octaves, 159));
    EXPECT_FALSE(Holds(SetupQueryCodes("QS4060_c0$1"), 206));
    // "QS4160_I" and "_M" have no short Leq and FFT queries.
    const Codes withFft = SetupQueryCodes("QS4160_L0$1");
    const Codes withoutFft = SetupQueryCodes("QS4160_I0$1");
    for (int code : {201, 203, 197})
        EXPECT_TRUE(Holds(withFft, code) && !Holds(withoutFft, code)) << code;
    EXPECT_EQ(withoutFft.size() + 3, withFft.size());
}

TEST(SessionQueriesTest, ANewSessionAsksTheSetupAndEndsWithTheMonitoringAndAcquisitionStates) {
    const Codes plain = NewSessionQueryCodes("QS4060_00$1");
    EXPECT_EQ(plain, (Codes{1,  2,  3,  4,  5,  6,  7,  16, 17, 20, 21, 127, 24, 25,  26, 27,
                            28, 29, 30, 31, 32, 33, 34, 35, 36, 40, 49, 88,  90, 129, 98, 11}));
    EXPECT_FALSE(Holds(NewSessionQueryCodes("QS4060_r1$1"), 40));
    EXPECT_EQ(From(NewSessionQueryCodes("QS4160_M0$1"), plain.size() - 2),
              (Codes{18, 19, 22, 23, 37, 38, 39, 41, 42, 43, 44, 92, 94, 98, 11}));
}
