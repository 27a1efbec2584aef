#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <fstream>

#include "sys/machine_identity.h"

namespace {

// PRETTY_NAME of os-release, its quotes removed.
std::string distribution_name() {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream file(path);
        for (std::string line; std::getline(file, line);) {
            if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
            std::string value = line.substr(12);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return {};
}

}  // namespace

std::string machine_host_name() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string machine_os_name() {
    std::string name = distribution_name();
    utsname system{};
    if (uname(&system) == 0) {
        if (!name.empty()) name += ", ";
        name += std::string(system.sysname) + " " + system.release;
    }
    return name;
}
