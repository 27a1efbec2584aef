// UTF-8 and UTF-16 at the system calls, and console output in a code page.
#include <gtest/gtest.h>

#include "sys/win/wide_text.h"

TEST(WideTextWin, KoreanAndAstralTextSurviveTheRoundTrip) {
    const std::string text = "진단 결과 \xF0\x9F\x98\x80 C:\\Users\\홍길동";
    const std::wstring wide = widen(text);
    EXPECT_EQ(wide.substr(0, 2), L"\uC9C4\uB2E8");
    EXPECT_EQ(narrow(wide), text);
    EXPECT_EQ(widen(""), L"");
    EXPECT_EQ(narrow(static_cast<const wchar_t*>(nullptr)), "");
}

TEST(WideTextWin, BrokenUtf8BecomesReplacementCharactersNotALostTail) {
    const std::wstring wide = widen("ab\xC3(cd");
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_EQ(wide.back(), L'd') << "the text after the broken byte is kept";
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
}

TEST(WideTextWin, ConsoleCodePagesBecomeUtf8) {
    // "한글 OK" as a Korean console writes it (code page 949).
    EXPECT_EQ(utf8_from_code_page("\xC7\xD1\xB1\xDB OK", 949), "한글 OK");
    EXPECT_EQ(utf8_from_code_page("caf\xE9", 1252), "café");
    EXPECT_EQ(utf8_from_code_page("이미 UTF-8", 65001), "이미 UTF-8");
    EXPECT_EQ(utf8_from_code_page("", 949), "");
}
