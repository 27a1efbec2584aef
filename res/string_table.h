#pragma once

#include <string>

// The program's numbered string table (ids 101 to 112, and 201 to 221 for
// screen readers and the keyboard). Text is UTF-8.
// An id without an entry gives an empty text.
std::string load_string(int id);
