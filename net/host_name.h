#pragma once

#include <string_view>

// Names under the reserved top-level domain "invalid" can never resolve; answering that at once
// keeps the placeholder host of an unconfigured build from reaching a name server.
bool is_reserved_invalid_name(std::string_view host);
