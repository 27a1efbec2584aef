#include <dirent.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/soak/process_usage.h"

namespace {

// The numbers after "Threads:" and "VmRSS:" (in KiB) in /proc/self/status.
void read_status(ProcessUsage& usage) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        const long value = std::strtol(line.c_str() + colon + 1, nullptr, 10);
        if (key == "Threads")
            usage.threads = value;
        else if (key == "VmRSS")
            usage.resident_kib = value;
    }
}

long count_open_descriptors() {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder) return -1;
    // The listing's own descriptor shows up in the listing.
    const std::string own = std::to_string(dirfd(folder));
    long count = 0;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != own) ++count;
    }
    closedir(folder);
    return count;
}

}  // namespace

ProcessUsage current_process_usage() {
    ProcessUsage usage;
    read_status(usage);
    usage.open_descriptors = count_open_descriptors();
    return usage;
}
