// checktool-cli: the diagnosis from a terminal, over the same engine as the window.
#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/cli_help.h"
#include "cli/cli_observer.h"
#include "cli/cli_options.h"
#include "cli/cli_save_log.h"
#include "cli/interrupt.h"
#include "cli/json_result.h"
#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "log/CSCLog.h"

namespace {

std::atomic<DiagnosisRun*> active_run{nullptr};

void stop_active_run() {
    if (DiagnosisRun* run = active_run.load()) run->request_stop();
}

// --help and --version touch nothing: the quick exit skips the log's exit block, which would
// otherwise create the log folder. A failed write (a full disk, a closed pipe) is not a success.
[[noreturn]] void print_and_exit(const std::string& text) {
    const bool written = std::fputs(text.c_str(), stdout) >= 0 && std::fputc('\n', stdout) != EOF;
    std::_Exit(written && std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE);
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    g_log->show_function = false;
    CliOptions options;
    std::string error;
    if (!parse_cli_options(argc, argv, options, error)) {
        std::fprintf(stderr, "%s\n%s\n", error.c_str(), cli_usage().c_str());
        return kUsage;
    }
    if (options.help) print_and_exit(cli_help());
    if (options.version) print_and_exit(cli_version());

    g_log->write_start_log();

    CCheckHost host;
    host.set_default_product();
    if (!options.web_host.empty()) host.profile.web_host = options.web_host;
    if (options.web_port > 0) host.profile.web_port = options.web_port;

    std::string failure;
    if (!host.load_check_list(failure)) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return kCheckListUnusable;
    }
    if (!options.json) std::printf("%s\n", host.caption().c_str());

    CliObserver observer(!options.json, stdout);
    DiagnosisRun run(host, observer);
    active_run = &run;
    install_interrupt_handler(stop_active_run);
    run.start();
    run.wait();
    active_run = nullptr;

    if (!options.json) {
        std::printf("checks: %zu, failures: %d%s\n", run.rows().size(), run.failures(),
                    run.completed() ? "" : " (stopped)");
        std::fflush(stdout);
    }
    // A stopped run collects nothing, as in the window.
    std::optional<std::string> archive;
    if (options.save_log && run.completed()) archive = collect_logs(host, run);
    if (options.json)
        std::printf("%s\n", run_result_json(host, run, archive).c_str());
    else if (archive)
        std::printf("archive: %s\n", archive->c_str());
    if (!run.completed()) return kStopped;
    if (options.save_log && !archive) return kNoArchive;
    return run.failures() == 0 ? kAllPassed : kSomeFailed;
}
