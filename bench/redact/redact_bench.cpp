// How fast the collection redacts log files: a support bundle's logs can reach hundreds of MB. The
// files are ~90% generated product logs (bench/zip's generator: time stamps, sessions, addresses) and
// ~10% lines dense with private values; each pass copies all of them, redacted, file to file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/zip/log_folder_generator.h"
#include "report/redacted_copy.h"
#include "report/redactor.h"
#include "report/utf16_text.h"
#include "sys/fs_path.h"
#include "tests/report/gzip_test_support.h"
#ifdef CHECKTOOL_REDACT_BASELINE
#include "bench/redact/baseline_redaction.h"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kPasses = 5;

const UserIdentity kIdentity{"kiosk-07", "jkim", "Kim Jiwoo", "/home/jkim"};

std::string dense_text(uint64_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) {
        const std::string n = std::to_string(i % 250);
        text += "2026-12-09 14:07:09.123 [info] CSession::OnConnect session " + std::to_string(i) +
                " from 192.168." + n + ".7:7002 mac 00:1a:2b:3c:4d:" + std::to_string(10 + i % 80) +
                " user jkim@example.org login jkim file " + "/home/jkim/logs/a" + n +
                ".log v6 2001:db8::" + n + " build 1.0.0." + n + "\n";
    }
    return text;
}

bool write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs_path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

uint64_t total_size(const std::vector<std::string>& files) {
    uint64_t total = 0;
    for (const std::string& f : files) total += fs::file_size(fs_path(f));
    return total;
}

std::vector<std::string> destinations_for(const std::vector<std::string>& sources,
                                          const std::string& folder) {
    fs::remove_all(fs_path(folder));
    fs::create_directories(fs_path(folder));
    std::vector<std::string> out;
    for (size_t n = 0; n < sources.size(); ++n) out.push_back(folder + "/" + std::to_string(n));
    return out;
}

bool today_redact_files(const std::vector<std::string>& sources,
                        const std::vector<std::string>& destinations) {
    Redactor redactor(kIdentity);
    for (size_t n = 0; n < sources.size(); ++n)
        if (!write_redacted_copy(redactor, sources[n], destinations[n], false).written) return false;
    return true;
}

// The best of several passes, by the clock on the wall and by the processor time this process used
// (steadier on a machine shared with other work).
struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

template <typename Redact>
void time_pass(const std::vector<std::string>& sources, const std::string& out_folder, Redact redact,
               Timing& best) {
    const std::vector<std::string> destinations = destinations_for(sources, out_folder);
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    if (!redact(sources, destinations)) {
        std::fprintf(stderr, "a redacted copy failed\n");
        std::exit(1);
    }
    best.cpu = std::min(best.cpu, static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
    best.wall =
        std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

template <typename Redact>
Timing best_of_passes(const std::vector<std::string>& sources, const std::string& out_folder, Redact redact) {
    Timing best;
    for (int pass = 0; pass < kPasses; ++pass) time_pass(sources, out_folder, redact, best);
    return best;
}

void report(const char* what, uint64_t bytes, const Timing& t) {
    std::printf("%-36s %7.1f MB  wall %6.2f s  cpu %6.2f s  %6.1f MB/s\n", what,
                static_cast<double>(bytes) / 1e6, t.wall, t.cpu, static_cast<double>(bytes) / 1e6 / t.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    const std::string folder = utf8_of(fs::temp_directory_path()) + "/bench_redact_" +
                               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    fs::create_directories(fs_path(folder + "/logs"));
    const uint64_t total = megabytes * 1000 * 1000;
    if (!generate_log_folder(folder + "/logs", total * 9 / 10)) return 1;
    const std::string dense = dense_text(total / 10);
    write_bytes(folder + "/logs/dense.log", dense);
    std::vector<std::string> logs;
    for (const auto& entry : fs::recursive_directory_iterator(fs_path(folder + "/logs")))
        if (entry.is_regular_file()) logs.push_back(utf8_of(entry.path()));
    std::sort(logs.begin(), logs.end());
    const uint64_t bytes = total_size(logs);

    std::printf("%zu log files, best of %d passes each\n", logs.size(), kPasses);
    Timing today;
#ifdef CHECKTOOL_REDACT_BASELINE
    // Passes take turns, so that both meet the same load.
    Timing before;
    for (int pass = 0; pass < kPasses; ++pass) {
        time_pass(logs, folder + "/out", today_redact_files, today);
        time_pass(
            logs, folder + "/out",
            [](const auto& sources, const auto& destinations) {
                return baseline_redact_files(kIdentity, sources, destinations);
            },
            before);
    }
    report("today", bytes, today);
    report("baseline " CHECKTOOL_REDACT_BASELINE, bytes, before);
    std::printf("today / baseline: wall %.2f, cpu %.2f\n", today.wall / before.wall, today.cpu / before.cpu);
#else
    today = best_of_passes(logs, folder + "/out", today_redact_files);
    report("today", bytes, today);
#endif

    // Forms the baseline passed through unredacted: the dense lines as UTF-16 and gzip-packed.
    std::string utf16 = "\xFF\xFE";
    Utf16Encoder(false).encode(dense, utf16);
    write_bytes(folder + "/dense-utf16.log", utf16);
    write_bytes(folder + "/dense.log.gz", gzip(dense));
    const std::vector<std::string> utf16_log = {folder + "/dense-utf16.log"};
    const std::vector<std::string> gz_log = {folder + "/dense.log.gz"};
    report("today, dense UTF-16LE (source size)", total_size(utf16_log),
           best_of_passes(utf16_log, folder + "/out", today_redact_files));
    report("today, dense gzip (text size)", dense.size(),
           best_of_passes(gz_log, folder + "/out", today_redact_files));
    fs::remove_all(fs_path(folder));
    return 0;
}
