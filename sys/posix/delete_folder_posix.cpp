#include <filesystem>
#include <system_error>

#include "sys/folders.h"
#include "sys/fs_path.h"

// The library's removal reads every entry's own status (lstat), so it never follows a link.
bool delete_folder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::path target = fs_path(path);
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec))) return false;
    std::filesystem::remove_all(target, ec);
    return !ec;
}
