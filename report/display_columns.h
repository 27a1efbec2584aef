#pragma once

#include <string>

// Widths of UTF-8 text in a fixed-pitch font: East Asian wide and full-width characters (Hangul,
// CJK ideographs, kana, full-width forms) take two columns, combining marks none, the rest one.
// Bytes that are not valid UTF-8 count one column each.
int display_width(const std::string& utf8);

// The text followed (pad_right) or preceded (pad_left) by blanks up to the given number of columns.
// A text that is already wider comes back whole.
std::string pad_right(const std::string& utf8, int columns);
std::string pad_left(const std::string& utf8, int columns);
