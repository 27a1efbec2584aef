#include <filesystem>
#include <system_error>

#include "sys/exe_facts.h"
#include "sys/fs_path.h"

std::string get_exe_path(bool full) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    std::string path = utf8_of(exe);
    return full ? path : split_path(path, 5);
}
