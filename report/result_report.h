#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/report_rows.h"
#include "sys/monitors.h"

// The result report, check_result.txt: product, tool version, memory and disk, a folder and file
// test in the all-users folder, the monitors, and the rows of the last diagnosis as a table.

inline constexpr const char* kReportFileName = "check_result.txt";

// What the report says about the machine; gather_report_facts reads it from the system.
struct ReportFacts {
    std::string product_title;
    std::string version;     // FileVersion of the tool itself
    std::string built_time;  // the tool's modification time, 2024-03-05 14:07:09
    uint64_t memory_available = 0;
    uint64_t memory_total = 0;
    std::string disk_root;   // the system volume's root: "C:\" on Windows, "/" elsewhere
    uint64_t disk_free = 0;  // of that volume
    uint64_t disk_total = 0;
    std::string all_users_folder;  // where the folder and file test runs
    std::vector<Rect> monitors;    // primary first
};

// Monitors are refreshed from the monitor provider only when read_monitors is set.
ReportFacts gather_report_facts(const std::string& product_title, bool read_monitors = true);

// The monitor rectangles, freshly asked of the monitor provider, primary first.
std::vector<Rect> current_monitor_rects();

// The table lines: "%03d  " and every cell left-aligned in its column's widest cell plus four
// display columns, so all cells of a column end at the same column in a fixed-pitch font.
std::string server_table_text(const ReportRowSource& rows);

// Creates and deletes "__test_for_create_folder__" and a file in it below the folder; returns the
// four report lines telling how that went.
std::string directory_test_text(const std::string& all_users_folder);

// Writes the report (UTF-8 with a byte-order mark, CR LF line ends). False, with nothing tested or
// written, when the file cannot be created: the caller shows text::kReportNotCreated.
bool save_check_result(const std::string& path, const ReportFacts& facts, const ReportRowSource& rows);
