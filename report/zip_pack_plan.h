#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What ZipFileList packs, in archive order, and how far it has got.

struct ZipListItem {
    std::string entry_name;
    std::string path;  // the source file; empty for a folder entry
    bool folder() const { return path.empty(); }
};

class ZipPackProgress {
public:
    ZipPackProgress(std::function<void(uint64_t, uint64_t)> report, uint64_t total)
        : report(std::move(report)), total(total) {}
    void add(uint64_t bytes) {
        done += bytes;
        if (report) report(done, total);
    }

private:
    std::function<void(uint64_t, uint64_t)> report;
    uint64_t total = 0;
    uint64_t done = 0;
};
