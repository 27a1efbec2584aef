#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

class Redactor;

// The reason given for content that is not text.
inline constexpr const char* kBinaryReason = "binary";

// A part of a source that did not go into its copy as redacted text, and why.
struct UnredactedPart {
    std::string part;       // empty for the source itself, else the entry inside it ("old.zip/dump.bin")
    std::string reason;     // kBinaryReason, or what kept an archive from being opened
    bool left_out = false;  // it stayed out of the copy instead of going in unchanged
};

struct RedactedCopy {
    bool written = false;  // the copy exists; false when writing failed or the whole source stayed out
    std::vector<UnredactedPart> unredacted;
    // Why the source itself was not read through, as the ZIP writer tells it of a source to pack
    // (kZipCannotOpen, kZipNotRegularFile, kZipPastLimit); 0 when it was.
    int source_refused = 0;
};

// Writes source into destination, a file this call creates (never an existing file, never through a
// link), with private values redacted in the source's own form: text in its encoding (UTF-8 or a code
// page, UTF-16 of either byte order, zero-byte padding looked past), a gzip file unpacked, redacted and
// packed again, a ZIP archive entry by entry under redacted names (archives inside it too, a few
// levels deep). What cannot be redacted (binary content, an archive that cannot be read) goes in
// unchanged, or stays out when leave_out_unredacted is set; either way it is listed. Handled a piece
// at a time, so a log of any size takes little memory. Only a regular file is read (a live log too,
// as far as it is written), and no more of it than max_source_bytes: a source that is or grows
// larger is not copied. A stop request ends the copy as a failed one. On failure nothing is left at
// destination.
RedactedCopy write_redacted_copy(Redactor& redactor, const std::string& source,
                                 const std::string& destination, bool leave_out_unredacted,
                                 std::optional<uint64_t> max_source_bytes = {}, std::stop_token stop = {});

// Replaces a text file the tool wrote by its redacted form. On failure the file is removed, since an
// unredacted file must not reach the bundle; false then.
bool redact_file_in_place(Redactor& redactor, const std::string& path);
