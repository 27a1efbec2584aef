#include "log/CSCLog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "sys/fs_path.h"
#include "tests/regex_matchers.h"

using regex_matchers::MatchesRegex;

namespace {

class LogFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("checktool-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string contents(const CSCLog& log) {
        std::ifstream in(log.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path folder;
};

constexpr const char* kStamp = "\\[[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}\\]";

}  // namespace

TEST_F(LogFile, RecordFormatWithAndWithoutTag) {
    CSCLog log(folder.string(), "tool");
    EXPECT_THAT(log.write(CSCLog::info, "Dlg::f", 713, "%s(%s:%d)...", "API", "10****1", 443),
                MatchesRegex(std::string(kStamp) +
                             "\\[Dlg::f\\]\\[713\\]\\[info\\] API\\(10\\*\\*\\*\\*1:443\\)\\.\\.\\."));
    log.show_function = false;
    EXPECT_THAT(log.write(CSCLog::plain, "Dlg::f", 835, "plain"),
                MatchesRegex(std::string(kStamp) + "\\[\\]\\[835\\] plain"));
    EXPECT_THAT(log.write(6, "f", 1, "six"), MatchesRegex(std::string(kStamp) + "\\[\\]\\[1\\] six"));
    log.show_line = false;
    EXPECT_THAT(log.write(CSCLog::error, "f", 1, "e"),
                MatchesRegex(std::string(kStamp) + "\\[\\]\\[\\]\\[error\\] e"));

    const std::string text = contents(log);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF[", 0), 0u) << "a new file begins with the byte-order mark";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1) << "CR LF line ends";
    EXPECT_NE(log.path().find("/tool_"), std::string::npos);
}

TEST_F(LogFile, DebugIsNotWrittenButStillReturned) {
    CSCLog log(folder.string(), "tool");
    EXPECT_THAT(log.write(CSCLog::debug, "f", 1, "hidden"), ::testing::EndsWith("[debug] hidden"));
    EXPECT_FALSE(std::filesystem::exists(folder)) << "nothing opened for a record that is not written";
    log.write(CSCLog::plain, "f", 2, "shown");
    EXPECT_EQ(contents(log).find("hidden"), std::string::npos);
}

TEST_F(LogFile, LeadingNewlinesEmptyMessagesAndTrailingNewline) {
    CSCLog log(folder.string(), "tool");
    log.show_function = false;
    log.write(CSCLog::plain, "f", 1, "\n\ntext");
    log.write(CSCLog::plain, "f", 2, "\n\n");
    EXPECT_EQ(log.write(CSCLog::plain, "f", 3, "%s", ""), "");
    log.write(CSCLog::plain, "f", 4, "last\n");
    std::string text = contents(log).substr(3);
    // Replace every record's time stamp by T for a readable comparison.
    const std::regex stamp(kStamp);
    text = std::regex_replace(text, stamp, "T");
    EXPECT_EQ(text, "\r\n\r\nT[][1] text\r\n\r\n\r\nT[][2] \r\n\r\nT[][4] last\r\n\r\n");
}

TEST_F(LogFile, TwoThreadsWriteWholeLines) {
    CSCLog log(folder.string(), "tool");
    auto writer = [&](char c) {
        const std::string payload(200, c);
        for (int i = 0; i < 300; ++i) log.write(CSCLog::plain, "f", i, "%s", payload.c_str());
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    std::istringstream lines(contents(log).substr(3));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_TRUE(line.find(std::string(200, 'a') + "\r") != std::string::npos ||
                    line.find(std::string(200, 'b') + "\r") != std::string::npos)
            << line;
        ++count;
    }
    EXPECT_EQ(count, 600);
}

// A Korean account's folders have Hangul names; on Windows only a UTF-16 name reaches such a file.
TEST_F(LogFile, AFolderWithAHangulNameGetsItsRecords) {
    CSCLog log(utf8_of(folder / fs_path("홍길동 로그")), "도구");
    log.write(CSCLog::plain, "f", 1, "기록");
    std::ifstream in(fs_path(log.path()), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("기록"), std::string::npos) << log.path();
}

TEST_F(LogFile, UnwritableFolderLosesTheRecordQuietly) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "file") << "x";
    CSCLog log((folder / "file" / "Log").string(), "tool");
    EXPECT_EQ(log.write(CSCLog::plain, "f", 1, "lost"), "");
}

TEST_F(LogFile, StartBlockNamesTheVersionTheBuildTimeAndThePath) {
    CSCLog log(folder.string(), "tool");
    log.show_function = false;
    log.write_start_log();
    const std::string text = contents(log);
    EXPECT_NE(text.find("\r\n["), std::string::npos);
    EXPECT_NE(text.find("[][127] ==================== Program Start ===================="),
              std::string::npos);
    EXPECT_NE(text.find("[][130] file version = "), std::string::npos);
    EXPECT_NE(text.find("[][134] built datetime = "), std::string::npos);
    EXPECT_NE(text.find("[][136] log path = " + log.path() + "\r\n"), std::string::npos);
}
