#include "sys/exe_facts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "build_config.h"
#include "temp_folder_support.h"

TEST(SplitPath, WindowsPaths) {
    const std::string path = "C:\\Program Files\\Tool\\app.exe";
    EXPECT_EQ(split_path(path, 0), "C:");
    EXPECT_EQ(split_path(path, 1), "C:\\Program Files\\Tool");
    EXPECT_EQ(split_path(path, 2), "Tool");
    EXPECT_EQ(split_path(path, 3), "app");
    EXPECT_EQ(split_path(path, 4), "exe");
    EXPECT_EQ(split_path(path, 5), "app.exe");
    EXPECT_EQ(split_path("C:\\app.exe", 1), "C:\\");
    EXPECT_EQ(split_path("C:\\app.exe", 2), "");
    EXPECT_EQ(split_path("C:", 1), "C:");
}

TEST(SplitPath, PosixAndMixedPaths) {
    const std::string path = "/usr/local/bin/check.tool.tar.gz";
    EXPECT_EQ(split_path(path, 0), "");
    EXPECT_EQ(split_path(path, 1), "/usr/local/bin");
    EXPECT_EQ(split_path(path, 2), "bin");
    EXPECT_EQ(split_path(path, 3), "check.tool.tar");
    EXPECT_EQ(split_path(path, 4), "gz");
    EXPECT_EQ(split_path(path, 5), "check.tool.tar.gz");
    EXPECT_EQ(split_path("/app", 1), "/");
    EXPECT_EQ(split_path("logs/app", 1), "logs");
    EXPECT_EQ(split_path("D:/data\\x/y.txt", 1), "D:/data\\x");
    EXPECT_EQ(split_path("/home/u/.profile", 3), "");
    EXPECT_EQ(split_path("/home/u/.profile", 4), "profile");
    EXPECT_EQ(split_path("/home/u/README", 4), "");
    EXPECT_EQ(split_path("/home/u/folder/", 5), "");
    EXPECT_EQ(split_path("/home/u/folder/", 2), "folder");
    EXPECT_EQ(split_path("", 1), "");
    EXPECT_EQ(split_path("/a/b", 6), "");
}

TEST(ExeFacts, OwnExecutable) {
    std::string exe = get_exe_path();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(std::filesystem::exists(exe));
    EXPECT_EQ(get_exe_path(false), split_path(exe, 5));
    EXPECT_EQ(get_file_version(), CHECKTOOL_VERSION);
    EXPECT_EQ(get_file_version(exe, "FileVersion"), CHECKTOOL_VERSION);
    EXPECT_EQ(get_file_version("", "PrivateBuild"), "(null)");
    EXPECT_GT(get_file_time(exe), 0);
}

TEST(ExeFacts, OtherFiles) {
    TempFolder temp;
    std::string file = temp.write("data.bin", "x");
    EXPECT_EQ(get_file_version(file), "");
    EXPECT_EQ(get_file_version(temp / "missing"), "");
    std::filesystem::last_write_time(file,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
    int64_t two_days_ago =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count() -
        48 * 3600;
    EXPECT_NEAR(static_cast<double>(get_file_time(file)), static_cast<double>(two_days_ago), 5.0);
    EXPECT_EQ(get_file_time(temp / "missing"), 0);
}

TEST(CreateFolder, CreatesParentsAndLeavesExistingAlone) {
    TempFolder temp;
    std::string deep = temp / "a/b/c";
    EXPECT_TRUE(create_folder(deep));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    std::string kept = temp.write("a/b/c/kept.txt", "keep");
    EXPECT_TRUE(create_folder(deep));
    EXPECT_EQ(TempFolder::read(kept), "keep");
    EXPECT_FALSE(create_folder(kept)) << "a file is not a folder";
    EXPECT_FALSE(create_folder(kept + "/below")) << "cannot create below a file";
    EXPECT_FALSE(create_folder(""));
}
