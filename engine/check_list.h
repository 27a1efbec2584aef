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
