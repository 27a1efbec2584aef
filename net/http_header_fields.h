#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using HttpHeaderFields = std::vector<std::pair<std::string, std::string>>;

// "Name: value" (with or without its CR LF) as its name and its value without surrounding blanks;
// empty for a line that is no header field (a status line, the blank line that ends a head).
std::optional<std::pair<std::string, std::string>> header_field(std::string_view line);

// The value of the first field of that name, in any letter case; empty when there is none.
std::optional<std::string> header_value(const HttpHeaderFields& fields, std::string_view name);
