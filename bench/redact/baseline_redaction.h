#pragma once

#include <string>
#include <vector>

#include "sys/user_identity.h"

// The baseline revision's redaction (see CMakeLists.txt): one redactor for all sources, each copied to
// the destination of the same index. False when a copy failed.
bool baseline_redact_files(const UserIdentity& identity, const std::vector<std::string>& sources,
                           const std::vector<std::string>& destinations);
