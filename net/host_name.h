#pragma once

#include <string_view>

// Names under the reserved top-level domain "invalid" can never resolve; answering that at once
// keeps the placeholder host of an unconfigured build from reaching a name server.
bool is_reserved_invalid_name(std::string_view host);

// Whether the text can only be read as one server's name or address: no character that would end
// the host part of an address ("/", "@", ":", a space, ...), apart from an address in brackets.
bool is_single_host(std::string_view host);
