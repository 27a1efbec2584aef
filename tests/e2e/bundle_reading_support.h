#pragma once

#include <string>

// Readings of the CLI's support bundle made in process, so that they mean the same on every platform
// (Windows has no unzip, sha256sum or base64).

// The SHA-256 of the file's bytes in lower-case hex; empty when it cannot be read.
std::string sha256_of_file(const std::string& path);

// Base64 text decoded; NUL bytes (of text stored as UTF-16) and line ends are passed over.
std::string base64_decoded(const std::string& text);

// Every entry of the archive written below folder, and every archive inside it unpacked the same way
// into "<its path>.d"; false when an entry cannot be read back whole.
bool unpack_all(const std::string& archive, const std::string& folder);
