#pragma once

#include <string>
#include <vector>

// Whether the file or folder behind the handle belongs to the running user: its owner is the user's
// identifier or the token's default owner (the Administrators group for an elevated administrator).
bool owned_by_current_user(void* handle);

// The running user's identifier as text ("S-1-5-21-…"); empty when it cannot be read.
std::string current_user_sid_text();
