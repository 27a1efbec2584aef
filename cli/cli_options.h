#pragma once

#include <string>

// The command line of checktool-cli; cli_help.h describes every flag.
struct CliOptions {
    std::string web_host;  // empty: the environment or the build-time setting
    int web_port = 0;      // 0: the environment or the build-time setting
    bool json = false;
    bool save_log = false;
    bool help = false;
    bool version = false;
};

// False (with a message) for unknown flags, missing values and ports outside 1..65535.
bool parse_cli_options(int argc, const char* const* argv, CliOptions& options, std::string& error);
