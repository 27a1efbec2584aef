#include "net/proxy_setting.h"

#include <cstdlib>

#include "sys/ascii_text.h"

namespace {

std::string first_set(const EnvironmentLookup& lookup, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = lookup(name);
        if (value && *value) return value;
    }
    return {};
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

bool goes_direct(const std::string& host, const std::string& exceptions) {
    const std::string name = ascii_lower(host);
    std::size_t start = 0;
    while (start <= exceptions.size()) {
        std::size_t end = exceptions.find(',', start);
        if (end == std::string::npos) end = exceptions.size();
        std::string entry = ascii_lower(trimmed(exceptions.substr(start, end - start)));
        start = end + 1;
        if (entry == "*") return true;
        while (entry.starts_with(".")) entry.erase(0, 1);
        if (entry.empty()) continue;
        if (name == entry || (name.size() > entry.size() && name.ends_with("." + entry))) return true;
    }
    return false;
}

}  // namespace

std::string proxy_for(const std::string& scheme, const std::string& host, const EnvironmentLookup& lookup) {
    if (goes_direct(host, first_set(lookup, {"no_proxy", "NO_PROXY"}))) return {};
    const std::string specific = scheme == "https" ? first_set(lookup, {"https_proxy", "HTTPS_PROXY"})
                                                   : first_set(lookup, {"http_proxy"});
    return specific.empty() ? first_set(lookup, {"all_proxy", "ALL_PROXY"}) : specific;
}

std::string proxy_for(const std::string& scheme, const std::string& host) {
    return proxy_for(scheme, host, [](const char* name) { return std::getenv(name); });
}
