#pragma once

#include <cstddef>
#include <string>

// Standard Base64 with "=" padding and no line breaks.
std::string base64_encode(const void* data, size_t size);
std::string base64_encode(const std::string& bytes);
