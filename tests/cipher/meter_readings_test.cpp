#include "cipher/meter_readings.h"

#include <gtest/gtest.h>

using namespace cipher;

// The common readings, and those that are not numbers, are proven in the exchanges with the
// simulated meters.
TEST(MeterReadings, TargetChannelsAreTenthsOfADecibelAndTheRestTravelsOn) {
    const TargetReading loud = ReadTargetReading("140000000999       ");
    EXPECT_TRUE(loud.numeric);
    EXPECT_EQ(TargetReadingText(loud), "00:00:00   140.0 - 0.0 - 99.9 -        ");
    EXPECT_FALSE(ReadTargetReading("0945    0947ABC     ").numeric);
}

TEST(MeterReadings, ReferenceLevelIsItsSixCharactersOrItsLeadingNumber) {
    EXPECT_TRUE(ReadReferenceReading(" 94.25xxxxxxxxx     ").numeric);
    const ReferenceReading reference = ReadReferenceReading("9x.253         ");
    EXPECT_FALSE(reference.numeric);
    EXPECT_EQ(reference.level, 9.0);
}

TEST(MeterReadings, LogTextShowsControlBytesAsHex) {
    EXPECT_EQ(Printable(std::string("ab\x03\r\n\xff", 6)), "ab\\x03\\x0D\\x0A\\xFF");
}
