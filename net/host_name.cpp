#include "net/host_name.h"

#include <algorithm>
#include <cctype>

bool is_reserved_invalid_name(std::string_view host) {
    while (!host.empty() && host.back() == '.') host.remove_suffix(1);
    constexpr std::string_view kLabel = "invalid";
    if (host.size() < kLabel.size()) return false;
    const std::string_view tail = host.substr(host.size() - kLabel.size());
    const bool same = std::equal(tail.begin(), tail.end(), kLabel.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    return same && (host.size() == kLabel.size() || host[host.size() - kLabel.size() - 1] == '.');
}
