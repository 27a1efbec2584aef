#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The program's numbered string table, UTF-8. Ids 101 to 112 and 201 to 221 are its first entries
// (string_table.cpp); each subsystem and front end has a block of its own with named ids:
// engine_texts.h (300s), report_texts.h (400s), window_texts.h (500s),
// upload_texts.h (600s), cli_texts.h (700s).
// An id without an entry gives an empty text.
std::string load_string(int id);

// The text with each %1 to %9 replaced by the value of that number, in one pass: what a value holds is
// never taken for a placeholder. A placeholder without a value stays as it is.
std::string fill_text(std::string_view text, std::initializer_list<std::string_view> values);

// load_string(id) with its placeholders filled.
std::string load_string(int id, std::initializer_list<std::string_view> values);
