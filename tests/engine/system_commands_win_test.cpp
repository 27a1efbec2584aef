// The bundle's system commands on Windows are the system's own programs, started from the system
// folder. Wine's systeminfo and tasklist print nothing, so only ipconfig's output can be checked here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "engine/system_commands.h"

TEST(SystemCommandsWin, AreTheSystemsOwnPrograms) {
    EXPECT_STREQ(kSystemInfoCommand, "systeminfo");
    EXPECT_STREQ(kTaskListCommand, "tasklist");
    EXPECT_STREQ(kNetworkCommand, "ipconfig /all");
}

TEST(SystemCommandsWin, NetworkCommandTellsTheInterfaces) {
    const std::string output = run_system_command(kNetworkCommand, 60000);
    EXPECT_NE(output.find("IP"), std::string::npos) << output;
    EXPECT_EQ(output.find('\r'), std::string::npos) << "line ends are the tool's own";
}

TEST(SystemCommandsWin, AProgramPlantedInTheCurrentFolderOrOnThePathNeverRuns) {
    // The portable ZIP's folder, say, with a planted batch file and program beside the tool.
    namespace fs = std::filesystem;
    const fs::path planted = fs::temp_directory_path() / ("planted_" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(planted);
    std::ofstream(planted / "ipconfig.bat") << "@echo planted batch\r\n";
    std::ofstream(planted / "ipconfig.cmd") << "@echo planted batch\r\n";
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    wchar_t path[32767] = {};
    GetEnvironmentVariableW(L"PATH", path, 32767);
    SetCurrentDirectoryW(planted.c_str());
    SetEnvironmentVariableW(L"PATH", (planted.wstring() + L";" + path).c_str());

    const std::string output = run_system_command(kNetworkCommand, 60000);
    SetEnvironmentVariableW(L"PATH", path);
    SetCurrentDirectoryW(current);
    std::error_code ignored;
    fs::remove_all(planted, ignored);
    EXPECT_THAT(output, ::testing::Not(::testing::HasSubstr("planted")));
    EXPECT_THAT(output, ::testing::HasSubstr("IP"));
}
