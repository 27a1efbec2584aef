#pragma once

#include <string>
#include <vector>

// The security identifier new files of the running process are owned by (the token's default owner),
// as raw bytes; empty when the token cannot be read.
std::vector<unsigned char> default_owner_sid();

// Whether the object behind the handle is owned by that identifier.
bool owned_by(void* handle, const std::vector<unsigned char>& owner_sid);

// The running user's identifier as text ("S-1-5-21-…"); empty when it cannot be read.
std::string current_user_sid_text();
