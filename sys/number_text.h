#pragma once

#include <cstdint>
#include <string>

// Size, number and address texts for the report, the inventories and the lists. Pure functions.

// Units by index: 0 " Bytes", 1 "KB", 2 "MB" ... 8 "YB", each 1024 of the one before; -1 chooses
// the unit automatically (three significant digits, decimals ignored). The value is rounded up.
// 17179869184 in GB with one decimal: "16.0GB".
std::string format_size(uint64_t bytes, int unit, int decimals, bool append_unit, bool grouping);

// decimals < 0 gives the "%f" form. grouping puts "," between thousands of the integer part.
std::string format_decimal(double value, int decimals, bool grouping);

// With zero_pad, padded with zeros to width: format_integer(7, true, 3) is "007".
std::string format_integer(int64_t value, bool zero_pad, int width);

// Hides a server address for display: 10.20.30.40 becomes 10******40; a host name keeps its first
// label and shows one "*" per further character.
std::string MaskAddress(const std::string& address);

// Byte index of the first occurrence of what in text, or -1 (also for an empty what). Without
// case_sensitive, ASCII letters compare ignoring case.
int find_text(const std::string& text, const std::string& what, bool case_sensitive);
