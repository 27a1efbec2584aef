#pragma once

#include <cstdio>
#include <string>

// std::fopen for a UTF-8 path. On Windows the name reaches the system as UTF-16: a narrow name there
// is read in the ANSI code page (949 on Korean Windows), which cannot name a Hangul folder for sure.
// Null when the file cannot be opened, as std::fopen.
std::FILE* open_file(const std::string& path, const char* mode);
