#pragma once

#include <stop_token>
#include <string>

// Runs a shell command line and returns what it wrote to standard output and standard error, read
// until the pipe closes, with "\r\n" turned into "\n". When timeout_ms passes first, the command and
// everything it started are killed and the output so far is returned; timeout_ms <= 0 waits without
// limit. A stop request ends the command the same way, at once. Empty when the command cannot be
// started.
std::string run_and_capture(const std::string& command, int timeout_ms = 120000, std::stop_token stop = {});
