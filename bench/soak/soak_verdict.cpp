#include "bench/soak/soak_verdict.h"

namespace {

std::string change(const char* what, long start, long end, const char* unit = "") {
    return std::string(what) + " " + std::to_string(start) + unit + " -> " + std::to_string(end) + unit;
}

}  // namespace

SoakVerdict judge_soak(const ProcessUsage& start, const ProcessUsage& end) {
    const bool readable = start.open_descriptors >= 0 && start.threads >= 0 && start.resident_kib >= 0 &&
                          end.open_descriptors >= 0 && end.threads >= 0 && end.resident_kib >= 0;
    const long growth = end.resident_kib - start.resident_kib;
    const bool descriptors_flat = end.open_descriptors == start.open_descriptors;
    const bool threads_flat = end.threads == start.threads;
    const bool memory_flat = growth < kMaxResidentGrowthKib;

    SoakVerdict verdict;
    verdict.flat = readable && descriptors_flat && threads_flat && memory_flat;
    std::string figures =
        change("descriptors", start.open_descriptors, end.open_descriptors) +
        (descriptors_flat ? "" : " (must stay equal)") + ", " +
        change("threads", start.threads, end.threads) + (threads_flat ? "" : " (must stay equal)") + ", " +
        change("resident", start.resident_kib, end.resident_kib, " KiB") + " (" + (growth >= 0 ? "+" : "") +
        std::to_string(growth) + " KiB, limit +" + std::to_string(kMaxResidentGrowthKib) + " KiB)";
    if (!readable) figures = "usage could not be read: " + figures;
    verdict.line = (verdict.flat ? "flat: " : "NOT flat: ") + figures;
    return verdict;
}
