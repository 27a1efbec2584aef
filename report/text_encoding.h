#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// How a log's bytes hold its text, told from its first bytes.
enum class TextEncoding {
    kBytes,    // ASCII, UTF-8 or a code page such as 949: the patterns are ASCII in all of them
    kUtf16Le,  // with or without a byte-order mark
    kUtf16Be,
    kBinary,  // not text: goes through unchanged
};

// How many bytes of a file's start tell its encoding.
inline constexpr size_t kSniffBytes = 8 * 1024;

// head: the first bytes of a file after the leading_zeros zero bytes it starts with (padding). Text
// is what has no zero byte and no padding (as it always was), UTF-16 by its byte-order mark or by the
// zero bytes of its ASCII characters, and text padded with runs of zero bytes; the rest (zero bytes
// among control bytes) is binary.
TextEncoding sniff_encoding(std::string_view head, uint64_t leading_zeros);
