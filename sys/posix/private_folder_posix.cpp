#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "sys/fs_path.h"
#include "sys/private_folder.h"

std::string private_temp_folder(const std::string& name) {
    std::error_code ec;
    std::string base = utf8_of(std::filesystem::temp_directory_path(ec));
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (ec || base.empty()) return {};
    const uid_t me = geteuid();
    const std::string folder = base + "/" + name + "-" + std::to_string(me);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // Another user may have put something there first: only a folder of ours that nobody else can
    // enter will do.
    struct stat facts {};
    if (::lstat(folder.c_str(), &facts) != 0 || !S_ISDIR(facts.st_mode) || facts.st_uid != me ||
        (facts.st_mode & 077) != 0)
        return {};
    return folder;
}
