#pragma once

#include <functional>
#include <string>
#include <vector>

// One entry of a folder as the file search sees it.
struct FolderEntry {
    std::string name;
    bool folder = false;  // a folder, or a link to one
    // A symbolic link (POSIX): never entered, passed over without a word.
    bool symlink = false;
    // Windows: the kind of reparse point that names another place ("junction or mount point",
    // "symbolic link", "link"); never entered, and told. Empty for any other entry, including the
    // reparse points that keep their data in place (cloud placeholders, deduplicated files).
    std::string reparse_point;
};

// The entries of a folder, without "." and ".."; empty when it cannot be listed.
std::vector<FolderEntry> list_folder(const std::string& folder);

using FolderLister = std::function<std::vector<FolderEntry>(const std::string& folder)>;
