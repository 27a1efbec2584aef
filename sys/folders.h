#pragma once

#include <string>

// Special folders, addressed by the numbers the Windows build knows them by.
enum SpecialFolder { kLocalAppData = 0x1c, kCommonDocuments = 0x2e, kPersonal = 5 };

// The folder, not created; empty for an unknown number or when it cannot be determined.
// POSIX: kPersonal is the XDG documents folder, kLocalAppData $XDG_DATA_HOME (~/.local/share),
// kCommonDocuments /var/tmp.
std::string get_special_folder(int csidl);

// Paths from the check list may start with "__user_documents_folder__"; every occurrence of the token
// is then replaced by the user's documents folder. Other paths come back unchanged.
std::string expand_user_documents(const std::string& path);

// Removes the folder and everything below it, never following a link (or on Windows a junction) to
// what lies elsewhere: a link, at the path or below it, goes as itself. True when it existed and is
// gone.
bool delete_folder(const std::string& path);
