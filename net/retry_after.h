#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The wait a Retry-After field asks for, in seconds: a number of seconds, or an HTTP date
// ("Wed, 21 Oct 2026 07:28:00 GMT") counted from `now` (seconds since 1970, UTC; 0 for a date
// already past). Empty when the value is neither.
std::optional<std::int64_t> retry_after_seconds(const std::string& value, std::int64_t now);
