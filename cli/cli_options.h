#pragma once

#include <string>

#include "engine/archive_upload.h"
#include "engine/bundle_options.h"

// The command line of checktool-cli; cli_help.h describes every flag.
struct CliOptions {
    std::string web_host;         // empty: the environment or the build-time setting
    int web_port = 0;             // 0: the environment or the build-time setting
    std::string check_list_file;  // empty: the check list is downloaded from the web server
    bool json = false;
    bool save_log = false;
    BundleOptions bundle;  // only with save_log
    ArchiveUploadOptions upload;  // only with save_log
    bool help = false;
    bool version = false;
};

// False (with a message) for unknown flags, missing or bad values (ports outside 1..65535, day counts
// and sizes that are not positive whole numbers, an address an upload cannot use), bundle and upload
// flags without --save-log, and the upload's header and authority flags without --upload.
bool parse_cli_options(int argc, const char* const* argv, CliOptions& options, std::string& error);
