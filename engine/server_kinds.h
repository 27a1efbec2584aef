#pragma once

#include <string>
#include <utility>
#include <vector>

// The six server kinds, ordered by key: (check-list member name, display name). The position of a
// kind in this table is an item's kind_index.
using ServerKinds = std::vector<std::pair<std::string, std::string>>;

const ServerKinds& server_kinds();

// The position of a kind key in server_kinds(), or -1.
int server_kind_index(const std::string& key);

// Relay kinds speak the relay protocol (or get a plain connection test on high ports).
bool is_relay_kind(const std::string& key);
