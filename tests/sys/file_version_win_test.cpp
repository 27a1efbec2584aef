// The version resource and the manifest the Windows programs carry, read back as the window's caption,
// the report and the system read them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "build_config.h"
#include "sys/exe_facts.h"
#include "sys/win/wide_text.h"
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

namespace {

// The manifest the system reads when it starts the program (resource 1 of type RT_MANIFEST).
std::string manifest_of(const std::string& program) {
    const HMODULE module = LoadLibraryExW(widen(program).c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        if (const HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

}  // namespace

// The programs the user runs, as built beside this test.
TEST(FileVersionWin, TheToolsOwnProgramsCarryTheVersionAndTheManifest) {
    int found = 0;
    for (const std::string program : {"app/checktool.exe", "cli/checktool-cli.exe"}) {
        const std::string path = std::string(CHECKTOOL_BINARY_DIR) + "/" + program;
        if (!fs::exists(fs::u8path(path))) continue;
        ++found;
        SCOPED_TRACE(program);
        EXPECT_EQ(get_file_version(path), CHECKTOOL_VERSION);
        EXPECT_EQ(get_file_version(path, "OriginalFilename"), split_path(program, 5));
        EXPECT_EQ(get_file_version(path, "ProductName"), "Check Tool");
        const std::string manifest = manifest_of(path);
        for (const char* setting :
             {R"(level="asInvoker")", ">UTF-8</activeCodePage>", ">true</longPathAware>",
              R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)"})
            EXPECT_NE(manifest.find(setting), std::string::npos) << setting << " in\n" << manifest;
    }
    if (found == 0) GTEST_SKIP() << "neither program is part of this build";
}
