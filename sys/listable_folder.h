#pragma once

#include <string>

// Whether the platform's directory listing can open this folder at all. Windows' listing cannot take a
// folder whose full path reaches MAX_PATH, and lists the working folder instead of failing.
bool folder_can_be_listed(const std::string& folder);
