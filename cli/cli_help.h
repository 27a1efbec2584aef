#pragma once

#include <string>

#include "sys/program_main.h"

// What the command line ends with; --help and the manual page explain each.
enum CliExitStatus {
    kAllPassed = 0,
    kSomeFailed = 1,
    kCheckListUnusable = 2,
    // --save-log wrote no archive; outranks "some check failed", whose news the output still carries.
    kNoArchive = 3,
    // --upload could not send the archive, which stays where it was written; outranks kNoArchive.
    kUploadFailed = 4,
    kUsage = 64,
    kUnexpectedFailure = kUnexpectedFailureStatus,  // a fault of the program itself; standard error says what
    kStopped = 130,
};

// The one-line usage, from the flags table (so a new flag needs one row there and a branch in
// parse_cli_options).
std::string cli_usage();

// Usage, every flag with its meaning, the exit statuses and the environment, for --help.
std::string cli_help();

// "checktool-cli <version of this build>".
std::string cli_version();
