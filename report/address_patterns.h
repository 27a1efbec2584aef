#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The private values the redactor finds by their shape: IPv4 and IPv6 addresses, MAC addresses and
// e-mail addresses, in the notations logs and system tools write them. Each matcher looks at text
// from i on (and at a few bytes before i for context) and never reads more than kPatternReach bytes
// past i, so that text handled in pieces gives the same result as text handled whole.

inline constexpr size_t kPatternReach = 512;

struct ValueMatch {
    size_t length = 0;           // bytes from i the match covers
    size_t kept = 0;             // leading bytes of those that stay as they are (a DUID's type and time)
    const char* kind = nullptr;  // "ip", "mac", "email"; none for a value that names nobody and stays
    std::string key;             // the value in one normal form, so that every spelling gets one token
};

// "jkim@example.org", also URL-encoded ("jkim%40example.org") or JSON-escaped ("jkim\u0040…").
bool match_email(std::string_view text, size_t i, ValueMatch& match);
// "00:1a:2b:3c:4d:5e", "00-1A-2B-3C-4D-5E", Cisco's "001a.2b3c.4d5e", and the adapter's address at
// the end of a DHCPv6 client DUID ("00-01-00-01-2A-3B-4C-5D-00-1A-2B-3C-4D-5E").
bool match_mac(std::string_view text, size_t i, ValueMatch& match);
// Every written form, after a label ("addr:fe80::1"), and a full address with a port ("…:0:1:443").
bool match_ipv6(std::string_view text, size_t i, ValueMatch& match);
// Dotted ("10.1.2.3"), glued to a word ("srv10.1.2.3"), with BSD netstat's port ("10.1.2.3.443") or
// dashed in a cloud host name ("ip-10-1-2-3"). A quad after a version word ("build 1.0.0.7") stays.
bool match_ipv4(std::string_view text, size_t i, ValueMatch& match);
