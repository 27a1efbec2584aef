#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sys/folder_listing.h"

// A non-zero code page writes UTF-8 with a byte-order mark and CR LF line ends. Code page 0 writes the
// bytes as they are; with raw they are followed by one zero byte. False when the file cannot be
// written.
bool write_text_file(const std::string& path, const std::string& text, int code_page, bool raw);

// The file's size in bytes, 0 when unreadable. A drive ("C:") or the root "/" gives the volume's used
// space (total minus free) instead.
uint64_t get_file_size(const std::string& path);

// A folder the search did not enter: a reparse point that names another place (Windows).
struct PassedOverFolder {
    std::string path;
    std::string kind;  // "junction or mount point", "symbolic link", "link"
};

// Appends to out the paths below folder whose names match name_pattern ("*" and "?", letters in any
// case; empty means "*"). extensions: ";"-separated, "*" and "." ignored, empty wants all. excludes:
// ";"-separated pieces; a file whose name contains one (any case) is skipped. Folders are listed only
// with include_folders and without recursive; with recursive the search descends into them instead,
// never through a symbolic link, junction or other link (a link back up the tree would make it endless,
// and what lies beyond is not the folder's). The Windows links it passes over go to passed_over when
// given. sort orders the whole list (and passed_over) by path, byte by byte. list: the folders' listing
// (tests fake it).
void find_files(std::vector<std::string>& out, const std::string& folder, const std::string& name_pattern,
                const std::string& extensions, bool include_folders, const std::string& excludes, bool sort,
                bool recursive, std::vector<PassedOverFolder>* passed_over = nullptr,
                const FolderLister& list = list_folder);
