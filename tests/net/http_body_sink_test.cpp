#include "net/http_body_sink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sys/fs_path.h"

namespace {

std::string in_memory(const std::string& body, std::int64_t announced, std::size_t write_size = 1000) {
    HttpBodySink sink("", announced);
    for (std::size_t at = 0; at < body.size(); at += write_size) {
        EXPECT_TRUE(sink.write(body.data() + at, std::min(write_size, body.size() - at)));
    }
    return sink.finish();
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DownloadFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("net_body_sink_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

}  // namespace

TEST(HttpBodySink, DropsTheByteOrderMarkAndKeepsTheLastBytes) {
    EXPECT_EQ(in_memory("\xEF\xBB\xBF{\"a\":\"\xED\x95\x9C\"}", -1), "{\"a\":\"\xED\x95\x9C\"}");
    EXPECT_EQ(in_memory("x\xEF\xBB\xBF", -1), "x\xEF\xBB\xBF") << "only a mark at the start is dropped";
    EXPECT_EQ(in_memory("\xEF\xBB\xBF{}", -1, 1), "{}") << "a mark that arrives byte by byte";
    // A mark that was decoded once too often arrives as three characters and is dropped too.
    EXPECT_EQ(in_memory("\xC3\xAF\xC2\xBB\xC2\xBFok", -1), "ok");
    // A list a server keeps as PowerShell 5 saved it: UTF-16 (a NUL in every other byte), whole.
    const std::string utf16("\xFF\xFE{\0\"\0\x5C\xD5\"\0}\0", 12);
    EXPECT_EQ(in_memory(utf16, -1), "{\"\xED\x95\x9C\"}");
}

TEST(HttpBodySink, KeepsWhatCameBeforeTheFirstNulOfEachPiece) {
    EXPECT_EQ(in_memory(std::string("abc\0def", 7), -1), "abc");
    std::string body(HttpBodySink::kPieceSize, 'a');
    body[10] = '\0';
    body += "second";
    EXPECT_EQ(in_memory(body, -1, 333), std::string(10, 'a') + "second");
}

TEST(HttpBodySink, NeverKeepsMoreThanTheBufferHolds) {
    EXPECT_EQ(in_memory("0123456789", 4), "0123");
    EXPECT_EQ(in_memory("", 0), "");
    const std::string long_body(HttpBodySink::kDefaultCapacity + 5000, 'z');
    EXPECT_EQ(in_memory(long_body, -1).size(), HttpBodySink::kDefaultCapacity);
    // An absurd announced length is a limit, not an allocation.
    EXPECT_EQ(in_memory("small", std::int64_t{1} << 50), "small");
}

TEST(HttpBodySink, StrayBytesBecomeReplacementCharacters) {
    EXPECT_EQ(in_memory("a\xFF"
                        "b\xC3",
                        -1),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(valid_utf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(valid_utf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
        << "surrogates are not UTF-8";
}

TEST_F(DownloadFolder, WritesTheBodyToTheFileReplacingAnOldOne) {
    // A Hangul name, as under a Korean account's profile: on Windows it must reach the system as UTF-16.
    const auto path = folder / fs_path("새 폴더 checklist.json");
    std::ofstream(path) << "old content that is longer";
    HttpBodySink sink(utf8_of(path), -1);
    const std::string body("new\0body", 8);
    ASSERT_TRUE(sink.write(body.data(), body.size()));
    EXPECT_EQ(sink.finish(), "");
    EXPECT_EQ(read_file(path), body) << "a file gets every byte, NUL included";
}

TEST_F(DownloadFolder, AnEmptyBodyLeavesAnOldFileUntouched) {
    const auto path = folder / "checklist.json";
    std::ofstream(path) << "old";
    HttpBodySink sink(path.string(), 0);
    EXPECT_TRUE(sink.write("", 0));
    EXPECT_EQ(sink.finish(), "");
    EXPECT_EQ(read_file(path), "old");
}

TEST_F(DownloadFolder, ReportsAFileThatCannotBeReplacedOrCreated) {
    const auto blocked = folder / "a_folder";
    std::filesystem::create_directories(blocked / "inside");
    HttpBodySink replace(blocked.string(), -1);
    EXPECT_FALSE(replace.write("x", 1));
    EXPECT_EQ(replace.failure(), "error=" + blocked.string() + "\n\nfail to DeleteFile().");

    const auto nowhere = folder / "missing" / "file.json";
    HttpBodySink create(nowhere.string(), -1);
    EXPECT_FALSE(create.write("x", 1));
    EXPECT_EQ(create.failure(), "error=" + nowhere.string() + "\n\nfail to CreateFile().");
}

TEST(HttpBodySink, ALimitRefusesWhatIsAnnouncedOrBroughtBeyondIt) {
    HttpBodySink announced("", 5000, 4096);
    EXPECT_FALSE(announced.write("{", 1)) << "refused at the first byte, not after 4 KiB";
    EXPECT_TRUE(announced.too_large());

    HttpBodySink brought("", -1, 4096);
    const std::string piece(1000, 'x');
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(brought.write(piece.data(), piece.size()));
    EXPECT_TRUE(brought.write(piece.data(), 96)) << "exactly the limit is still fine";
    EXPECT_FALSE(brought.too_large());
    EXPECT_FALSE(brought.write("x", 1));
    EXPECT_TRUE(brought.too_large());
    EXPECT_TRUE(brought.failure().empty()) << "too large is not a file failure";

    HttpBodySink unlimited("", 1 << 30);
    EXPECT_TRUE(unlimited.write(piece.data(), piece.size()));
    EXPECT_FALSE(unlimited.too_large());
}

TEST(HttpBodySink, AHugeAnnouncedLengthDoesNotRaiseTheBufferBeyondItsCeiling) {
    const std::string chunk(1024 * 1024, 'a');
    HttpBodySink sink("", std::int64_t{1} << 40);
    for (std::size_t kept = 0; kept <= HttpBodySink::kMaxCapacity; kept += chunk.size())
        ASSERT_TRUE(sink.write(chunk.data(), chunk.size()));
    EXPECT_EQ(sink.finish().size(), HttpBodySink::kMaxCapacity);
}
