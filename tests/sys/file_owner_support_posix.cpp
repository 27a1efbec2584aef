#include <sys/stat.h>
#include <unistd.h>

#include "tests/sys/file_owner_support.h"

namespace {
constexpr uid_t kNobody = 65534;
}

bool give_to_another_user(const std::string& path) {
    return geteuid() == 0 && lchown(path.c_str(), kNobody, kNobody) == 0;
}

long owner_of(const std::string& path) {
    struct stat facts {};
    return lstat(path.c_str(), &facts) == 0 ? static_cast<long>(facts.st_uid) : -1;
}

long current_user() {
    return static_cast<long>(geteuid());
}
