#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "sys/folders.h"
#include "sys/lookup_buffer.h"
#include "sys/user_dirs.h"

namespace {

std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    struct passwd record {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(4096);
    const int answer = lookup_with_growing_buffer(buffer, [&](std::vector<char>& b) {
        return getpwuid_r(getuid(), &record, b.data(), b.size(), &found);
    });
    if (answer == 0 && found && found->pw_dir) return found->pw_dir;
    return {};
}

// An XDG base folder from the environment, which counts only when absolute; else the default below home.
std::string xdg_folder(const char* variable, const std::string& home, const char* default_below_home) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    return home.empty() ? std::string() : home + default_below_home;
}

std::string documents_folder() {
    std::string home = home_folder();
    std::string config = xdg_folder("XDG_CONFIG_HOME", home, "/.config");
    if (!config.empty()) {
        std::ifstream file(config + "/user-dirs.dirs", std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        std::string folder = documents_folder_from_user_dirs(text.str(), home);
        if (!folder.empty()) return folder;
    }
    return home.empty() ? std::string() : home + "/Documents";
}

}  // namespace

std::string get_special_folder(int csidl) {
    switch (csidl) {
        case kPersonal:
            return documents_folder();
        case kLocalAppData:
            return xdg_folder("XDG_DATA_HOME", home_folder(), "/.local/share");
        case kCommonDocuments:
            return "/var/tmp";
        default:
            return {};
    }
}
