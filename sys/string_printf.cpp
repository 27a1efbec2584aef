#include "sys/string_printf.h"

#include <cstdio>
#include <vector>

bool string_vprintf(std::string& out, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) return false;
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    if (std::vsnprintf(buffer.data(), buffer.size(), format, args) < 0) return false;
    out.assign(buffer.data(), static_cast<size_t>(n));
    return true;
}

std::string string_printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out;
    string_vprintf(out, format, args);
    va_end(args);
    return out;
}
