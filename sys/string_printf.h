#pragma once

#include <cstdarg>
#include <string>

// The formats are the C library's; MinGW's C++ runtime uses its ANSI one (which knows %zu and %lld),
// not the Microsoft one the plain "printf" check assumes there.
#if defined(__MINGW32__)
#define CHECKTOOL_PRINTF_STYLE gnu_printf
#else
#define CHECKTOOL_PRINTF_STYLE printf
#endif

// printf formatting into a string of whatever length the text needs.
// False (and `out` unchanged) when the format cannot be applied.
bool string_vprintf(std::string& out, const char* format, va_list args);

// The formatted text; empty when the format cannot be applied.
std::string string_printf(const char* format, ...) __attribute__((format(CHECKTOOL_PRINTF_STYLE, 1, 2)));
