#pragma once

#include <string>

// Windows keeps a user's proxy settings as two texts: the proxy list ("host:port", or per scheme
// "http=host:port;https=host:port") and the bypass list ("*.example.com;10.*;<local>", where <local>
// means any name without a dot). These say which proxy a request to `host` over `scheme` takes.

// The proxy for the scheme as "http://host:port" (every such proxy speaks HTTP); empty when the list
// names none for it or the bypass list covers the host.
std::string proxy_from_lists(const std::string& proxy_list, const std::string& bypass_list,
                             const std::string& scheme, const std::string& host);

// Said for the proxy when the user's setup script (PAC) or auto-detection chooses it and which proxy a
// request took is not known.
inline constexpr const char* kProxyAutoConfig = "auto-config";

// What is known of the way a WinINet request took. The settings can name a static proxy while
// WinINet follows a setup script instead, so what the connection itself says comes first.
struct ProxyEvidence {
    bool auto_config = false;  // a setup script or auto-detection is on in the user's settings
    std::string proxy_list;    // the static settings
    std::string bypass_list;
    bool connected = false;      // the request got a connection; the facts below are known
    bool through_proxy = false;  // that connection went to a proxy
    std::string proxy_address;   // "host:port" it went to, when the connection tells
};

// The proxy to report for a request to `host` over `scheme`: empty when it went direct, "http://" and
// the address when the connection tells it, kProxyAutoConfig when a script chose, else what the
// static settings name.
std::string proxy_reported(const ProxyEvidence& evidence, const std::string& scheme, const std::string& host);
