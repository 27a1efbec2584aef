// The version resource the Windows programs carry, read back as the window's caption and the report
// read it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "build_config.h"
#include "sys/exe_facts.h"
#include "temp_folder_support.h"

namespace fs = std::filesystem;

TEST(FileVersionWin, TheTestProgramCarriesTheToolsVersionResource) {
    EXPECT_EQ(get_file_version(), "1.0.0.1");
    EXPECT_EQ(get_file_version(), CHECKTOOL_VERSION);
    EXPECT_EQ(get_file_version("", "ProductVersion"), CHECKTOOL_VERSION);
    EXPECT_EQ(get_file_version("", "CompanyName"), "Tarvo");
    EXPECT_EQ(get_file_version("", "OriginalFilename"), get_exe_path(false));
    EXPECT_EQ(get_file_version(get_exe_path(true), "FileVersion"), CHECKTOOL_VERSION);
    // A string the resource does not have.
    EXPECT_EQ(get_file_version("", "PrivateBuild"), "(null)");
}

TEST(FileVersionWin, KoreanPathsReachTheSystemIntact) {
    TempFolder temp;
    const std::string copy = temp / "진단 도구.exe";
    fs::copy_file(fs::u8path(get_exe_path(true)), fs::u8path(copy));
    EXPECT_EQ(get_file_version(copy), CHECKTOOL_VERSION);
    EXPECT_EQ(get_file_version(copy, "OriginalFilename"), get_exe_path(false));
}

TEST(FileVersionWin, FilesWithoutAResourceHaveNoVersion) {
    TempFolder temp;
    EXPECT_EQ(get_file_version(temp.write("plain.exe", "MZ not really a program")), "");
    EXPECT_EQ(get_file_version(temp / "missing.exe"), "");
}

// The programs the user runs, as built beside this test.
TEST(FileVersionWin, TheToolsOwnProgramsCarryTheVersion) {
    int found = 0;
    for (const std::string program : {"app/checktool.exe", "cli/checktool-cli.exe"}) {
        const std::string path = std::string(CHECKTOOL_BINARY_DIR) + "/" + program;
        if (!fs::exists(fs::u8path(path))) continue;
        ++found;
        SCOPED_TRACE(program);
        EXPECT_EQ(get_file_version(path), CHECKTOOL_VERSION);
        EXPECT_EQ(get_file_version(path, "OriginalFilename"), split_path(program, 5));
        EXPECT_EQ(get_file_version(path, "ProductName"), "Check Tool");
    }
    if (found == 0) GTEST_SKIP() << "neither program is part of this build";
}
