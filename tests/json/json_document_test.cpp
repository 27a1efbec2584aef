#include "json/json_document.h"

#include <gtest/gtest.h>

TEST(JsonParse, RejectsWhatTheStrictParserRejects) {
    const char* bad[] = {"",
                         "  \t\r\n",
                         "{} {}",
                         "{\"a\": 1,}",
                         "{\"a\": 1} // note",
                         "{'a': 1}",
                         "[NaN]",
                         "[Infinity]",
                         "{\"a\": \"\x01\"}",
                         "\xEF\xBB\xBF{}",
                         "[\"\\ud800\"]"};
    for (const char* text : bad) {
        rapidjson::Document d;
        EXPECT_FALSE(JsonParse(d, text)) << text;
    }
    rapidjson::Document d;
    EXPECT_TRUE(JsonParse(d, " {\"a\": [1, true, null, \"x\\/y\"]}\r\n"));
}

TEST(JsonParse, FailureKeepsThePreviousValue) {
    rapidjson::Document d;
    ASSERT_TRUE(JsonParse(d, R"({"product title": "Dravi"})"));
    EXPECT_FALSE(JsonParse(d, "{"));
    EXPECT_EQ(JsonMemberText(d, "product title", "none"), "Dravi");
}

TEST(JsonMemberText, AbsentPresentAndNonStringMembers) {
    rapidjson::Document d;
    ASSERT_TRUE(JsonParse(
        d, R"({"s": "text", "n": 12, "b": true, "z": null, "o": {}, "a": ["x"], "cut": "ab\u0000cd"})"));
    EXPECT_EQ(JsonMemberText(d, "missing", ""), "");
    EXPECT_EQ(JsonMemberText(d, "missing", "default"), "default");
    EXPECT_EQ(JsonMemberText(d, "S", "absent"), "absent") << "names compare byte for byte";
    EXPECT_EQ(JsonMemberText(d, "s", "x"), "text");
    for (const char* key : {"n", "b", "z", "o", "a"}) EXPECT_EQ(JsonMemberText(d, key, "x"), "") << key;
    EXPECT_EQ(JsonMemberText(d, "cut", ""), "ab");
    EXPECT_TRUE(JsonMember(d, "a").IsArray());
    EXPECT_TRUE(JsonMember(d, "missing").IsNull());
}

TEST(JsonMemberText, KoreanReadsTheSameLiteralOrEscaped) {
    rapidjson::Document literal, escaped;
    ASSERT_TRUE(JsonParse(literal, "{\"t\": \"세션 서버\"}"));
    ASSERT_TRUE(JsonParse(escaped, R"({"t": "\uc138\uc158 \uc11c\ubc84"})"));
    EXPECT_EQ(JsonMemberText(literal, "t", ""), "세션 서버");
    EXPECT_EQ(JsonMemberText(escaped, "t", ""), "세션 서버");
}

TEST(JsonMember, RootThatIsNotAnObjectHasNoMembers) {
    for (const char* text : {R"(["product title"])", R"("product title")", "42"}) {
        rapidjson::Document d;
        ASSERT_TRUE(JsonParse(d, text));
        EXPECT_FALSE(JsonHasMember(d, "product title"));
        EXPECT_TRUE(JsonMember(d, "product title").IsNull());
        EXPECT_EQ(JsonMemberText(d, "product title", "dflt"), "dflt");
    }
}

TEST(JsonParse, DeepNestingNeitherCrashesNorHidesTheMembers) {
    constexpr int kDepth = 300000;
    const std::string nested = std::string(kDepth, '[') + std::string(kDepth, ']');
    rapidjson::Document d;
    EXPECT_TRUE(JsonParse(d, nested));
    EXPECT_TRUE(d.IsArray());

    rapidjson::Document member;
    ASSERT_TRUE(
        JsonParse(member, R"({"deep": )" + std::string(kDepth, '[') + std::string(kDepth, ']') + "}"));
    EXPECT_FALSE(JsonParse(member, std::string(kDepth, '[') + std::string(kDepth - 1, ']')))
        << "one bracket short";
    EXPECT_TRUE(JsonMember(member, "deep").IsArray()) << "the failed parse kept the earlier document";
}
