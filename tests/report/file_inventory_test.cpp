#include "report/file_inventory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "report/display_columns.h"
#include "report/redactor.h"
#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/fs_path.h"
#include "tests/regex_matchers.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using regex_matchers::ContainsRegex;
using regex_matchers::MatchesRegex;

namespace {

const std::string kHeader =
    "filename                        date/time                     size(B)  version             ";

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class FileInventory : public ::testing::Test {
protected:
#ifndef _WIN32
    void SetUp() override {
        setenv("LC_ALL", "ko_KR.UTF-8", 1);
    }  // dates as 2024-03-05 14:07:09
#endif
    ScratchFolder dir;
};

}  // namespace

TEST_F(FileInventory, EmptyFolderGivesTheHeadOnlyWithBomAndCrLf) {
    fs::create_directory(fs_path(dir / "app"));
    const std::string out = dir / "fileinfo_agent_app.txt";
    EXPECT_EQ(save_file_info(out, "Quenmora", dir / "app"), InventoryResult::kWritten);
    EXPECT_EQ(read_file_bytes(out),
              "\xEF\xBB\xBF[Quenmora File Information]\r\n\r\ninstall folder : " + (dir / "app") +
                  "\r\n\r\n" + kHeader + "\r\n" + std::string(85, '-') + "\r\n");
}

TEST_F(FileInventory, RowsFollowTheFullPathsAndKeepLongValuesWhole) {
    fs::create_directories(fs_path(dir / "app/a"));
    fs::create_directories(fs_path(dir / "app/b"));
    write_file_bytes(dir / "app/b/same.dll", std::string(1234567, 'x'));
    write_file_bytes(dir / "app/a/same.dll", "");
    const std::string long_name = "a_file_name_longer_than_thirty_characters.log";
    write_file_bytes(dir / ("app/" + long_name), "12");
    write_file_bytes(dir / "app/한글파일.txt", "1");

    const std::string text = file_info_text("Q", dir / "app",
                                            {dir / "app/a/same.dll", dir / "app/b/same.dll",
                                             dir / ("app/" + long_name), dir / "app/한글파일.txt"});
    const std::vector<std::string> lines = lines_of(text);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[4], kHeader);
    // The date order is the interface language's: Korean on POSIX (set above); on Windows the system's,
    // which a program cannot change for itself, so the date's length may vary there.
    const std::string time = is_korean_ui()
                                 ? "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}"
                                 : "[0-9]{1,2}/[0-9]{1,2}/[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}( [AP]M)?";
    EXPECT_THAT(lines[6], MatchesRegex("same\\.dll {22}  " + time + " +0 {22}"));
    EXPECT_THAT(lines[7], MatchesRegex("same\\.dll {22}  " + time + " +1,234,567 {22}"));
    EXPECT_THAT(lines[8], MatchesRegex(long_name + "  " + time + " +2 {22}"));
    EXPECT_EQ(lines[6].size(), 32u + 37 + 22) << "the date and the size fill their columns";
    EXPECT_EQ(lines[7].size(), lines[6].size()) << "sizes end together";
    // The Korean name takes 10 display columns, so 20 blanks fill it to 30.
    EXPECT_EQ(lines[9].substr(0, std::string("한글파일.txt").size() + 20),
              "한글파일.txt" + std::string(20, ' '));
    EXPECT_EQ(display_width(lines[9]), display_width(lines[6]));
}

TEST_F(FileInventory, ListsEveryFileBelowTheFolderInPathOrder) {
    fs::create_directories(fs_path(dir / "app/z/deep"));
    write_file_bytes(dir / "app/z/deep/b.txt", "b");
    write_file_bytes(dir / "app/a.txt", "a");
    write_file_bytes(dir / "app/z/c.txt", "c");
    const std::string out = dir / "inv.txt";
    EXPECT_EQ(save_file_info(out, "Q", dir / "app"), InventoryResult::kWritten);
    std::vector<std::string> lines = lines_of(read_file_bytes(out));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[6].substr(0, 5), "a.txt");
    EXPECT_EQ(lines[7].substr(0, 5), "c.txt");  // app/z/c.txt sorts before app/z/deep/b.txt
    EXPECT_EQ(lines[8].substr(0, 5), "b.txt");
}

TEST_F(FileInventory, MissingOrUnusableFolders) {
    const std::string out = dir / "inv.txt";
    EXPECT_EQ(save_file_info(out, "Q", ""), InventoryResult::kSkipped);
    EXPECT_EQ(save_file_info(out, "Q", dir / "missing"), InventoryResult::kSkipped);
    EXPECT_FALSE(fs::exists(fs_path(out)));

    write_file_bytes(dir / "plain_file", "x");  // exists, but is no folder: an inventory without rows
    EXPECT_EQ(save_file_info(out, "Q", dir / "plain_file"), InventoryResult::kWritten);
    EXPECT_EQ(lines_of(read_file_bytes(out)).size(), 6u);

    fs::create_directory(fs_path(dir / "app"));
    EXPECT_EQ(save_file_info(dir / "no/such/folder/inv.txt", "Q", dir / "app"), InventoryResult::kNotCreated);
}

TEST_F(FileInventory, WithARedactorNamesAreRedactedAndVersionsNever) {
    const std::string exe = get_exe_path(true);
    const std::string version = get_file_version(exe);  // the build's version here, a dotted quad
    write_file_bytes(dir / "jkim_10.0.0.1.log", "");
    Redactor redactor(UserIdentity{"kiosk-07", "jkim", "", dir.path()});
    const std::string text = file_info_text("Q", dir.path(), {exe, dir / "jkim_10.0.0.1.log"}, &redactor);
    EXPECT_THAT(text, ::testing::HasSubstr("install folder : home-1\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("user-1_ip-1.log"));
    EXPECT_THAT(text, ContainsRegex("  " + regex_matchers::escaped(version) + " *\n"));
}
