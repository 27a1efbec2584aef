#include "report/result_report.h"

#include <algorithm>
#include <cstdio>

#include "report/display_columns.h"
#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/folder_rights.h"
#include "sys/folders.h"
#include "sys/number_text.h"
#include "sys/system_figures.h"

namespace {

constexpr int kUtf8CodePage = 65001;
constexpr const char* kTestFolderName = "__test_for_create_folder__";
constexpr const char* kTestFileName = "__test_for_create_file__.txt";
// UTF-8 with a byte-order mark, like every text file the tool writes.
constexpr const char* kTestFileText = "\uFEFFaccess test";

std::string gigabytes(uint64_t bytes) {
    return format_size(bytes, 3, 1, true, true);
}

// The report's fixed English labels stay here: stored reports, and the tools that read them, rely on them.
std::string delete_line(const std::string& path, bool deleted, int error_code) {
    return deleted ? "DeleteFile(" + path + ") success\n"
                   : "DeleteFile(" + path + ") failed. error code : " + std::to_string(error_code) + "\n";
}

}  // namespace

std::vector<Rect> current_monitor_rects() {
    refresh_monitors();
    std::vector<Rect> rects;
    for (const MonitorRecord& m : monitors_snapshot()) rects.push_back(m.monitor);
    return rects;
}

ReportFacts gather_report_facts(const std::string& product_title, bool read_monitors) {
    ReportFacts facts;
    facts.product_title = product_title;
    facts.version = get_file_version();
    facts.built_time = format_date_time(get_file_time(get_exe_path()), kDateAndTime, true, " ", true, true);
    facts.memory_available = get_memory_status(&facts.memory_total);
    facts.disk_root = system_drive_root();
    facts.disk_free = get_disk_free(facts.disk_root);
    facts.disk_total = get_disk_total(facts.disk_root);
    facts.all_users_folder = get_special_folder(kCommonDocuments);
    if (read_monitors) facts.monitors = current_monitor_rects();
    return facts;
}

std::string directory_test_text(const std::string& all_users_folder) {
    const std::string folder = all_users_folder + "/" + kTestFolderName;
    const std::string file = folder + "/" + kTestFileName;
    const FolderRightsOutcome outcome =
        test_folder_rights(all_users_folder, kTestFolderName, kTestFileName, kTestFileText);
    std::string text;
    text += "folder create test (" + folder + ") : " + (outcome.folder_created ? "success" : "failed") + "\n";
    text += "folder create test (" + file + ") : " + (outcome.file_written ? "success" : "failed") + "\n";
    text += delete_line(file, outcome.file_deleted, outcome.file_delete_error);
    text += delete_line(folder, outcome.folder_deleted, outcome.folder_delete_error);
    return text;
}

std::string server_table_text(const ReportRowSource& rows) {
    const int row_count = rows.row_count();
    const int column_count = rows.column_count();
    std::vector<int> widths(static_cast<size_t>(std::max(0, column_count)), 0);
    for (int r = 0; r < row_count; ++r)
        for (int c = 0; c < column_count; ++c)
            widths[c] = std::max(widths[c], display_width(rows.cell_text(r, c)));
    std::string text;
    for (int r = 0; r < row_count; ++r) {
        char index[16];
        std::snprintf(index, sizeof index, "%03d  ", r);
        text += index;
        for (int c = 0; c < column_count; ++c) text += pad_right(rows.cell_text(r, c), widths[c] + 4);
        text += "\n";
    }
    return text;
}

bool save_check_result(const std::string& path, const ReportFacts& facts, const ReportRowSource& rows) {
    // Create the file first: when that fails nothing else of the report is done.
    if (!write_text_file(path, "", kUtf8CodePage, false)) return false;

    std::string text = "[" + facts.product_title + " Check Tool]\n";
    text += "version : " + facts.version + "\n";
    text += "built time : " + facts.built_time + "\n\n";
    text += "memory : " + gigabytes(facts.memory_available) + " / " + gigabytes(facts.memory_total) + "\n";
    text += "disk " + facts.disk_root + " : " + gigabytes(facts.disk_free) + " / " +
            gigabytes(facts.disk_total) + "\n\n";
    text += "[Directory Auth]\n";
    text += directory_test_text(facts.all_users_folder);
    text += "\n[Monitor Info]\n";
    for (size_t i = 0; i < facts.monitors.size(); ++i)
        text += "[" + std::to_string(i) + "] " + format_rect(facts.monitors[i]) + "\n";
    text += "\n";
    text += "[Server Check Result]\n";
    text += server_table_text(rows);
    text += "\n";
    return write_text_file(path, text, kUtf8CodePage, false);
}
