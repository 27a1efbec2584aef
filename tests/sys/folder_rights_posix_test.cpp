#include "sys/folder_rights.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "sys/private_folder.h"
#include "tests/sys/file_owner_support.h"
#include "tests/sys/temp_folder_support.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolder = "__test_for_create_folder__";
constexpr const char* kFile = "__test_for_create_file__.txt";
constexpr const char* kVictimText = "precious";

class FolderRights : public ::testing::Test {
protected:
    FolderRightsOutcome run() { return test_folder_rights(shared.path(), kFolder, kFile, "access test"); }
    std::string folder() const { return shared / kFolder; }

    // A file another user would like overwritten or deleted, outside the shared folder.
    void expect_victim_untouched() const {
        EXPECT_EQ(TempFolder::read(victim), kVictimText);
        EXPECT_FALSE(fs::exists(elsewhere / kFolder));
    }
    static void expect_refused(const FolderRightsOutcome& outcome) {
        EXPECT_FALSE(outcome.folder_created);
        EXPECT_FALSE(outcome.file_written);
        EXPECT_FALSE(outcome.file_deleted);
        EXPECT_FALSE(outcome.folder_deleted);
        EXPECT_NE(outcome.file_delete_error, 0);
        EXPECT_NE(outcome.folder_delete_error, 0);
    }

    TempFolder shared;
    TempFolder elsewhere;
    std::string victim = elsewhere.write(kFile, kVictimText);
};

}  // namespace

TEST_F(FolderRights, AWritableFolderPassesAndNothingStaysBehind) {
    const FolderRightsOutcome outcome = run();
    EXPECT_TRUE(outcome.folder_created);
    EXPECT_TRUE(outcome.file_written);
    EXPECT_TRUE(outcome.file_deleted);
    EXPECT_TRUE(outcome.folder_deleted);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_TRUE(fs::is_empty(shared.path()));
}

TEST_F(FolderRights, OwnLeftoverFolderIsTakenOverAndALinkInItIsRemovedNotFollowed) {
    // An earlier run of this user crashed and left its folder, with odd things in it.
    fs::create_directories(folder() + "/left/over");
    shared.write(std::string(kFolder) + "/left/over/crash.txt", "x");
    fs::create_symlink(victim, folder() + "/" + kFile);
    fs::create_directory_symlink(elsewhere.path(), folder() + "/left/into_elsewhere");
    const FolderRightsOutcome outcome = run();
    EXPECT_TRUE(outcome.folder_created);
    EXPECT_TRUE(outcome.file_written);
    EXPECT_TRUE(outcome.folder_deleted);
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder())));
    expect_victim_untouched();
}

TEST_F(FolderRights, PlantedThingsAtTheFolderNameAreNeitherUsedNorRemoved) {
    // A link to another folder that holds a file of the test file's name.
    fs::create_directory_symlink(elsewhere.path(), folder());
    expect_refused(run());
    EXPECT_TRUE(fs::is_symlink(folder()));
    expect_victim_untouched();
    fs::remove(folder());

    // A plain file.
    shared.write(kFolder, "not a folder");
    expect_refused(run());
    EXPECT_EQ(TempFolder::read(folder()), "not a folder");
    fs::remove(folder());

    // A folder every user may write in, with a link named like the test file.
    fs::create_directory(folder());
    fs::permissions(folder(), fs::perms::all);
    fs::create_symlink(victim, folder() + "/" + kFile);
    expect_refused(run());
    EXPECT_TRUE(fs::is_symlink(folder() + "/" + kFile));
    expect_victim_untouched();
}

TEST_F(FolderRights, AnotherUsersFolderIsNotWrittenIn) {
    fs::create_directory(folder());
    fs::permissions(folder(), fs::perms::owner_all);
    fs::create_symlink(victim, folder() + "/" + kFile);
    if (!give_to_another_user(folder())) GTEST_SKIP() << "only a superuser can make another user's folder";
    expect_refused(run());
    EXPECT_TRUE(fs::is_symlink(folder() + "/" + kFile));
    expect_victim_untouched();
}

TEST_F(FolderRights, AMissingSharedFolderFailsWithErrorCodes) {
    const FolderRightsOutcome outcome = test_folder_rights(shared / "missing", kFolder, kFile, "x");
    expect_refused(outcome);
    EXPECT_EQ(outcome.folder_delete_error, ENOENT);
    EXPECT_FALSE(fs::exists(shared / "missing"));
}

TEST(PrivateTempFolder, IsTheUsersOwnAndRefusesWhatOthersPlanted) {
    TempFolder temp;
    const char* saved = std::getenv("TMPDIR");
    const std::string saved_value = saved ? saved : "";
    setenv("TMPDIR", temp.path().c_str(), 1);
    const std::string expected = temp / ("tool-" + std::to_string(current_user()));

    EXPECT_EQ(private_temp_folder("tool"), expected);
    EXPECT_EQ(fs::status(expected).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(private_temp_folder("tool"), expected) << "found again";

    fs::create_directory_symlink(temp.path(), temp / ("link-" + std::to_string(current_user())));
    EXPECT_EQ(private_temp_folder("link"), "");
    fs::create_directory(temp / ("open-" + std::to_string(current_user())));
    fs::permissions(temp / ("open-" + std::to_string(current_user())), fs::perms::all);
    EXPECT_EQ(private_temp_folder("open"), "");
    const std::string foreign = temp / ("foreign-" + std::to_string(current_user()));
    fs::create_directory(foreign);
    fs::permissions(foreign, fs::perms::owner_all);
    if (give_to_another_user(foreign)) {
        EXPECT_EQ(private_temp_folder("foreign"), "");
    }

    if (saved)
        setenv("TMPDIR", saved_value.c_str(), 1);
    else
        unsetenv("TMPDIR");
}
