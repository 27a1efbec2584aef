#include "net/proxy_list.h"

#include <vector>

#include "sys/ascii_text.h"

namespace {

std::vector<std::string> entries(const std::string& list) {
    std::vector<std::string> found;
    std::string entry;
    for (const char c : list + ';') {
        if (c == ';' || c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!entry.empty()) found.push_back(entry);
            entry.clear();
        } else {
            entry += c;
        }
    }
    return found;
}

// '*' stands for any run of characters, '?' for one; letters compare without case.
bool matches(const char* pattern, const char* text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*') return matches(pattern + 1, text) || (*text != '\0' && matches(pattern, text + 1));
    if (*text == '\0') return false;
    return (*pattern == '?' || *pattern == *text) && matches(pattern + 1, text + 1);
}

bool bypassed(const std::string& host, const std::string& bypass_list) {
    const std::string name = ascii_lower(host);
    for (const std::string& entry : entries(ascii_lower(bypass_list))) {
        if (entry == "<local>" ? name.find('.') == std::string::npos : matches(entry.c_str(), name.c_str()))
            return true;
    }
    return false;
}

}  // namespace

std::string proxy_from_lists(const std::string& proxy_list, const std::string& bypass_list,
                             const std::string& scheme, const std::string& host) {
    if (bypassed(host, bypass_list)) return {};
    std::string for_any;
    for (std::string entry : entries(proxy_list)) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            if (for_any.empty()) for_any = entry;
        } else if (ascii_lower(entry.substr(0, equals)) == scheme) {
            for_any = entry.substr(equals + 1);
            break;
        }
    }
    if (for_any.empty() || for_any.find("://") != std::string::npos) return for_any;
    return "http://" + for_any;
}

std::string proxy_reported(const ProxyEvidence& evidence, const std::string& scheme,
                           const std::string& host) {
    if (evidence.connected && !evidence.through_proxy) return {};
    if (evidence.connected && !evidence.proxy_address.empty()) return "http://" + evidence.proxy_address;
    if (evidence.auto_config) return kProxyAutoConfig;
    return proxy_from_lists(evidence.proxy_list, evidence.bypass_list, scheme, host);
}
