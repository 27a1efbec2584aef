#pragma once

#include <string>

// What the all-users folder test found. The error codes are the system's, for the report's lines.
struct FolderRightsOutcome {
    bool folder_created = false;
    bool file_written = false;
    bool file_deleted = false;
    int file_delete_error = 0;
    bool folder_deleted = false;
    int folder_delete_error = 0;
};

// Creates folder_name in parent, writes content into a new file_name in it, and deletes both.
// The folder is shared with other users, so the test never follows a link, never writes into a folder
// it did not make (one left by an earlier run of the same user, private to it, is taken over), creates
// the file exclusively and removes only what it made. A name taken by anything else fails the test.
FolderRightsOutcome test_folder_rights(const std::string& parent, const std::string& folder_name,
                                       const std::string& file_name, const std::string& content);
