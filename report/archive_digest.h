#pragma once

#include <string>

// What the tool tells of a written archive's bytes: its SHA-256, which goes beside it for the
// engineer to check, and its MD5, which object stores report of an upload.
struct ArchiveDigests {
    std::string sha256_hex;  // 64 lower-case hexadecimal digits
    std::string md5;         // the 16 bytes
    bool known() const { return !sha256_hex.empty(); }
};

// Both digests of a file, each taken on a thread of its own (together they take about as long as the
// slower alone); nothing known when the file cannot be read.
ArchiveDigests file_digests(const std::string& path);

// Writes "<archive>.sha256" beside the archive in the form `sha256sum -c` checks ("<hex>  <name>",
// the name without its folder, so the check works wherever the two files are moved together). The
// archive's digests; nothing known when it could not be read or the file not written.
ArchiveDigests write_sha256_sidecar(const std::string& archive_path);
