// checktool-cli: the diagnosis from a terminal, over the same engine as the window.
#include <atomic>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/cli_help.h"
#include "cli/cli_observer.h"
#include "cli/cli_options.h"
#include "cli/cli_save_log.h"
#include "cli/interrupt.h"
#include "cli/json_result.h"
#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "engine/diagnosis_run.h"
#include "log/CSCLog.h"
#include "sys/fs_path.h"

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

// "file:" and the list's absolute path, or "web:" and the web server it was asked of.
std::string check_list_source(const CCheckHost& host, const CliOptions& options) {
    if (options.check_list_file.empty())
        return "web:" + host.profile.web_host + ":" + std::to_string(host.profile.web_port);
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(fs_path(options.check_list_file), ec);
    return "file:" + (ec ? options.check_list_file : utf8_of(absolute));
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
    const bool from_file = !options.check_list_file.empty();
    const bool loaded = from_file ? load_check_list_file(host, options.check_list_file, failure)
                                  : host.load_check_list(failure);
    if (!loaded) {
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
    std::optional<CollectedLogs> logs;
    if (options.save_log && run.completed()) logs = collect_logs(host, run, options.bundle);
    if (options.json) {
        std::printf("%s\n", run_result_json(host, run, logs, check_list_source(host, options)).c_str());
    } else if (logs) {
        std::printf("archive: %s\n", logs->archive_path.c_str());
        if (!logs->archive_sha256.empty()) std::printf("sha256: %s\n", logs->archive_sha256.c_str());
        if (!logs->redaction_map_path.empty())
            std::printf("redaction map: %s\n", logs->redaction_map_path.c_str());
        for (const NotPackedFile& file : logs->not_packed)
            std::printf("not packed: %s (%s)\n", file.name.c_str(), file.reason.c_str());
        for (const UnredactedFile& file : logs->packed_unredacted)
            std::printf("packed unredacted: %s (%s)\n", file.name.c_str(), file.reason.c_str());
    }
    if (!run.completed()) return kStopped;
    if (options.save_log && !logs) return kNoArchive;
    return run.failures() == 0 ? kAllPassed : kSomeFailed;
}
