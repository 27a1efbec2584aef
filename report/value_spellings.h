#pragma once

#include <string>
#include <vector>

// The ways a value the redactor knows by name is written besides itself: URL-encoded ("%5C", "%40",
// "%20" or "+" for a blank, with or without the path's "/" and ":"), JSON-escaped ("\\" for a
// backslash; "\/" for a slash and "\uXXXX" beyond ASCII, as some writers do) and, for a Windows path,
// with forward slashes.
// The value itself comes first; no spelling comes twice, letter case aside.
std::vector<std::string> spellings_of(const std::string& value);
