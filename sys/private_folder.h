#pragma once

#include <string>

// A folder below the system's temporary folder that only the running user can use, for files that
// would otherwise have to go into a shared place: "<temporary folder>/<name>-<user id>", created with
// access for its owner alone when missing. Empty when it cannot be made, or when what stands at that
// name is a link, not a folder, another user's, or open to other users.
std::string private_temp_folder(const std::string& name);
