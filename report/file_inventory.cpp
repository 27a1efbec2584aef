#include "report/file_inventory.h"

#include <filesystem>

#include "report/display_columns.h"
#include "report/redactor.h"
#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/fs_path.h"
#include "sys/number_text.h"

namespace {

constexpr int kUtf8CodePage = 65001;

// "%-30s  %-19s  %16s  %-20s", widths counted in display columns.
std::string inventory_line(const std::string& name, const std::string& time, const std::string& size,
                           const std::string& version) {
    return pad_right(name, 30) + "  " + pad_right(time, 19) + "  " + pad_left(size, 16) + "  " +
           pad_right(version, 20) + "\n";
}

}  // namespace

std::string file_info_text(const std::string& product_title, const std::string& install_folder,
                           const std::vector<std::string>& files, Redactor* redactor) {
    auto shown = [redactor](const std::string& text) { return redactor ? redactor->redact(text) : text; };
    // Fixed English labels, kept here: stored inventories and the tools that read them rely on them.
    std::string text = "[" + shown(product_title) + " File Information]\n\n";
    text += "install folder : " + shown(install_folder) + "\n\n";
    text += inventory_line("filename", "date/time", "size(B)", "version");
    text += std::string(85, '-') + "\n";
    for (const std::string& file : files) {
        std::string version = get_file_version(file);
        if (version == "(null)") version.clear();
        const std::string time = format_date_time(get_file_time(file), kDateAndTime, true, " ", true, true);
        const std::string size = format_size(get_file_size(file), 0, 0, false, true);
        text += inventory_line(shown(split_path(file, 5)), time, size, version);
    }
    return text;
}

InventoryResult save_file_info(const std::string& inventory_path, const std::string& product_title,
                               const std::string& install_folder, Redactor* redactor) {
    std::error_code ec;
    if (install_folder.empty() || !std::filesystem::exists(fs_path(install_folder), ec))
        return InventoryResult::kSkipped;
    std::vector<std::string> files;
    find_files(files, install_folder, "*", "*", false, "", true, true);
    if (!write_text_file(inventory_path, file_info_text(product_title, install_folder, files, redactor),
                         kUtf8CodePage, false))
        return InventoryResult::kNotCreated;
    return InventoryResult::kWritten;
}
