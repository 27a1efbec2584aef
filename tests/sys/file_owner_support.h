#pragma once

#include <string>

// Hands the file (not following a link) to a user other than the test's; false when the test's user
// may not do that (only a superuser may).
bool give_to_another_user(const std::string& path);

// The user id of the file's owner, not following a link; -1 when it cannot be read.
long owner_of(const std::string& path);

// The running user's id.
long current_user();
