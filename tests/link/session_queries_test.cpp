// The queries of a whole-setup read and of a new session, by model class.
#include "link/session_queries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Codes = std::vector<int>;

Codes Tail(const Codes& codes, size_t from) {
    return Codes(codes.begin() + static_cast<long>(from), codes.end());
}

bool Holds(const Codes& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

const Codes kCommonSetup{2,  1,  3,  4,  5,  6,  7,  16, 17, 20, 21, 24,
                         25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};
const Codes kSetupEnd{49, 88, 90, 127, 129, 83};

}  // namespace

TEST(SessionQueriesTest, AModelWithoutLettersOrVariantsReadsTheCommonSetup) {
    Codes expected = kCommonSetup;
    expected.push_back(40);
    expected.insert(expected.end(), kSetupEnd.begin(), kSetupEnd.end());
    EXPECT_EQ(SetupQueryCodes("QS4060_00$1"), expected);
    // "p", "q" or "r": no spectrum query.
    EXPECT_FALSE(Holds(SetupQueryCodes("QS4060_p0$1"), 40));

    const Codes qs4160 = SetupQueryCodes("QS4160_00$1");
    EXPECT_EQ(Tail(qs4160, kCommonSetup.size()),
              (Codes{40, 18, 19, 22, 23, 37, 38, 39, 41, 42,  43,  44,
                     45, 46, 47, 48, 92, 94, 49, 88, 90, 127, 129, 83}));
}

TEST(SessionQueriesTest, ReportLettersAndQS4160VariantsAddTheirReportAndEventQueries) {
    const Codes thirdOctaves = SetupQueryCodes("QS4060_n0$1");
    EXPECT_EQ(Codes(thirdOctaves.begin() + 25, thirdOctaves.begin() + 37),
              (Codes{206, 199, 143, 145, 147, 149, 151, 153, 155, 161, 157, 159}));
    EXPECT_EQ(thirdOctaves.back(), 83);
    const Codes octaves = SetupQueryCodes("QS4060_J0$2");
    EXPECT_EQ(std::count(octaves.begin(), octaves.end(), 157), 1);
    EXPECT_FALSE(Holds(octaves, 159));
    EXPECT_FALSE(Holds(SetupQueryCodes("QS4060_c0$1"), 206));

    const Codes withFft = SetupQueryCodes("QS4160_L0$1");
    const Codes withoutFft = SetupQueryCodes("QS4160_I0$1");
    for (int code : {201, 203, 197}) {
        EXPECT_TRUE(Holds(withFft, code)) << code;
        EXPECT_FALSE(Holds(withoutFft, code)) << code;
    }
    EXPECT_EQ(withoutFft.size() + 3, withFft.size());
    EXPECT_EQ(std::count(withoutFft.begin(), withoutFft.end(), 195), 1);
}

TEST(SessionQueriesTest, ANewSessionAsksTheSetupAndEndsWithTheMonitoringAndAcquisitionStates) {
    const Codes plain = NewSessionQueryCodes("QS4060_00$1");
    EXPECT_EQ(plain, (Codes{1,  2,  3,  4,  5,  6,  7,  16, 17, 20, 21, 127, 24, 25,  26, 27,
                            28, 29, 30, 31, 32, 33, 34, 35, 36, 40, 49, 88,  90, 129, 98, 11}));
    EXPECT_FALSE(Holds(NewSessionQueryCodes("QS4060_r1$1"), 40));
    const Codes qs4160 = NewSessionQueryCodes("QS4160_M0$1");
    EXPECT_EQ(Tail(qs4160, plain.size() - 2),
              (Codes{18, 19, 22, 23, 37, 38, 39, 41, 42, 43, 44, 92, 94, 98, 11}));
}
