#include "cipher/meter_readings.h"

#include <gtest/gtest.h>

using namespace cipher;

TEST(MeterReadings, TargetChannelsAreTenthsOfADecibelAndTheRestTravelsOn) {
    const TargetReading reading = ReadTargetReading("094509460947A_z     ");
    EXPECT_TRUE(reading.numeric);
    EXPECT_EQ(TargetReadingText(reading), "00:00:00   94.5 - 94.6 - 94.7 - A_z     ");

    const TargetReading loud = ReadTargetReading("140000000999       ");
    EXPECT_EQ(TargetReadingText(loud), "00:00:00   140.0 - 0.0 - 99.9 -        ");
}

TEST(MeterReadings, ReferenceLevelIsItsSixCharacters) {
    const ReferenceReading reading = ReadReferenceReading("94.253123456789     ");
    EXPECT_TRUE(reading.numeric);
    EXPECT_EQ(ReferenceReadingText(reading), "00:00:00   94.25;0.0;0.0; ");
    EXPECT_TRUE(ReadReferenceReading(" 94.25xxxxxxxxx     ").numeric);
}

TEST(MeterReadings, FieldsThatAreNotWhollyNumbersStillReadTheirLeadingNumber) {
    const TargetReading target = ReadTargetReading("09x5\x01\x02\x03\x04    ABC     ");
    EXPECT_FALSE(target.numeric);
    EXPECT_EQ(target.channels[0], 0.9);
    EXPECT_EQ(target.channels[1], 0.0);
    EXPECT_FALSE(ReadTargetReading("0945    0947ABC     ").numeric);

    const ReferenceReading reference = ReadReferenceReading("9x.253         ");
    EXPECT_FALSE(reference.numeric);
    EXPECT_EQ(reference.level, 9.0);
}

TEST(MeterReadings, LogTextShowsControlBytesAsHex) {
    EXPECT_EQ(Printable(std::string("ab\x03\r\n\xff", 6)), "ab\\x03\\x0D\\x0A\\xFF");
}
