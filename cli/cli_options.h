#pragma once

#include <string>

// checktool-cli [--web-host HOST] [--web-port PORT] [--json] [--save-log]
struct CliOptions {
    std::string web_host;  // empty: the environment or the build-time setting
    int web_port = 0;      // 0: the environment or the build-time setting
    bool json = false;
    bool save_log = false;
};

// False (with a message) for unknown flags, missing values and ports outside 1..65535.
bool parse_cli_options(int argc, const char* const* argv, CliOptions& options, std::string& error);

extern const char* const kCliUsage;
