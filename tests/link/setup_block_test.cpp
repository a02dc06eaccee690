// The setup block keeps each field at its fixed place, whatever length the text has.
#include <gtest/gtest.h>

#include "link/setup_block.h"

TEST(SetupBlock, FieldsArePaddedOrCutInPlaceAndTheRestStaysUnset) {
    SetupBlock block;
    EXPECT_EQ(block.Bytes(), std::string(500, '\xFF'));

    block.SetField(0, "QS4060_r1");
    block.SetField(1, "A123456789012345");
    block.SetField(44, "SINGLE");
    EXPECT_EQ(block.Field(0), "QS4060_r1  ");
    EXPECT_EQ(block.Field(1), "A1234567890");
    EXPECT_EQ(block.Bytes().substr(0, 22), "QS4060_r1  A1234567890");
    EXPECT_EQ(block.Bytes().substr(484, 11), "SINGLE     ");
    EXPECT_EQ(block.Bytes().substr(22, 11), std::string(11, '\xFF'));
    EXPECT_EQ(block.Bytes().substr(495), std::string(5, '\xFF'));

    // Out of range: nothing moves.
    block.SetField(45, "X");
    block.SetField(-1, "X");
    EXPECT_EQ(block.Field(45), "");
    EXPECT_EQ(block.Bytes().substr(495), std::string(5, '\xFF'));

    block.Fill(11, 0xFF);
    EXPECT_EQ(block.Field(0), "QS4060_r1  ");
    EXPECT_EQ(block.Field(1), std::string(11, '\xFF'));
}
