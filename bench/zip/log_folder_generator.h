#pragma once

#include <cstdint>
#include <string>

// Fills folder with log files that read like a remote-support product's logs (time stamps, levels,
// sessions, addresses, the odd hex dump), about total_bytes in all, spread over daily files in
// monthly subfolders. The same seed gives the same files.
bool generate_log_folder(const std::string& folder, uint64_t total_bytes, uint32_t seed = 20240305);
