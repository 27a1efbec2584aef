#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a log collection packed and what it left out, and why; filled as the collection goes and
// shown on the summary page, so the engineer need not dig the reasons out of the tool's log.

struct PackedFile {
    std::string archive;   // the nested archive holding the file; empty for the bundle itself
    std::string name;      // the entry name
    uint64_t size = 0;     // bytes on disk when it was packed
    int64_t modified = 0;  // calendar seconds; 0 when unknown
};

struct SkippedFile {
    std::string path;    // the file or folder left out
    std::string reason;  // English, for the engineer
};

struct PackingRecord {
    std::vector<PackedFile> packed;
    std::vector<SkippedFile> skipped;
    std::vector<SkippedFile> unredacted;  // packed into a redacted bundle as they were, and why

    // Notes a packed file, reading its size and time from source_path.
    void add_packed(const std::string& archive, const std::string& name, const std::string& source_path);
    void add_skipped(const std::string& path, const std::string& reason);
    void add_unredacted(const std::string& path, const std::string& reason);
    // A nested archive that did not get into the bundle after all: its files are not packed.
    void drop_archive(const std::string& archive);
};
