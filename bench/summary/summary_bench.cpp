// Writes the summary page of a bundle of many files (100,000 by default: two log archives, folders of
// a hundred and of thousands of files) and reports the time and the page's size, beside the time the
// former ordering of the file rows took on the same files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/summary_page.h"

namespace {

using Clock = std::chrono::steady_clock;

PackingRecord many_files(size_t count) {
    PackingRecord record;
    record.packed.push_back({"", "check_result.txt", 1236, 1733740800});
    record.packed.push_back({"", "Quenmora_log.zip", 1 << 30, 1733740800});
    record.packed.push_back({"", "Quenmora_log_viewer.zip", 1 << 28, 1733740800});
    const size_t agent = count * 7 / 10;
    for (size_t i = 0; i < count; ++i) {
        const bool in_agent = i < agent;
        // The agent's logs in daily folders of a hundred; the viewer's in ten folders of thousands.
        const std::string folder = in_agent ? "2024/day" + std::to_string(i / 100) : "viewer" + std::to_string(i % 10);
        record.packed.push_back({in_agent ? "Quenmora_log.zip" : "Quenmora_log_viewer.zip",
                                 folder + "/session_" + std::to_string(i) + ".log", 1000 + i % 5000,
                                 static_cast<int64_t>(1733740800 + i)});
    }
    return record;
}

// The ordering the page used before: for every top-level file a pass over all files, and for every
// file a search of the rows placed so far.
size_t former_order(const PackingRecord& files) {
    std::vector<const PackedFile*> order;
    for (const PackedFile& f : files.packed) {
        if (!f.archive.empty()) continue;
        order.push_back(&f);
        for (const PackedFile& inner : files.packed)
            if (inner.archive == f.name) order.push_back(&inner);
    }
    for (const PackedFile& f : files.packed)
        if (std::find(order.begin(), order.end(), &f) == order.end()) order.push_back(&f);
    return order.size();
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;
    SummaryPage page;
    page.product_title = "Quenmora";
    page.files = many_files(count);

    double best = 1e30;
    size_t bytes = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        bytes = summary_page_html(page).size();
        best = std::min(best, seconds_since(start));
    }
    const auto start = Clock::now();
    const size_t ordered = former_order(page.files);
    const double former = seconds_since(start);

    std::printf("%zu files: the whole page in %.3f s (best of 3), %.1f MB (%zu bytes)\n", count, best,
                bytes / 1e6, bytes);
    std::printf("the former ordering of the file rows alone: %.3f s (%zu rows)\n", former, ordered);
    return 0;
}
