#pragma once

#include <cstddef>
#include <string>

// Standard Base64 with "=" padding and no line breaks.
std::string base64_encode(const void* data, size_t size);
std::string base64_encode(const std::string& bytes);

// The longest start of text of at most max_bytes bytes that does not end inside a UTF-8 sequence.
std::string utf8_prefix(const std::string& text, size_t max_bytes);
