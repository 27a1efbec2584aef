#include <filesystem>
#include <system_error>

#include "build_config.h"
#include "sys/exe_facts.h"
#include "sys/fs_path.h"

// Executables here carry no version resource: the tool's own executable answers with the build's
// version, as its resource does on Windows, and every other file has none.
std::string get_file_version(const std::string& path, const std::string& key) {
    std::error_code ec;
    const bool own_executable =
        path.empty() || std::filesystem::equivalent(fs_path(path), fs_path(get_exe_path(true)), ec);
    if (!own_executable) return {};
    if (key == "FileVersion" || key == "ProductVersion") return CHECKTOOL_VERSION;
    return "(null)";
}
