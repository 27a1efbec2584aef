#pragma once

#include <string>

// The process list of a redacted bundle: other users' processes are listed without their arguments
// (which hold tokens, other people's logins and files), only with their program; the user's own keep
// theirs, to be redacted with the rest. This reads the POSIX list (a header with USER and, last,
// COMMAND); any other list, such as Windows' tasklist, which shows no arguments, comes back unchanged.
std::string without_other_users_arguments(const std::string& listing, const std::string& login);
