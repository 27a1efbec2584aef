#pragma once

#include <cstdint>
#include <string>

// Facts about the running executable and files on disk. Stateless; callable from any thread.

// The running executable's full path, or with full false only its file name with extension.
std::string get_exe_path(bool full = true);

// One part of a path; both "/" and "\" separate folders, and a leading drive letter ("C:") is part 0.
//   0 drive ("" for POSIX paths), 1 folder (drive and directory without the trailing separator, except
//   that a root keeps it: "C:\", "/"), 2 the folder's last component, 3 title (name without
//   extension), 4 extension without the dot, 5 file name with extension.
std::string split_path(const std::string& path, int part);

// True at once when the folder exists; otherwise creates it with all missing parents.
// A path that exists but is not a folder gives false.
bool create_folder(const std::string& path);

// The version text of a file. The tool's own executable (an empty path means that one) reports the
// build's version for "FileVersion" and "ProductVersion" and "(null)" for any other key; every other
// file has no version and gives an empty text.
std::string get_file_version(const std::string& path = "", const std::string& key = "FileVersion");

// Last-modification time as calendar seconds, 0 when it cannot be read.
int64_t get_file_time(const std::string& path);
