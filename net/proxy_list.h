#pragma once

#include <string>

// Windows keeps a user's proxy settings as two texts: the proxy list ("host:port", or per scheme
// "http=host:port;https=host:port") and the bypass list ("*.example.com;10.*;<local>", where <local>
// means any name without a dot). These say which proxy a request to `host` over `scheme` takes.

// The proxy for the scheme as "http://host:port" (every such proxy speaks HTTP); empty when the list
// names none for it or the bypass list covers the host.
std::string proxy_from_lists(const std::string& proxy_list, const std::string& bypass_list,
                             const std::string& scheme, const std::string& host);
