#pragma once

#include <string>

// The program's numbered string table (ids 101 to 112). Text is UTF-8.
// An id without an entry gives an empty text.
std::string load_string(int id);
