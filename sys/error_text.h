#pragma once

#include <string>
#include <vector>

// The English message of an error code: the HTTP client's numbers (12001 to 12175) have their own
// messages, every other code the operating system's message.
std::string error_text(int code);

// Whether a message says only that the code is unknown (empty, "unknown error", "Unknown error 42",
// "Unknown error code").
bool is_unknown_error_text(const std::string& text);

// Every code from 1 up with a known message, ascending, the HTTP client's numbers included.
std::vector<int> known_error_codes();
