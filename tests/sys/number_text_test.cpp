#include "sys/number_text.h"

#include <gtest/gtest.h>

TEST(FormatSize, FixedUnitRoundsUp) {
    EXPECT_EQ(format_size(0, 3, 1, true, true), "0.0GB");
    EXPECT_EQ(format_size(1, 3, 1, true, true), "0.1GB");
    EXPECT_EQ(format_size(17179869184ull, 3, 1, true, true), "16.0GB");
    EXPECT_EQ(format_size(8165000000ull, 3, 1, true, true), "7.7GB");
    EXPECT_EQ(format_size(1234567, 0, 0, false, true), "1,234,567");
    EXPECT_EQ(format_size(1234567, 0, 0, true, false), "1234567 Bytes");
    EXPECT_EQ(format_size(1536ull << 40, 3, 0, true, true), "1,572,864GB");
}

TEST(FormatSize, AutomaticUnitKeepsThreeDigits) {
    EXPECT_EQ(format_size(0, -1, 5, true, true), "0 Bytes");
    EXPECT_EQ(format_size(999, -1, 5, true, true), "999 Bytes");
    EXPECT_EQ(format_size(1000, -1, 5, true, true), "0.98KB");
    EXPECT_EQ(format_size(1536, -1, 0, true, true), "1.50KB");
    EXPECT_EQ(format_size(1048576, -1, 0, true, true), "1.00MB");
    EXPECT_EQ(format_size(150 * 1024 + 1, -1, 0, true, true), "151KB");
    // 999.6 KB has four digits once rounded; it must not fall into the six-decimal form.
    EXPECT_EQ(format_size(1023590, -1, 0, true, true), "1,000KB");
    EXPECT_EQ(format_size(UINT64_MAX, -1, 0, true, true), "16.0EB");
}

TEST(FormatDecimal, GroupsOnlyTheIntegerPart) {
    EXPECT_EQ(format_decimal(1234567.891, 2, true), "1,234,567.89");
    EXPECT_EQ(format_decimal(123, 0, true), "123");
    EXPECT_EQ(format_decimal(123456, 0, true), "123,456");
    EXPECT_EQ(format_decimal(1234.5, 1, false), "1234.5");
    EXPECT_EQ(format_decimal(1.5, -1, true), "1.500000");
    EXPECT_EQ(format_decimal(-1234567.5, 1, true), "-1,234,567.5");
    EXPECT_EQ(format_decimal(-123, 0, true), "-123");
}

TEST(FormatInteger, PaddingAndPlain) {
    EXPECT_EQ(format_integer(7, true, 3), "007");
    EXPECT_EQ(format_integer(1234, true, 3), "1234");
    EXPECT_EQ(format_integer(7, true, 0), "7");
    EXPECT_EQ(format_integer(12029, false, 8), "12029");
    EXPECT_EQ(format_integer(INT64_MIN, false, 0), "-9223372036854775808");
}

TEST(MaskAddress, NumbersKeepOuterParts) {
    EXPECT_EQ(MaskAddress("10.20.30.40"), "10******40");
    EXPECT_EQ(MaskAddress("10.0.0.1"), "10****1");
    EXPECT_EQ(MaskAddress("192.168.1"), "192****1");
    EXPECT_EQ(MaskAddress("12345"), "12345");
    EXPECT_EQ(MaskAddress(""), "");
}

TEST(MaskAddress, HostNamesKeepTheFirstLabel) {
    EXPECT_EQ(MaskAddress("abcdef.ghijklm.com"), "abcdef************");
    EXPECT_EQ(MaskAddress("localhost"), "**********");
    EXPECT_EQ(MaskAddress("10.0.0.a"), "10******");
    EXPECT_EQ(MaskAddress("서버.kr"), "서버***") << "counted in characters, not bytes";
}

TEST(FindText, CaseAndAbsence) {
    EXPECT_EQ(find_text("Hello World", "world", false), 6);
    EXPECT_EQ(find_text("Hello World", "world", true), -1);
    EXPECT_EQ(find_text("Hello World", "World", true), 6);
    EXPECT_EQ(find_text("Hello", "", false), -1);
    EXPECT_EQ(find_text("", "a", false), -1);
}
