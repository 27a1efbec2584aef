#pragma once

#include <string>

// The program's numbered string table (ids 101 to 112, 201 to 221 for screen readers and the
// keyboard, 600 to 699 for sending the bundle on). Text is UTF-8; res/string_arguments.h fills in
// the "%1" placeholders.
// An id without an entry gives an empty text.
std::string load_string(int id);
