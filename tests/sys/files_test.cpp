#include "sys/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "sys/folders.h"
#include "sys/system_figures.h"
#include "temp_folder_support.h"

TEST(WriteTextFile, Utf8WithBomAndCrLf) {
    TempFolder temp;
    std::string path = temp / "out.txt";
    ASSERT_TRUE(write_text_file(path, "첫 줄\nsecond\r\nthird\n", 65001, false));
    EXPECT_EQ(TempFolder::read(path), "\xEF\xBB\xBF첫 줄\r\nsecond\r\nthird\r\n");
    ASSERT_TRUE(write_text_file(path, "", 65001, false));
    EXPECT_EQ(TempFolder::read(path), "\xEF\xBB\xBF") << "truncated, BOM only";
}

TEST(WriteTextFile, CodePageZeroWritesBytesAsTheyAre) {
    TempFolder temp;
    std::string path = temp / "raw.txt";
    ASSERT_TRUE(write_text_file(path, "QUJD\nREVG", 0, true));
    EXPECT_EQ(TempFolder::read(path), std::string("QUJD\nREVG\0", 10));
    ASSERT_TRUE(write_text_file(path, "plain\n", 0, false));
    EXPECT_EQ(TempFolder::read(path), "plain\n");
    EXPECT_FALSE(write_text_file(temp / "no/such/folder/x.txt", "x", 65001, false));
}

TEST(FileSize, FilesAndVolumes) {
    TempFolder temp;
    EXPECT_EQ(get_file_size(temp.write("five.bin", "12345")), 5u);
    EXPECT_EQ(get_file_size(temp / "missing"), 0u);
    uint64_t total = get_disk_total("/");
    ASSERT_GT(total, 0u);
    EXPECT_LE(get_file_size("/"), total);
    EXPECT_GT(get_file_size("C:"), 0u) << "a drive means the root file system";
}

TEST(DiskFigures, DriveSpellingsQueryTheSameRoot) {
    EXPECT_EQ(get_disk_total("C"), get_disk_total("/"));
    EXPECT_EQ(get_disk_total("C:\\"), get_disk_total("/"));
    EXPECT_EQ(get_disk_total("c:"), get_disk_total("/"));
    EXPECT_EQ(get_disk_total(""), 0u);
    EXPECT_EQ(get_disk_free("/no/such/volume"), 0u);
    EXPECT_LE(get_disk_free("/"), get_disk_total("/"));
    uint64_t total = 0;
    uint64_t available = get_memory_status(&total);
    EXPECT_GT(total, 0u);
    EXPECT_LE(available, total);
}

TEST(DeleteFolder, RemovesEverythingBelow) {
    TempFolder temp;
    temp.write("doomed/a/b/c.txt", "x");
    EXPECT_TRUE(delete_folder(temp / "doomed"));
    EXPECT_FALSE(std::filesystem::exists(temp / "doomed"));
    EXPECT_FALSE(delete_folder(temp / "doomed")) << "nothing left to delete";
    EXPECT_FALSE(delete_folder(""));
}
