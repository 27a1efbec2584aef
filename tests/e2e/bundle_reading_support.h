#pragma once

#include <string>

// Readings of the CLI's support bundle made in process, so that they mean the same on every platform
// (Windows has no unzip or sha256sum; tests/base64_decoding.h stands in for base64).

// The SHA-256 of the file's bytes in lower-case hex; empty when it cannot be read.
std::string sha256_of_file(const std::string& path);

// Every entry of the archive written below folder, and every archive inside it unpacked the same way
// into "<its path>.d"; false when an entry cannot be read back whole.
bool unpack_all(const std::string& archive, const std::string& folder);
