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
