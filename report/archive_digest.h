#pragma once

#include <string>

// The SHA-256 of a file as 64 lower-case hexadecimal digits; empty when the file cannot be read.
std::string file_sha256_hex(const std::string& path);

// Writes "<archive>.sha256" beside the archive in the form `sha256sum -c` checks ("<hex>  <name>",
// the name without its folder, so the check works wherever the two files are moved together). The
// digest, or empty when the archive could not be read or the file not written.
std::string write_sha256_sidecar(const std::string& archive_path);
