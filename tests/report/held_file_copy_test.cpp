// The copy through which a file its writer holds is packed: whole, with the original's time, and
// never written over something already standing at the copy's name.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "report/zip_file_io.h"
#include "sys/fs_path.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;

TEST(HeldFileCopy, KeepsBytesAndTimeAndNeverReplacesWhatIsThere) {
    ScratchFolder dir;
    const std::string log = dir / "agent.log";
    write_file_bytes(log, std::string(100000, 'x') + "end");
    // 2024-03-05 00:00 UTC
    const fs::file_time_type written =
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1709596800)));
    fs::last_write_time(fs_path(log), written);

    ASSERT_TRUE(copy_held_file(log, dir / "copy.tmp"));
    EXPECT_EQ(read_file_bytes(dir / "copy.tmp"), read_file_bytes(log));
    EXPECT_EQ(fs::last_write_time(fs_path(dir / "copy.tmp")), written);

    write_file_bytes(dir / "planted.tmp", "someone else's");
    EXPECT_FALSE(copy_held_file(log, dir / "planted.tmp"));
    EXPECT_EQ(read_file_bytes(dir / "planted.tmp"), "someone else's");
    EXPECT_FALSE(copy_held_file(dir / "missing.log", dir / "other.tmp"));
    EXPECT_FALSE(fs::exists(fs_path(dir / "other.tmp")));
}
