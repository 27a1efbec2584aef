#include "report/result_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "report/display_columns.h"
#include "sys/fs_path.h"
#include "tests/regex_matchers.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

namespace {

ReportFacts sample_facts(const std::string& all_users_folder) {
    ReportFacts f;
    f.product_title = "Quenmora";
    f.version = "1.0.0.1";
    f.built_time = "2024-03-05 14:07:09";
    f.memory_available = 8165000000ull;
    f.memory_total = 17179869184ull;
    f.disk_root = "/";
    f.disk_free = 0;
    f.disk_total = 1099511627776ull;
    f.all_users_folder = all_users_folder;
    f.monitors = {Rect{0, 0, 1920, 1080}, Rect{-1280, 0, 0, 1024}};
    return f;
}

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

}  // namespace

TEST(ResultReport, WritesEveryLineInOrder) {
    ScratchFolder dir;
    const std::string path = dir / "check_result.txt";
    const ReportRowTable rows(3, {{"세션", "14:07:09", "10******40"}, {"API", "14:07:10", "api.example"}});
    ASSERT_TRUE(save_check_result(path, sample_facts(dir.path()), rows));

    const std::string folder = dir / "__test_for_create_folder__";
    const std::string file = folder + "/__test_for_create_file__.txt";
    const std::string expected =
        "[Quenmora Check Tool]\n"
        "version : 1.0.0.1\n"
        "built time : 2024-03-05 14:07:09\n\n"
        "memory : 7.7GB / 16.0GB\n"
        "disk / : 0.0GB / 1,024.0GB\n\n"
        "[Directory Auth]\n"
        "folder create test (" +
        folder +
        ") : success\n"
        "folder create test (" +
        file +
        ") : success\n"
        "DeleteFile(" +
        file +
        ") success\n"
        "DeleteFile(" +
        folder +
        ") success\n"
        "\n[Monitor Info]\n"
        "[0] (0, 0)~(1920, 1080) (1920 x 1080)\n"
        "[1] (-1280, 0)~(0, 1024) (1280 x 1024)\n"
        "\n"
        "[Server Check Result]\n"
        "000  세션    14:07:09    10******40     \n"
        "001  API     14:07:10    api.example    \n"
        "\n";
    EXPECT_EQ(read_file_bytes(path), "\xEF\xBB\xBF" + crlf(expected));
    EXPECT_FALSE(fs::exists(fs_path(folder)));

    // A second run replaces the first report.
    ASSERT_TRUE(save_check_result(path, sample_facts(dir.path()), ReportRowTable()));
    EXPECT_THAT(read_file_bytes(path), ::testing::EndsWith("[Server Check Result]\r\n\r\n"));
}

TEST(ResultReport, CellsOfAColumnEndTogether) {
    const ReportRowTable short_words(1, {{"OK"}, {"Fail"}});
    EXPECT_EQ(server_table_text(short_words), "000  OK      \n001  Fail    \n");

    const ReportRowTable with_korean(2, {{"OK", "x"}, {"Fail", "y"}, {"진단 중지", "z"}});
    // "OK" and "Fail" take 13 columns; "진단 중지" (9 columns) is followed by 4 blanks.
    EXPECT_EQ(server_table_text(with_korean), "000  OK" + std::string(11, ' ') + "x    \n" + "001  Fail" +
                                                  std::string(9, ' ') + "y    \n" +
                                                  "002  진단 중지    z    \n");
    for (int r = 0; r < 3; ++r) {
        const std::string cell = pad_right(with_korean.cell_text(r, 0), 13);
        EXPECT_EQ(display_width(cell), 13) << r;
    }
    EXPECT_EQ(server_table_text(ReportRowTable()), "");
    EXPECT_EQ(display_width("漢字ｶﾅＡ"), 8);     // ideographs and full-width forms 2, half-width kana 1
    EXPECT_EQ(display_width("e\u0301\xff"), 2);  // a combining accent takes none, a stray byte one
}

TEST(ResultReport, DirectoryTestReportsFailuresWithErrorCodes) {
    ScratchFolder dir;
    write_file_bytes(dir / "not_a_folder", "x");
    const std::string lines = directory_test_text(dir / "not_a_folder");
    const std::string folder = regex_matchers::escaped(dir / "not_a_folder/__test_for_create_folder__");
    EXPECT_THAT(lines, regex_matchers::MatchesRegex(
                           "folder create test \\(" + folder +
                           "\\) : failed\n"
                           "folder create test \\(" +
                           folder +
                           "/__test_for_create_file__\\.txt\\) : failed\n"
                           "DeleteFile\\(" +
                           folder +
                           "/__test_for_create_file__\\.txt\\) failed\\. error code : [1-9][0-9]*\n"
                           "DeleteFile\\(" +
                           folder + "\\) failed\\. error code : [1-9][0-9]*\n"));
}

TEST(ResultReport, LeftoverTestFolderIsReusedAndRemoved) {
    ScratchFolder dir;
    fs::create_directories(fs_path(dir / "__test_for_create_folder__/left/over"));
    write_file_bytes(dir / "__test_for_create_folder__/left/over/crash.txt", "x");
    const std::string lines = directory_test_text(dir.path());
    EXPECT_THAT(lines, ::testing::StartsWith("folder create test (" +
                                             dir / "__test_for_create_folder__) : success\n"));
    EXPECT_THAT(lines, ::testing::EndsWith("__test_for_create_folder__) success\n"));
    EXPECT_FALSE(fs::exists(fs_path(dir / "__test_for_create_folder__")));
}

TEST(ResultReport, UncreatableFileStopsBeforeTheFolderTest) {
    ScratchFolder dir;
    EXPECT_FALSE(
        save_check_result(dir / "missing/check_result.txt", sample_facts(dir.path()), ReportRowTable()));
    EXPECT_FALSE(fs::exists(fs_path(dir / "__test_for_create_folder__")));
    EXPECT_FALSE(fs::exists(fs_path(dir / "missing")));
}

TEST(ResultReport, RowTableReadsMissingCellsAsEmpty) {
    const ReportRowTable table(2, {{"a", "b"}, {"c"}});
    EXPECT_EQ(table.row_count(), 2);
    EXPECT_EQ(table.column_count(), 2);
    EXPECT_EQ(table.cell_text(1, 0), "c");
    EXPECT_EQ(table.cell_text(1, 1), "");
    EXPECT_EQ(table.cell_text(5, 0), "");
}
