#pragma once

#include <string>
#include <vector>

// Inventory of a product program folder: every file below it with its time, size and version, so that
// support staff can tell which build of each component is installed.

// The inventory file of each program folder (agent, agent web, viewer), in the collection folder.
inline constexpr const char* kInventoryFileNames[3] = {"fileinfo_agent_app.txt", "fileinfo_agent_web.txt",
                                                       "fileinfo_customer.txt"};

enum class InventoryResult {
    kWritten,
    kSkipped,     // no folder configured, or nothing of that path exists: no file, no message
    kNotCreated,  // the inventory file could not be written: show text::kInventoryNotCreated
};

class Redactor;

// The inventory text (UTF-8, "\n" line ends) for files listed below install_folder. With a redactor the
// title, the folder and the file names are redacted; the version column never is, since a version is
// not an address however much it looks like one.
std::string file_info_text(const std::string& product_title, const std::string& install_folder,
                           const std::vector<std::string>& files, Redactor* redactor = nullptr);

// Lists every file below install_folder (sorted by full path, at any depth) and writes the inventory
// to inventory_path as UTF-8 with a byte-order mark and CR LF line ends.
InventoryResult save_file_info(const std::string& inventory_path, const std::string& product_title,
                               const std::string& install_folder, Redactor* redactor = nullptr);
