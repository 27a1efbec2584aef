// Target: a thousand diagnoses of the demo product in one process leave it holding what it held after
// the first ten: the same open descriptors and threads, and resident memory within a few MB (see
// soak_verdict.h). A log collection every hundred runs takes part, as a user saving the bundle would.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/diagnosis/demo_product.h"
#include "bench/soak/process_usage.h"
#include "bench/soak/soak_verdict.h"
#include "engine/diagnosis_run.h"
#include "engine/run_events.h"
#include "engine/run_report_rows.h"
#include "engine/save_log.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultRuns = 1000;
constexpr int kFirstSampleRun = 10;
constexpr int kSampleEvery = 100;

// A collection without a window. Every folder it packs exists, so any message it shows is a fault.
class CountingSaveLogObserver : public SaveLogObserver {
public:
    int messages = 0;
    void show_message(const std::string& text) override {
        ++messages;
        std::fprintf(stderr, "log collection message: %s\n", text.c_str());
    }
    void set_window_enabled(bool) override {}
    void step_progress() override {}
    void finish_progress() override {}
    void reveal_archive(const std::string&) override {}
};

// The demo product's program and log folders, with a log file in each log folder to pack.
void make_product_folders(const fs::path& root) {
    for (const char* folder : {"Agent/Log", "AgentWeb", "Viewer/Log"}) fs::create_directories(root / folder);
    std::ofstream(root / "Agent/Log/agent.log") << "agent started\n";
    std::ofstream(root / "Viewer/Log/viewer.log") << "viewer started\n";
}

// One log collection of the run's rows into a folder of the bench's own, removed again so that the
// disk stays as flat as the process. The wall time in ms, or -1 when it wrote no archive or showed a message.
double collect_logs(const CCheckHost& host, const DiagnosisRun& run, const fs::path& scratch) {
    const auto start = std::chrono::steady_clock::now();
    SaveLogInputs inputs;
    inputs.profile = host.profile;
    inputs.rows = run_report_rows(run.rows());
    inputs.collection_folder = (scratch / "collection").string();
    inputs.all_users_folder = (scratch / "public").string();
    inputs.monitors = std::vector<Rect>{};
    fs::create_directories(inputs.all_users_folder);
    CountingSaveLogObserver observer;
    const SaveLogResult result = thread_save_log(std::move(inputs), observer);
    std::error_code ignored;
    fs::remove_all(scratch / "collection", ignored);
    if (!result.archive_written) {
        std::fprintf(stderr, "no log archive: %s\n", result.failure.c_str());
        return -1;
    }
    if (observer.messages > 0) return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool read_runs(int argc, char** argv, int& runs) {
    runs = kDefaultRuns;
    if (argc > 2) return false;
    if (argc < 2) return true;
    char* end = nullptr;
    const long value = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || value < 1 || value > 1000000) return false;
    runs = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 0;
    if (!read_runs(argc, argv, runs)) {
        std::fprintf(stderr, "usage: bench_soak [runs]   (1 to 1000000, default %d)\n", kDefaultRuns);
        return 2;
    }
    ProductLab lab;
    const fs::path scratch = lab.folder();
    make_product_folders(scratch / "product");
    CCheckHost host;
    std::string failure;
    if (!start_demo_product(lab, host, (scratch / "product").string(), failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }

    std::printf("demo product, %d runs in one process; log collection before each sample\n", runs);
    std::printf("%7s %6s %8s %12s %9s %14s %12s\n", "run", "fds", "threads", "RSS KiB", "failures",
                "collection ms", "elapsed s");
    const auto begin = std::chrono::steady_clock::now();
    const int first_sample = std::min(kFirstSampleRun, runs);
    ProcessUsage baseline, last;
    bool every_run_completed = true, every_collection_written = true;
    for (int r = 1; r <= runs; ++r) {
        RunEvents quiet;
        DiagnosisRun run(host, quiet);
        run.start();
        run.wait();
        if (!run.completed()) {
            std::fprintf(stderr, "run %d did not complete\n", r);
            every_run_completed = false;
        }
        if (r != first_sample && r % kSampleEvery != 0 && r != runs) continue;
        const double collection_ms = collect_logs(host, run, scratch);
        every_collection_written = every_collection_written && collection_ms >= 0;
        last = current_process_usage();
        if (r == first_sample) baseline = last;
        std::printf("%7d %6ld %8ld %12ld %9d %14.0f %12.1f\n", r, last.open_descriptors, last.threads,
                    last.resident_kib, run.failures(), collection_ms,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        std::fflush(stdout);
    }
    const SoakVerdict verdict = judge_soak(baseline, last);
    std::printf("verdict (run %d against run %d): %s\n", runs, first_sample, verdict.line.c_str());
    if (!every_run_completed) std::printf("some runs did not complete (see above)\n");
    if (!every_collection_written)
        std::printf("some log collections wrote no archive or showed a message (see above)\n");
    if (!lab.stop()) std::fprintf(stderr, "the lab: %s\n", lab.error().c_str());
    return verdict.flat && every_run_completed && every_collection_written ? 0 : 1;
}
