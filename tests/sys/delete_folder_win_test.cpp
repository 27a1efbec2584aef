// Deleting a folder tree on Windows never goes through a junction into what lies beyond it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "sys/folders.h"
#include "sys/fs_path.h"
#include "temp_folder_support.h"
#include "tests/junction_making_win.h"

namespace fs = std::filesystem;

TEST(DeleteFolderWin, AJunctionGoesAsItselfAndWhatItLeadsToStays) {
    TempFolder temp;
    const std::string precious = temp.write("precious/keep.txt", "not ours to delete");
    temp.write("tree/a.txt");
    temp.write("tree/sub/b.txt");
    const fs::path target = fs_path(temp / "precious").make_preferred();
    if (!make_junction(fs_path(temp / "tree/sub/door").wstring(), target.wstring()))
        GTEST_SKIP() << "this file system cannot make a junction";
    ASSERT_TRUE(make_junction(fs_path(temp / "door").wstring(), target.wstring()));

    EXPECT_TRUE(delete_folder(temp / "tree"));
    EXPECT_FALSE(fs::exists(fs_path(temp / "tree")));
    EXPECT_TRUE(delete_folder(temp / "door")) << "a junction at the path itself";
    EXPECT_FALSE(fs::exists(fs_path(temp / "door")));
    EXPECT_EQ(TempFolder::read(precious), "not ours to delete");
}
