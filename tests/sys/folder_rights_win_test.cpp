// The all-users folder test and the private temporary folder on Windows: what they make, what they
// take over, and what they refuse.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "sys/folder_rights.h"
#include "sys/fs_path.h"
#include "sys/private_folder.h"
#include "sys/win/current_user.h"

namespace fs = std::filesystem;

namespace {

class FolderRightsWin : public ::testing::Test {
protected:
    void SetUp() override {
        shared =
            fs::temp_directory_path() / ("rights_win_" + std::to_string(GetCurrentProcessId()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(shared);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(shared, ec);
    }
    fs::path shared;
};

}  // namespace

TEST_F(FolderRightsWin, MakesWritesAndRemovesEverything) {
    const FolderRightsOutcome outcome = test_folder_rights(utf8_of(shared), "검사 폴더", "test.txt", "내용");
    EXPECT_TRUE(outcome.folder_created);
    EXPECT_TRUE(outcome.file_written);
    EXPECT_TRUE(outcome.file_deleted);
    EXPECT_EQ(outcome.file_delete_error, 0);
    EXPECT_TRUE(outcome.folder_deleted) << outcome.folder_delete_error;
    EXPECT_TRUE(fs::is_empty(shared));
}

TEST_F(FolderRightsWin, AnEarlierRunsLeftoversAreTakenOverAndCleared) {
    fs::create_directories(shared / "tool" / "deeper");
    std::ofstream(shared / "tool" / "test.txt") << "old";
    std::ofstream(shared / "tool" / "deeper" / "stray.log") << "old";
    fs::permissions(shared / "tool" / "deeper" / "stray.log", fs::perms::owner_read);
    const FolderRightsOutcome outcome = test_folder_rights(utf8_of(shared), "tool", "test.txt", "new");
    EXPECT_TRUE(outcome.file_written);
    EXPECT_TRUE(outcome.folder_deleted) << outcome.folder_delete_error;
    EXPECT_FALSE(fs::exists(shared / "tool"));
}

TEST_F(FolderRightsWin, AFileAtTheNameOrAMissingParentFailsWithTheSystemsCodes) {
    std::ofstream(shared / "taken") << "someone else's";
    const FolderRightsOutcome taken = test_folder_rights(utf8_of(shared), "taken", "test.txt", "x");
    EXPECT_FALSE(taken.folder_created);
    EXPECT_FALSE(taken.folder_deleted);
    EXPECT_NE(taken.folder_delete_error, 0);
    EXPECT_TRUE(fs::is_regular_file(shared / "taken")) << "what was there stays";

    const FolderRightsOutcome missing =
        test_folder_rights(utf8_of(shared / "missing"), "tool", "test.txt", "x");
    EXPECT_FALSE(missing.folder_created);
    EXPECT_EQ(missing.folder_delete_error, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(missing.file_delete_error, ERROR_FILE_NOT_FOUND);
}

TEST(PrivateTempFolderWin, IsTheUsersOwnAndRefusesAFilePlantedAtItsName) {
    const std::string user = current_user_sid_text();
    ASSERT_FALSE(user.empty());
    const std::string tag = "checktool-test-" + std::to_string(GetCurrentProcessId());
    const std::string folder = private_temp_folder(tag);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs_path(folder).filename().string(), tag + "-" + user);
    EXPECT_TRUE(fs::is_directory(fs_path(folder)));
    EXPECT_EQ(private_temp_folder(tag), folder) << "found again";
    fs::remove(fs_path(folder));

    const fs::path planted = fs::temp_directory_path() / (tag + "-planted-" + user);
    std::ofstream(planted) << "not a folder";
    EXPECT_EQ(private_temp_folder(tag + "-planted"), "");
    fs::remove(planted);
}
