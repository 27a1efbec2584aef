#include "sys/text_convert.h"

#include <gtest/gtest.h>

TEST(Base64, PaddingAndBinaryBytes) {
    EXPECT_EQ(base64_encode(std::string()), "");
    EXPECT_EQ(base64_encode(std::string("f")), "Zg==");
    EXPECT_EQ(base64_encode(std::string("fo")), "Zm8=");
    EXPECT_EQ(base64_encode(std::string("foo")), "Zm9v");
    EXPECT_EQ(base64_encode(std::string("foobar")), "Zm9vYmFy");
    const unsigned char bytes[] = {0x00, 0xFF, 0xFE, 0x3E, 0x3F};
    EXPECT_EQ(base64_encode(bytes, sizeof(bytes)), "AP/+Pj8=");
    EXPECT_EQ(base64_encode(std::string(100, 'a')).find('\n'), std::string::npos);
}

TEST(Utf8Prefix, CutsWithinTheLimitAndNeverInsideASequence) {
    EXPECT_EQ(utf8_prefix("abc", 3), "abc");
    EXPECT_EQ(utf8_prefix("abc", 2), "ab");
    EXPECT_EQ(utf8_prefix("", 0), "");
    const std::string hangul = "가나다";  // three bytes each
    EXPECT_EQ(utf8_prefix(hangul, 9), hangul);
    EXPECT_EQ(utf8_prefix(hangul, 8), "가나");
    EXPECT_EQ(utf8_prefix(hangul, 6), "가나");
    EXPECT_EQ(utf8_prefix(hangul, 2), "");
    EXPECT_EQ(utf8_prefix("a\xF0\x9F\x98\x80", 4), "a")
        << "a four-byte character is kept whole or not at all";
    // Stray continuation bytes are no sequence: the cut steps back at most three bytes.
    const std::string stray = "ab\x80\x80\x80\x80\x80";
    EXPECT_EQ(utf8_prefix(stray, 6).size(), 3u);
}
