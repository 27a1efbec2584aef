// What a log collection leaves out, and how log files go in redacted.
#include "engine/bundle_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "engine/log_packing.h"
#include "engine/process_list.h"
#include "report/redactor.h"
#include "tests/link_planting.h"
#include "tests/report/zip_test_support.h"

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

TEST(BundleOptions, SizesAndDayCounts) {
    EXPECT_EQ(parse_byte_size("4096"), 4096u);
    EXPECT_EQ(parse_byte_size("512K"), 512u * 1024);
    EXPECT_EQ(parse_byte_size("200M"), 200u * 1024 * 1024);
    EXPECT_EQ(parse_byte_size("200mb"), 200u * 1024 * 1024);
    EXPECT_EQ(parse_byte_size("2G"), uint64_t{2} << 30);
    EXPECT_EQ(parse_byte_size("7b"), 7u);
    EXPECT_EQ(parse_byte_size("8589934592G"), uint64_t{1} << 63) << "the largest";
    for (const char* bad : {"", "0", "0M", "M", "B", "-5", "+5", "1.5G", "5 M", "5T", "20MM", "8589934593G",
                            "99999999999999999999"})
        EXPECT_FALSE(parse_byte_size(bad)) << bad;

    EXPECT_EQ(parse_day_count("1"), 1);
    EXPECT_EQ(parse_day_count("36500"), 36500);
    for (const char* bad : {"", "0", "36501", "-1", "7d", "1e3", "99999999999999999999"})
        EXPECT_FALSE(parse_day_count(bad)) << bad;
}

namespace {

class LogPackingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "logs/sub");
        write_file_bytes(dir / "logs/new.log", "fresh\n");
        write_file_bytes(dir / "logs/big.log", std::string(2048, 'x'));
        write_file_bytes(dir / "logs/sub/old.log", "old\n");
        fs::last_write_time(dir / "logs/sub/old.log",
                            fs::file_time_type::clock::now() - std::chrono::hours(24 * 10));
        files = {dir / "logs/big.log", dir / "logs/new.log", dir / "logs/sub/old.log"};
    }

    int64_t now() const {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }

    ScratchFolder dir;
    std::vector<std::string> files;
    std::vector<NotPackedFile> not_packed;
};

}  // namespace

TEST_F(LogPackingTest, WithoutBoundsEverythingGoesInFromWhereItIs) {
    BundleOptions options;
    LogPacking packing(options, nullptr, not_packed, now());
    const std::vector<std::string> before = files;
    EXPECT_EQ(packing.prepare(dir / "logs", files, dir / "staging"), dir / "logs");
    EXPECT_EQ(files, before);
    EXPECT_TRUE(not_packed.empty());
    EXPECT_FALSE(fs::exists(dir / "staging"));
}

TEST_F(LogPackingTest, FilesOutsideTheBoundsAreNamedWithTheirReason) {
    BundleOptions options;
    options.since_days = 7;
    options.max_file_size = 1024;
    LogPacking packing(options, nullptr, not_packed, now());
    files.push_back(dir / "logs/vanished.log");  // gone since it was listed: no time to tell its age by
    packing.prepare(dir / "logs", files, dir / "staging");
    EXPECT_THAT(files, ElementsAre(dir / "logs/new.log"));
    ASSERT_EQ(not_packed.size(), 3u);
    EXPECT_EQ(not_packed[0].name, dir / "logs/big.log");
    EXPECT_EQ(not_packed[0].reason, "2048 bytes, larger than the limit of 1024 bytes");
    EXPECT_EQ(not_packed[1].name, dir / "logs/sub/old.log");
    EXPECT_EQ(not_packed[1].reason, "not modified in the last 7 days");
    EXPECT_EQ(not_packed[2].reason, "its modification time could not be read");

    // The limits themselves are inside: exactly 2048 bytes, modified 9 days ago with a 10-day bound.
    std::vector<std::string> again = {dir / "logs/big.log", dir / "logs/sub/old.log"};
    options.max_file_size = 2048;
    options.since_days = 10;
    LogPacking wider(options, nullptr, not_packed, now());
    wider.prepare(dir / "logs", again, dir / "staging");
    EXPECT_EQ(again.size(), 2u);
}

