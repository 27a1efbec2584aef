#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Choices for one log collection beyond what the window offers. The defaults pack everything
// unchanged, as the window does.
struct BundleOptions {
    bool checksum = false;     // "<archive>.sha256" beside the archive
    bool redact = false;       // private values in texts and file names become tokens
    bool drop_binary = false;  // with redact: files that are not text stay out instead of going in unchanged
    std::optional<int> since_days;          // only log files modified within this many days
    std::optional<uint64_t> max_file_size;  // only log files of at most this many bytes
};

// A file the collection left out, and why, for the tool's log and the bundle's summary.
struct NotPackedFile {
    std::string name;
    std::string reason;
};

// A file that went into a redacted bundle as it was, and why ("binary"): the user is told of each.
struct UnredactedFile {
    std::string name;
    std::string reason;
};

// "200M", "512k", "1G", "4096" (bytes); K, M and G are powers of 1024 and a "B" may follow them.
// Nothing for anything else, for 0 and for sizes past 2^63.
std::optional<uint64_t> parse_byte_size(std::string_view text);

// A whole number of days from 1 to 36500; nothing for anything else.
std::optional<int> parse_day_count(std::string_view text);
