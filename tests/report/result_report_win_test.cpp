// The report's disk line on Windows names and measures the system drive, whatever drive the current
// folder is on (a portable copy run from a USB stick).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "report/result_report.h"
#include "sys/system_figures.h"
#include "tests/report/zip_test_support.h"

TEST(ResultReportWin, DiskLineIsTheSystemDriveWhateverTheCurrentFolder) {
    wchar_t windows_folder[MAX_PATH] = {};
    ASSERT_GT(GetSystemWindowsDirectoryW(windows_folder, MAX_PATH), 2u);
    const std::string system_drive = std::string(1, static_cast<char>(windows_folder[0])) + ":\\";
    wchar_t current[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, current), 0u);
    // Under Wine Z: is the Unix root, a drive other than the system's.
    if (!SetCurrentDirectoryW(L"Z:\\")) GTEST_SKIP() << "no second drive to stand on";
    ReportFacts facts = gather_report_facts("Quenmora", false);
    SetCurrentDirectoryW(current);
    EXPECT_EQ(facts.disk_root, system_drive);
    EXPECT_EQ(facts.disk_total, get_disk_total(system_drive));

    ScratchFolder dir;
    facts.all_users_folder = dir.path();
    ASSERT_TRUE(save_check_result(dir / "check_result.txt", facts, ReportRowTable(1, {})));
    EXPECT_THAT(read_file_bytes(dir / "check_result.txt"),
                ::testing::HasSubstr("\r\ndisk " + system_drive + " : "));
}
