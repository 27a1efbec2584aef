// Packs a generated log folder with our writer (all cores, and 1, 2 and 4 workers) and with Info-ZIP
// "zip -8 -r -X", each in a child process, alternating, and compares time (best of the rounds),
// archive size and peak memory. "bench_zip chunks [MB]" instead compares piece sizes on one large log;
// "bench_zip files [N]" packs N small logs (70,000: past the classic format's 65,535 entries) and has
// Info-ZIP, Python and 7-Zip check our archive.
// The generated data stays in the temporary folder for later runs; it is never committed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

constexpr int kRounds = 2;

int pack(const std::string& folder, const std::string& archive, int workers, size_t chunk_bytes) {
    std::vector<std::string> files;
    find_files(files, folder, "*", "*", false, "", true, true);
    ZipPackOptions options;
    options.workers = workers;
    options.chunk_bytes = chunk_bytes;
    return ZipFileList("", folder, archive, files, nullptr, options) == kZipOk ? 0 : 1;
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

// The same text as one large log, the case that only pieces can spread over the cores.
std::string single_log_folder(const std::string& folder) {
    const fs::path single = fs_path(folder + "_single");
    const fs::path done = single / ".complete";
    if (fs::exists(done)) return utf8_of(single);
    fs::remove_all(single);
    fs::create_directories(single);
    std::ofstream out(single / "agent.log", std::ios::binary);
    std::vector<fs::path> parts;
    for (const auto& e : fs::recursive_directory_iterator(fs_path(folder)))
        if (e.is_regular_file()) parts.push_back(e.path());
    std::sort(parts.begin(), parts.end());
    for (const fs::path& p : parts) out << std::ifstream(p, std::ios::binary).rdbuf();
    fs::create_directory(done);
    return utf8_of(single);
}

struct Measure {
    std::string name;
    std::vector<std::string> command;
    std::string archive;
    double best_seconds = 1e30;
    double best_cpu_seconds = 1e30;
    long peak_kib = 0;
    uint64_t archive_bytes = 0;
    bool ok = true;
};

void run(Measure& m) {
    fs::remove(m.archive);  // zip would otherwise update the archive
    const ChildUsage u = run_child(m.command);
    m.ok = m.ok && u.started && u.exit_code == 0;
    m.best_seconds = std::min(m.best_seconds, u.seconds);
    m.best_cpu_seconds = std::min(m.best_cpu_seconds, u.cpu_seconds);
    m.peak_kib = std::max(m.peak_kib, u.peak_kib);
    m.archive_bytes = get_file_size(m.archive);
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

Measure ours(const std::string& name, const std::string& folder, const fs::path& out, int workers,
             size_t chunk_bytes = kZipChunkBytes) {
    const std::string archive = utf8_of(out / (name + ".zip"));
    return {name,
            {get_exe_path(), "pack", folder, archive, std::to_string(workers), std::to_string(chunk_bytes)},
            archive};
}

Measure info_zip(const std::string& folder, const fs::path& out) {
    const std::string archive = utf8_of(out / "infozip.zip");
    return {"zip -8 -r -X",
            {"sh", "-c", "cd " + quoted(folder) + " && exec zip -8 -r -X -q " + quoted(archive) + " ."},
            archive};
}

void print_table(std::vector<Measure>& all, const Measure& reference) {
    std::printf("%-26s %9s %9s %9s %13s %9s %10s\n", "", "wall (s)", "x ref", "cpu (s)", "archive (B)",
                "x ref", "peak (MiB)");
    for (const Measure& m : all)
        std::printf("%-26s %9.3f %9.3f %9.3f %13llu %9.4f %10.1f%s\n", m.name.c_str(), m.best_seconds,
                    m.best_seconds / reference.best_seconds, m.best_cpu_seconds,
                    static_cast<unsigned long long>(m.archive_bytes),
                    static_cast<double>(m.archive_bytes) / static_cast<double>(reference.archive_bytes),
                    m.peak_kib / 1024.0, m.ok ? "" : "  FAILED");
}

int compare_with_info_zip(const std::string& folder, const fs::path& out, uint64_t megabytes) {
    std::vector<Measure> all = {info_zip(folder, out), ours("ours, all cores", folder, out, 0),
                                ours("ours, 1 worker", folder, out, 1),
                                ours("ours, 2 workers", folder, out, 2),
                                ours("ours, 4 workers", folder, out, 4)};
    for (int round = 0; round < kRounds; ++round)
        for (Measure& m : all) run(m);
    std::printf("log folder: %llu MB, %d cores, best of %d rounds\n",
                static_cast<unsigned long long>(megabytes), zip_worker_count(0), kRounds);
    print_table(all, all[0]);
    const Measure& best = all[1];
    const double wall = best.best_seconds / all[0].best_seconds;
    const double size = static_cast<double>(best.archive_bytes) / static_cast<double>(all[0].archive_bytes);
    // Wall time suffers from whatever else the machine runs; compare the processor times as well.
    std::printf("all cores: wall %.3f x Info-ZIP (target <= 0.55): %s\n", wall,
                wall <= 0.55 ? "met" : "MISSED");
    std::printf("all cores: size %.4f x Info-ZIP (target <= 1.005): %s\n", size,
                size <= 1.005 ? "met" : "MISSED");
    long peak = 0;
    for (size_t i = 1; i < all.size(); ++i) peak = std::max(peak, all[i].peak_kib);
    std::printf("peak memory %.1f MiB (target <= 64): %s\n", peak / 1024.0,
                peak <= 64 * 1024 ? "met" : "MISSED");
    return std::all_of(all.begin(), all.end(), [](const Measure& m) { return m.ok; }) ? 0 : 1;
}

int compare_chunk_sizes(const std::string& folder, const fs::path& out) {
    const std::string single = single_log_folder(folder);
    std::vector<Measure> all = {info_zip(single, out), ours("ours, 1 worker", single, out, 1)};
    for (size_t kib : {128, 256, 512, 1024, 2048, 4096})
        all.push_back(ours("ours, all cores, " + std::to_string(kib) + " KiB", single, out, 0, kib << 10));
    for (Measure& m : all) run(m);
    std::printf("one log of %llu bytes\n",
                static_cast<unsigned long long>(get_file_size(single + "/agent.log")));
    print_table(all, all[0]);
    return 0;
}

// N small logs of a few hundred bytes to a few kilobytes, a hundred to a folder, made once.
std::string many_files_folder(size_t count) {
    const fs::path folder = fs::temp_directory_path() / ("checktool_zip_bench_" + std::to_string(count) + "_files");
    const fs::path done = folder / ".complete";
    if (fs::exists(done)) return utf8_of(folder);
    std::printf("generating %zu small logs in %s ...\n", count, folder.c_str());
    fs::remove_all(folder);
    for (size_t i = 0; i < count; ++i) {
        const fs::path sub = folder / ("day" + std::to_string(i / 100));
        if (i % 100 == 0) fs::create_directories(sub);
        std::ofstream out(sub / ("session_" + std::to_string(i) + ".log"), std::ios::binary);
        for (size_t line = 0; line < 4 + i % 40; ++line)
            out << "[2024/03/05 14:07:" << 10 + line % 50 << ".123][][" << i << "][I] session " << i * 7919 % 100000
                << " step " << line << "\r\n";
    }
    fs::create_directory(done);
    return utf8_of(folder);
}

bool accepted_by(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

int compare_many_files(size_t count, const fs::path& out) {
    const std::string folder = many_files_folder(count);
    std::vector<Measure> all = {info_zip(folder, out), ours("ours, all cores", folder, out, 0),
                                ours("ours, 1 worker", folder, out, 1)};
    for (int round = 0; round < kRounds; ++round)
        for (Measure& m : all) run(m);
    std::printf("%zu small logs, %d cores, best of %d rounds\n", count, zip_worker_count(0), kRounds);
    print_table(all, all[0]);
    const std::string archive = "'" + all[1].archive + "'";
    const bool info_zip_ok = accepted_by("unzip -tqq " + archive);
    const bool python_ok = accepted_by("python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                                       "sys.exit(z.testzip() is not None or len(z.infolist()) < " +
                                       std::to_string(count) + ")' " + archive);
    const bool seven_zip_ok = accepted_by("7zz t " + archive);
    std::printf("our archive: unzip -t %s, Python zipfile %s, 7zz t %s\n", info_zip_ok ? "ok" : "FAILED",
                python_ok ? "ok" : "FAILED", seven_zip_ok ? "ok" : "FAILED");
    return info_zip_ok && python_ok && seven_zip_ok &&
                   std::all_of(all.begin(), all.end(), [](const Measure& m) { return m.ok; })
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "pack")
        return pack(argv[2], argv[3], std::atoi(argv[4]), std::strtoull(argv[5], nullptr, 10));
    if (argc > 1 && std::string(argv[1]) == "files") {
        const fs::path out = fs::temp_directory_path() / "checktool_zip_bench_out";
        fs::create_directories(out);
        const int result = compare_many_files(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 70000, out);
        fs::remove_all(out);
        return result;
    }
    const bool chunks = argc > 1 && std::string(argv[1]) == "chunks";
    const int size_arg = chunks ? 2 : 1;
    const uint64_t megabytes = argc > size_arg ? std::strtoull(argv[size_arg], nullptr, 10) : 100;
    const std::string folder = log_folder(megabytes);
    if (folder.empty()) {
        std::fprintf(stderr, "could not generate the log folder\n");
        return 2;
    }
    const fs::path out = fs::temp_directory_path() / "checktool_zip_bench_out";
    fs::create_directories(out);
    const int result =
        chunks ? compare_chunk_sizes(folder, out) : compare_with_info_zip(folder, out, megabytes);
    fs::remove_all(out);
    return result;
}
