#pragma once

#include <cstddef>
#include <string>

#include "engine/check_item.h"
#include "engine/product_profile.h"

// One element of a server-kind array: "host:port", or a URL beginning with http:// or https://
// that takes the whole text as host with port 80 or 443.
struct ServerEntry {
    std::string host;
    int port = 0;

    // Only entries with a host and a positive port become check items.
    bool usable() const { return !host.empty() && port > 0; }
};

ServerEntry parse_server_entry(const std::string& entry);

// The account item that every run starts with.
CCheckItem account_item();

// The largest check list the loader accepts. Real lists are a few kilobytes; this leaves room for
// thousands of servers and still keeps a hostile server from filling memory.
inline constexpr std::size_t kMaxCheckListBytes = 4 * 1024 * 1024;

// What the user is told about a check list larger than kMaxCheckListBytes.
std::string check_list_too_large_message();

// Reads a downloaded check list into the profile's text members and the check groups (the account
// group first, then one group per server kind with usable entries, in the order of server_kinds()).
// A text larger than kMaxCheckListBytes is refused unread. On failure returns false and the message
// to show the user; the outputs are then unspecified.
bool parse_check_list(const std::string& json_text, ProductProfile& profile, CheckGroups& groups,
                      std::string& failure_message);

class CCheckHost;

// The largest check-list file read; a real one holds a few kilobytes.
inline constexpr size_t kMaxCheckListFileBytes = 4 * 1024 * 1024;

// Reads the check list from a local file instead of the web server, for when that server is blocked:
// the same reading, validation and messages as a download. A file that cannot be read (missing, not
// a regular file, larger than kMaxCheckListFileBytes) gives a message naming it. On success the host's
// profile and check groups are replaced; on failure they stay as they were.
bool load_check_list_file(CCheckHost& host, const std::string& path, std::string& failure_message);
