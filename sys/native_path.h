#pragma once

#include <string>

// Check lists are written for Windows ("__user_documents_folder__\Vendor\Logs"): the folder separators
// of such a path in the platform's own form.
std::string native_separators(const std::string& path);
