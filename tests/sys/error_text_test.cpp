#include "sys/error_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <system_error>

TEST(ErrorText, InternetNumbersHaveTheirOwnMessages) {
    EXPECT_EQ(error_text(12002), "The operation timed out");
    EXPECT_EQ(error_text(12007), "The server name or address could not be resolved");
    EXPECT_EQ(error_text(12029), "A connection with the server could not be established");
    EXPECT_EQ(error_text(12030), "The connection with the server was terminated abnormally");
    EXPECT_EQ(error_text(12031), "The connection with the server was reset");
    EXPECT_EQ(error_text(12152), "The server returned an invalid or unrecognized response");
    EXPECT_EQ(error_text(12157), "An error occurred in the secure channel support");
}

TEST(ErrorText, OtherCodesGiveTheSystemMessage) {
    EXPECT_EQ(error_text(2), std::system_category().message(2));
    EXPECT_FALSE(is_unknown_error_text(error_text(2)));
    EXPECT_TRUE(is_unknown_error_text(error_text(19999)));
}

TEST(ErrorText, UnknownTexts) {
    for (const char* text : {"", "unknown error", "Unknown error", "Unknown error 4242", "Unknown error -5",
                             "Unknown error code"})
        EXPECT_TRUE(is_unknown_error_text(text)) << text;
    for (const char* text :
         {"Unknown error occurred in module", "No such file or directory", "Unknown error 12a"})
        EXPECT_FALSE(is_unknown_error_text(text)) << text;
}

TEST(ErrorText, KnownCodesAscendAndIncludeBothKinds) {
    std::vector<int> codes = known_error_codes();
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    EXPECT_TRUE(std::adjacent_find(codes.begin(), codes.end()) == codes.end());
    for (int code : {2, 12002, 12029, 12157, 12175})
        EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), code)) << code;
    EXPECT_FALSE(std::binary_search(codes.begin(), codes.end(), 12035));
    for (int code : codes) EXPECT_FALSE(is_unknown_error_text(error_text(code))) << code;
}
