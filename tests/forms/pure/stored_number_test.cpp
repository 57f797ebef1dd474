#include "forms/pure/stored_number.h"

#include <gtest/gtest.h>

using forms::storedNumber;
using forms::toInt16;

TEST(StoredNumber, OnlyNumericTextIsANumber) {
    EXPECT_EQ(storedNumber("7890"), 7890.0);
    EXPECT_EQ(storedNumber("-45"), -45.0);
    EXPECT_EQ(storedNumber(" +2.5 "), 2.5);
    EXPECT_EQ(storedNumber("1e3"), 1000.0);
    EXPECT_EQ(storedNumber(".5"), 0.5);
    for (const char* text : {"", " ", "True", "False", "12px", "1e", "-", ".", "1 2", "0x10"})
        EXPECT_FALSE(storedNumber(text)) << text;
}

TEST(StoredNumber, SixteenBitWholeNumbersWithHalvesToEven) {
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(2.6), 3);
    EXPECT_EQ(toInt16(32767.0), 32767);
    EXPECT_EQ(toInt16(-32768.4), -32768);
    EXPECT_FALSE(toInt16(32767.5)); // rounds to 32768
    EXPECT_FALSE(toInt16(40000.0));
    EXPECT_FALSE(toInt16(-32769.0));
}
