#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "sys/ascii_text.h"
#include "sys/user_identity.h"

namespace {

std::string host_name() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

// The domain of the host's full name: from the name itself, or from /etc/hosts, where the full name
// usually stands beside the short one ("127.0.1.1 kiosk-07.corp.example.com kiosk-07"). The network
// is not asked: a name server could keep the collection waiting.
std::string host_domain(const std::string& host) {
    if (const size_t dot = host.find('.'); dot != std::string::npos) return host.substr(dot + 1);
    if (host.empty()) return {};
    const std::string prefix = ascii_lower(host) + ".";
    std::ifstream hosts("/etc/hosts");
    for (std::string line; std::getline(hosts, line);) {
        std::istringstream names(line.substr(0, line.find('#')));
        std::string name;
        names >> name;  // the address
        while (names >> name)
            if (name.size() > prefix.size() && ascii_lower(name).rfind(prefix, 0) == 0)
                return name.substr(prefix.size());
    }
    return {};
}

}  // namespace

UserIdentity current_user_identity() {
    UserIdentity identity;
    identity.host_name = host_name();
    identity.domain = host_domain(identity.host_name);
    struct passwd record {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &record, buffer.data(), buffer.size(), &found) == 0 && found) {
        if (found->pw_name) identity.login = found->pw_name;
        if (found->pw_gecos) {
            // The full name is the first comma-separated field; the rest are room and telephone numbers.
            const std::string gecos = found->pw_gecos;
            identity.full_name = gecos.substr(0, gecos.find(','));
        }
        if (found->pw_dir) identity.home = found->pw_dir;
    }
    // The environment names the home the user's files actually live under.
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') identity.home = home;
    while (identity.home.size() > 1 && identity.home.back() == '/') identity.home.pop_back();
    if (identity.home == "/") identity.home.clear();  // the root is nobody's private part
    return identity;
}
