#include "net/upload_url.h"

#include <algorithm>

#include "net/host_name.h"
#include "sys/ascii_text.h"

namespace {

constexpr char kHiddenQuery[] = "?\xE2\x80\xA6";  // "?…"

// Where the scheme's "://" ends, or 0 when the text has none.
std::size_t after_scheme(const std::string& url) {
    const std::size_t mark = url.find("://");
    return mark == std::string::npos || url.find_first_of("/?#") < mark ? 0 : mark + 3;
}

bool is_loopback(const std::string& host) {
    const std::string name = ascii_lower(host);
    if (name == "localhost" || name == "[::1]") return true;
    return name.starts_with("127.") && name.find_first_not_of("0123456789.") == std::string::npos &&
           std::count(name.begin(), name.end(), '.') == 3;
}

bool read_port(const std::string& text, int& port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(text);
    return port >= 1 && port <= 65535;
}

}  // namespace

std::string upload_url_shown(const std::string& url) {
    std::string shown = url.substr(0, url.find('#'));
    const std::size_t query = shown.find('?');
    const bool had_query = query != std::string::npos;
    shown.resize(std::min(query, shown.size()));
    const std::size_t authority = after_scheme(shown);
    const std::size_t authority_end = std::min(shown.find('/', authority), shown.size());
    const std::size_t at = shown.rfind('@', authority_end);
    if (at != std::string::npos && at >= authority) shown.erase(authority, at + 1 - authority);
    return had_query ? shown + kHiddenQuery : shown;
}

bool parse_upload_url(const std::string& url, UploadUrl& parsed, std::string& problem) {
    parsed = {};
    parsed.shown = upload_url_shown(url);
    const auto fail = [&problem](const char* why) {
        problem = why;
        return false;
    };
    // They would end the request line or a header, or change what the server is asked for.
    if (std::any_of(url.begin(), url.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; }))
        return fail("the address holds spaces or control characters");
    const std::string scheme = ascii_lower(url.substr(0, url.find("://")));
    if (after_scheme(url) == 0 || (scheme != "https" && scheme != "http"))
        return fail("the address must begin with https://");
    parsed.https = scheme == "https";
    const std::string rest = url.substr(after_scheme(url), url.find('#') - after_scheme(url));
    const std::size_t authority_end = std::min(rest.find_first_of("/?"), rest.size());
    const std::string authority = rest.substr(0, authority_end);
    if (authority.find('@') != std::string::npos)
        return fail("the address must not hold a user name or password");

    const std::size_t host_end = authority.starts_with("[") ? authority.find(']') + 1 : authority.rfind(':');
    parsed.host = authority.substr(0, host_end);
    parsed.port = parsed.https ? 443 : 80;
    if (host_end != std::string::npos && host_end < authority.size()) {
        if (authority[host_end] != ':' || !read_port(authority.substr(host_end + 1), parsed.port))
            return fail("the address names no usable port");
    }
    if (parsed.host.empty() || !is_single_host(parsed.host)) return fail("the address names no usable host");
    if (!parsed.https && !is_loopback(parsed.host))
        return fail("http:// goes only to this computer (127.0.0.1, [::1], localhost); use https://");
    parsed.authority = authority;
    parsed.target = rest.substr(authority_end);
    if (!parsed.target.starts_with("/")) parsed.target.insert(0, "/");
    return true;
}
