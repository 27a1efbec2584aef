// A log folder on Windows with junctions in it: nothing behind them is packed, each is named as left
// out, with why, and deleting the tree (as the staging folder is) removes them, not what they lead to.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "engine/save_log.h"
#include "sys/folders.h"
#include "sys/fs_path.h"
#include "tests/junction_making_win.h"
#include "tests/quiet_save_log_observer.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;

TEST(ZipFolderWin, JunctionsAreNamedAsLeftOutAndNeverWalked) {
    const fs::path root =
        (fs::temp_directory_path() / ("zip_links_" + std::to_string(GetCurrentProcessId()))).make_preferred();
    fs::create_directories(root / "logs");
    fs::create_directories(root / "elsewhere");
    std::ofstream(root / "logs" / "app.log") << "ours";
    std::ofstream(root / "elsewhere" / "secret.txt") << "not the product's";
    // One back up the tree, which a search through links would walk until the path grew too long.
    const bool made = make_junction((root / "logs" / "loop").wstring(), (root / "logs").wstring()) &&
                      make_junction((root / "logs" / "away").wstring(), (root / "elsewhere").wstring());
    if (!made) {
        delete_folder(utf8_of(root));
        GTEST_SKIP() << "this file system cannot make a junction";
    }

    QuietObserver observer;
    PackingRecord record;
    const std::string logs = utf8_of(root / "logs");
    EXPECT_TRUE(zip_folder(logs, utf8_of(root / "logs.zip"), observer, &record, nullptr));
    EXPECT_THAT(record.packed, ElementsAre(Field(&PackedFile::name, "app.log")));
    const std::string why = "a junction or mount point to another place, not followed";
    EXPECT_THAT(record.skipped, ElementsAre(Field(&SkippedFile::path, logs + "/away"),
                                            Field(&SkippedFile::path, logs + "/loop")));
    for (const SkippedFile& left : record.skipped) EXPECT_EQ(left.reason, why);
    EXPECT_TRUE(observer.messages.empty());

    EXPECT_TRUE(delete_folder(logs));
    EXPECT_FALSE(fs::exists(root / "logs"));
    ASSERT_TRUE(make_junction((root / "door").wstring(), (root / "elsewhere").wstring()));
    EXPECT_TRUE(delete_folder(utf8_of(root / "door"))) << "a junction at the path itself";
    EXPECT_TRUE(fs::exists(root / "elsewhere" / "secret.txt"));
    delete_folder(utf8_of(root));
}
