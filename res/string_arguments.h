#pragma once

#include <initializer_list>
#include <string>

// A table text with its placeholders filled: "%1" is the first value, "%2" the second, up to "%9";
// a placeholder without a value, and any other "%", stay as they are. Values are not searched again.
std::string with_arguments(const std::string& text, std::initializer_list<std::string> values);