TEST_F(LogPackingTest, RedactedCopiesUnderRedactedNamesAndBinariesKeptOrDropped) {
    write_file_bytes(dir / "logs/jkim-192.168.5.5.log", "login jkim from 192.168.5.5\n");
    write_file_bytes(dir / "logs/core.bin", std::string("\0\x01jkim", 6));
    files.push_back(dir / "logs/jkim-192.168.5.5.log");
    files.push_back(dir / "logs/core.bin");
    std::vector<std::string> second = files;
    Redactor redactor(UserIdentity{"kiosk-07", "jkim", "", ""});

    BundleOptions options;
    options.redact = true;
    {
        LogPacking packing(options, &redactor, not_packed, now());
        const std::string staging = packing.prepare(dir / "logs", files, dir / "staging");
        EXPECT_EQ(staging, dir / "staging");
        EXPECT_THAT(files,
                    UnorderedElementsAre(staging + "/big.log", staging + "/new.log", staging + "/sub/old.log",
                                         staging + "/user-1-ip-1.log", staging + "/core.bin"));
        EXPECT_EQ(read_file_bytes(staging + "/user-1-ip-1.log"), "login user-1 from ip-1\n");
        EXPECT_EQ(fs::last_write_time(staging + "/sub/old.log"),
                  fs::last_write_time(dir / "logs/sub/old.log"))
            << "a copy keeps the log's time";
        EXPECT_EQ(read_file_bytes(staging + "/core.bin"), std::string("\0\x01jkim", 6))
            << "binaries go in unchanged";
        EXPECT_THAT(packing.packed_unredacted(),
                    ElementsAre(AllOf(Field(&UnredactedFile::name, dir / "logs/core.bin"),
                                      Field(&UnredactedFile::reason, "binary"))))
            << "and the user is told";
        packing.left_out(staging + "/user-1-ip-1.log", "busy");
        EXPECT_THAT(not_packed, ElementsAre(Field(&NotPackedFile::name, dir / "logs/user-1-ip-1.log")));
    }
    EXPECT_FALSE(fs::exists(dir / "staging")) << "the copies go once the packing is done";
    EXPECT_TRUE(fs::exists(dir / "logs/jkim-192.168.5.5.log")) << "the originals stay";

    not_packed.clear();
    options.drop_binary = true;
    LogPacking dropping(options, &redactor, not_packed, now());
    dropping.prepare(dir / "logs", second, dir / "staging");
    EXPECT_EQ(second.size(), 4u);
    ASSERT_EQ(not_packed.size(), 1u);
    EXPECT_EQ(not_packed[0].name, dir / "logs/core.bin");
    EXPECT_THAT(not_packed[0].reason, HasSubstr("--redact-drop-binary"));
}

TEST_F(LogPackingTest, TwoNamesThatRedactAlikeEachKeepTheirOwnCopy) {
    // As "root.log" and "ROOT.log" would on Linux; these two can be made on every system.
    write_file_bytes(dir / "logs/jkim.log", "named after the login\n");
    write_file_bytes(dir / "logs/user-1.log", "named like the token\n");
    files = {dir / "logs/jkim.log", dir / "logs/user-1.log"};
    BundleOptions options;
    options.redact = true;
    Redactor redactor(UserIdentity{"kiosk-07", "jkim", "", ""});
    LogPacking packing(options, &redactor, not_packed, now());
    const std::string staging = packing.prepare(dir / "logs", files, dir / "staging");
    EXPECT_THAT(files, ElementsAre(staging + "/user-1.log", staging + "/user-1 (2).log"));
    EXPECT_EQ(read_file_bytes(staging + "/user-1.log"), "named after the login\n");
    EXPECT_EQ(read_file_bytes(staging + "/user-1 (2).log"), "named like the token\n");
    EXPECT_TRUE(not_packed.empty());
}

TEST_F(LogPackingTest, ALeftoverStagingFolderOrLinkIsClearedNotFollowed) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    fs::create_directories(dir / "elsewhere");
    write_file_bytes(dir / "elsewhere/keep", "keep");
    std::error_code error;
    fs::create_directory_symlink(dir / "elsewhere", dir / "staging", error);
    if (error) GTEST_SKIP() << "this system makes no directory links here (Wine): " << error.message();
    BundleOptions options;
    options.redact = true;
    Redactor redactor(UserIdentity{});
    LogPacking packing(options, &redactor, not_packed, now());
    packing.prepare(dir / "logs", files, dir / "staging");
    EXPECT_FALSE(fs::is_symlink(dir / "staging"));
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(read_file_bytes(dir / "elsewhere/keep"), "keep");
    EXPECT_FALSE(fs::exists(dir / "elsewhere/new.log"));
}

TEST(ProcessList, OtherUsersProcessesKeepOnlyTheirProgram) {
    // ps cuts a long login to its column: "jkimplan+" is the user's own.
    const std::string listing =
        "    PID    PPID USER     %CPU   RSS     ELAPSED COMMAND\n"
        "      1       0 root      0.0  1200  1-02:03:04 /sbin/init splash\n"
        "    812       1 jkimplan+ 1.5 90000       05:06 /usr/bin/agent --token=s3cret --home /home/jkim\n"
        "    901       1 kpark     0.1  3000       01:00 /usr/bin/ssh kpark@10.0.0.7 -i /home/kpark/.ssh/id\n"
        "    902       1 kpark     0.1  3000       01:00 [kworker/0:1]\n";
    EXPECT_EQ(
        without_other_users_arguments(listing, "jkimplanted"),
        "    PID    PPID USER     %CPU   RSS     ELAPSED COMMAND\n"
        "      1       0 root      0.0  1200  1-02:03:04 /sbin/init\n"
        "    812       1 jkimplan+ 1.5 90000       05:06 /usr/bin/agent --token=s3cret --home /home/jkim\n"
        "    901       1 kpark     0.1  3000       01:00 /usr/bin/ssh\n"
        "    902       1 kpark     0.1  3000       01:00 [kworker/0:1]\n");
    const std::string tasklist = "Image Name   PID Session Name\r\n========\r\nagent.exe  812 Console\r\n";
    EXPECT_EQ(without_other_users_arguments(tasklist, "jkim"), tasklist) << "a list without arguments stays";
}
