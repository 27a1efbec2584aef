#pragma once

#include <rapidjson/document.h>

#include <string>

// A thin layer over RapidJSON for reading the check list. Text is UTF-8 both ways, so a title written
// with \u escapes reads the same as the same title written literally. Nothing here throws.

// Parses with the library's strict settings; true when the text is well-formed JSON. The parser
// keeps its nesting on the heap, so no depth of nesting can exhaust the thread's stack.
// On failure the document keeps its previous value.
bool JsonParse(rapidjson::Document& document, const std::string& text);

// Whether the root is an object that has this member (member names compare byte for byte).
bool JsonHasMember(const rapidjson::Document& document, const char* key);

// The member's value, or a shared null value when absent (or when the root is not an object).
const rapidjson::Value& JsonMember(const rapidjson::Document& document, const char* key);

// The member's string, or `fallback` when the member is absent. A present member that is not a
// string reads as an empty text; a string ends at its first NUL.
std::string JsonMemberText(const rapidjson::Document& document, const char* key, const std::string& fallback);

// The value's string; empty for a value that is not a string.
std::string JsonValueText(const rapidjson::Value& value);
