// Packs a generated log folder with our writer and with Info-ZIP "zip -8 -r -X", each in a child
// process, alternating, and compares time (best of the rounds), archive size and peak memory.
// The generated data stays in the temporary folder for later runs; it is never committed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/zip/child_usage.h"
#include "bench/zip/log_folder_generator.h"
#include "report/zip_writer.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/fs_path.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 3;

int pack(const std::string& folder, const std::string& archive) {
    std::vector<std::string> files;
    find_files(files, folder, "*", "*", false, "", true, true);
    return ZipFileList("", folder, archive, files) == kZipOk ? 0 : 1;
}

// The generated folder for a size, made once.
std::string log_folder(uint64_t megabytes) {
    const fs::path folder =
        fs::temp_directory_path() / ("checktool_zip_bench_" + std::to_string(megabytes) + "MB");
    const fs::path done = folder / ".complete";
    if (!fs::exists(done)) {
        std::printf("generating %llu MB of log text in %s ...\n", static_cast<unsigned long long>(megabytes),
                    folder.c_str());
        fs::remove_all(folder);
        if (!generate_log_folder(utf8_of(folder), megabytes << 20)) return {};
        fs::create_directory(done);  // a folder: zip -r would pack a marker file
    }
    return utf8_of(folder);
}

struct Measure {
    double best_seconds = 1e30;
    double best_cpu_seconds = 1e30;
    long peak_kib = 0;
    uint64_t archive_bytes = 0;
    bool ok = true;
};

void record(Measure& m, const ChildUsage& u, const std::string& archive) {
    m.ok = m.ok && u.started && u.exit_code == 0;
    m.best_seconds = std::min(m.best_seconds, u.seconds);
    m.best_cpu_seconds = std::min(m.best_cpu_seconds, u.cpu_seconds);
    m.peak_kib = std::max(m.peak_kib, u.peak_kib);
    m.archive_bytes = get_file_size(archive);
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "pack") return pack(argv[2], argv[3]);

    const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100;
    const std::string folder = log_folder(megabytes);
    const std::string small_folder = log_folder(10);
    if (folder.empty() || small_folder.empty()) {
        std::fprintf(stderr, "could not generate the log folders\n");
        return 2;
    }
    const fs::path out = fs::temp_directory_path() / "checktool_zip_bench_out";
    fs::create_directories(out);
    const std::string ours = utf8_of(out / "ours.zip"), theirs = utf8_of(out / "infozip.zip");
    const std::string self = get_exe_path();

    Measure our, info;
    for (int round = 0; round < kRounds; ++round) {
        record(our, run_child({self, "pack", folder, ours}), ours);
        fs::remove(theirs);  // zip would otherwise update the archive
        record(info,
               run_child({"sh", "-c",
                          "cd " + quoted(folder) + " && exec zip -8 -r -X -q " + quoted(theirs) + " ."}),
               theirs);
    }
    Measure small;
    record(small, run_child({self, "pack", small_folder, utf8_of(out / "small.zip")}),
           utf8_of(out / "small.zip"));

    const double time_ratio = our.best_seconds / info.best_seconds;
    const double cpu_ratio = our.best_cpu_seconds / info.best_cpu_seconds;
    const double size_ratio =
        static_cast<double>(our.archive_bytes) / static_cast<double>(info.archive_bytes);
    std::printf("log folder: %llu MB, best of %d rounds\n", static_cast<unsigned long long>(megabytes),
                kRounds);
    std::printf("%-22s %10s %10s %14s %12s\n", "", "wall (s)", "cpu (s)", "archive (B)", "peak (KiB)");
    const auto row = [](const char* name, const Measure& m) {
        std::printf("%-22s %10.3f %10.3f %14llu %12ld\n", name, m.best_seconds, m.best_cpu_seconds,
                    static_cast<unsigned long long>(m.archive_bytes), m.peak_kib);
    };
    row("ours", our);
    row("zip -8 -r -X", info);
    row("ours, 10 MB folder", small);
    // Wall time suffers from whatever else the machine runs; processor time is the steadier figure.
    std::printf("cpu time ratio %.3f (target <= 1.0): %s; wall time ratio %.3f\n", cpu_ratio,
                cpu_ratio <= 1.0 ? "met" : "MISSED", time_ratio);
    std::printf("size ratio %.4f (target <= 1.005): %s\n", size_ratio,
                size_ratio <= 1.005 ? "met" : "MISSED");
    std::printf("peak memory %.1f MiB (target <= 16): %s\n", our.peak_kib / 1024.0,
                our.peak_kib <= 16 * 1024 ? "met" : "MISSED");
    fs::remove_all(out);
    return our.ok && info.ok && small.ok ? 0 : 1;
}
