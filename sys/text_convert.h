#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Standard Base64 with "=" padding and no line breaks.
std::string base64_encode(const void* data, size_t size);
std::string base64_encode(const std::string& bytes);

// The longest start of text of at most max_bytes bytes that does not end inside a UTF-8 sequence.
std::string utf8_prefix(const std::string& text, size_t max_bytes);

// Appends one Unicode code point (up to U+10FFFF) in UTF-8.
void append_utf8(std::string& out, uint32_t code);

// Whether the bytes begin with a UTF-16 byte-order mark, in either byte order.
bool starts_with_utf16_mark(const std::string& bytes);

// Text as Windows programs save it, as UTF-8: a UTF-8 byte-order mark is dropped, and text that begins
// with a UTF-16 one (Notepad's "UTF-16", PowerShell 5's ">") is decoded from UTF-16 in that byte order.
// A unit that makes no character (an unpaired surrogate, a last odd byte) becomes U+FFFD. Any other
// text comes back as it is.
std::string text_as_utf8(const std::string& bytes);
