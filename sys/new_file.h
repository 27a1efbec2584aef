#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file that this call creates and no one else: refused when the name already exists, so that a
// file or link planted under that name is never followed, truncated or written through.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();  // closes a file that is still open; what was written stays
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // owner_only: readable and writable by the owner alone (0600); otherwise the usual 0644.
    bool create(const std::string& path, bool owner_only);
    bool write(const void* data, size_t size);  // appends everything or returns false
    bool close();                               // false when anything written was lost

private:
    std::intptr_t native = -1;  // the platform's file handle
};

// Creates path with content in one go; a failure removes what was created. When replace_name is set
// an existing entry of that name (a file or a link, never what it points to) is removed first.
bool write_new_file(const std::string& path, const std::string& content, bool owner_only, bool replace_name);

// Gives the file at `from` the name `to` (in the same file system) unless that name is taken: what
// stands there, a file or a link, is never replaced or followed. False when the name is taken or the
// move failed; the file then stays at `from`.
bool move_to_new_name(const std::string& from, const std::string& to);
