#pragma once

#include <functional>
#include <string>

// The proxy this system is set to use for a request, from the usual environment variables:
// http_proxy for http (lower case only: a server could set HTTP_PROXY for a CGI program),
// https_proxy or HTTPS_PROXY for https, all_proxy or ALL_PROXY for either, and no_proxy or NO_PROXY
// for hosts that go direct ("*" for all; otherwise names or addresses separated by commas, a name
// also covering the names under it). Empty: go direct. The request then uses exactly this, so what
// it reports is what it did.
using EnvironmentLookup = std::function<const char*(const char*)>;

std::string proxy_for(const std::string& scheme, const std::string& host, const EnvironmentLookup& lookup);
std::string proxy_for(const std::string& scheme, const std::string& host);
