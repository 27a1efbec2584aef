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

bool is_single_host(std::string_view host) {
    if (host.empty()) return false;
    if (host.front() == '[') {
        const std::string_view inside = host.substr(1, host.size() - 1 - (host.back() == ']'));
        return host.size() > 2 && host.back() == ']' &&
               inside.find_first_not_of("0123456789abcdefABCDEF:.") == std::string_view::npos;
    }
    constexpr std::string_view kEndsTheHost = " \r\n\t/:#?!@{}[]\\$'\"^`*<>=;,+&()%";
    return host.find_first_of(kEndsTheHost) == std::string_view::npos &&
           std::none_of(host.begin(), host.end(), [](char c) { return c == '\0'; });
}
