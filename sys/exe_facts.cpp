#include "sys/exe_facts.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "sys/fs_path.h"

namespace fs = std::filesystem;

bool create_folder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::path folder = fs_path(path);
    if (fs::exists(folder, ec)) return fs::is_directory(folder, ec);
    fs::create_directories(folder, ec);
    return !ec && fs::is_directory(folder, ec);
}

int64_t get_file_time(const std::string& path) {
    std::error_code ec;
    fs::file_time_type modified = fs::last_write_time(fs_path(path), ec);
    if (ec) return 0;
    auto since_epoch = std::chrono::file_clock::to_sys(modified).time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(since_epoch).count();
}
