#pragma once

#include <cstdarg>
#include <string>

// printf formatting into a string of whatever length the text needs.
// False (and `out` unchanged) when the format cannot be applied.
bool string_vprintf(std::string& out, const char* format, va_list args);

// The formatted text; empty when the format cannot be applied.
std::string string_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
