#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "sys/system_figures.h"

namespace {

// Optical media report these file-system types; like a CD-ROM drive on Windows they count as 0.
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

// A drive ("C", "C:", "C:\") means the system volume, which here is the root file system.
std::string volume_root(const std::string& path) {
    bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (letter &&
        (path.size() == 1 ||
         (path[1] == ':' && (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))))))
        return "/";
    return path;
}

bool query_volume(const std::string& root, struct statvfs& figures) {
    struct statfs kind {};
    if (statfs(root.c_str(), &kind) != 0) return false;
    if (kind.f_type == kIso9660Magic || kind.f_type == kUdfMagic) return false;
    return statvfs(root.c_str(), &figures) == 0;
}

uint64_t meminfo_bytes(const std::string& meminfo, const std::string& key) {
    std::istringstream lines(meminfo);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size() + 1, key + ":") != 0) continue;
        std::istringstream fields(line.substr(key.size() + 1));
        uint64_t kib = 0;
        fields >> kib;
        return kib * 1024;
    }
    return 0;
}

}  // namespace

uint64_t get_memory_status(uint64_t* total) {
    std::ifstream file("/proc/meminfo");
    std::stringstream text;
    text << file.rdbuf();
    uint64_t available = meminfo_bytes(text.str(), "MemAvailable");
    uint64_t all = meminfo_bytes(text.str(), "MemTotal");
    if (all == 0) {
        long pages = sysconf(_SC_PHYS_PAGES);
        long free_pages = sysconf(_SC_AVPHYS_PAGES);
        long page_size = sysconf(_SC_PAGESIZE);
        if (pages > 0 && page_size > 0) all = static_cast<uint64_t>(pages) * page_size;
        if (free_pages > 0 && page_size > 0) available = static_cast<uint64_t>(free_pages) * page_size;
    }
    if (total) *total = all;
    return available;
}

uint64_t get_disk_free(const std::string& path) {
    struct statvfs figures {};
    if (!query_volume(path.empty() ? "." : volume_root(path), figures)) return 0;
    return static_cast<uint64_t>(figures.f_bfree) * figures.f_frsize;
}

uint64_t get_disk_total(const std::string& path) {
    struct statvfs figures {};
    if (path.empty() || !query_volume(volume_root(path), figures)) return 0;
    return static_cast<uint64_t>(figures.f_blocks) * figures.f_frsize;
}

std::string system_drive_root() {
    return "/";
}
