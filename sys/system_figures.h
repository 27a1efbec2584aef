#pragma once

#include <cstdint>
#include <string>

// Available physical memory in bytes; the total through *total (when given). 0 when unknown.
uint64_t get_memory_status(uint64_t* total);

// Free bytes of the volume holding path (all of them, not the caller's quota); 0 for a CD-ROM or a
// failed query. An empty path means the current folder; a drive letter ("C", "C:", "C:\") and "/"
// mean the root file system.
uint64_t get_disk_free(const std::string& path);
// Total bytes of that volume, same rules (an empty path gives 0).
uint64_t get_disk_total(const std::string& path);

// The root of the volume the operating system lives on, as the report names it: on Windows the
// system drive ("C:\"), whatever drive the current folder is on; elsewhere "/".
std::string system_drive_root();
