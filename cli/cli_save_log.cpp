#include "cli/cli_save_log.h"

#include <cstdio>

#include "engine/CCheckHost.h"
#include "engine/run_report_rows.h"
#include "engine/save_log.h"
#include "res/cli_texts.h"
#include "res/string_table.h"
#include "sys/console_text.h"

namespace {

// A terminal has no window to disable and no file manager to show the archive in.
class CliSaveLogObserver : public SaveLogObserver {
public:
    void set_window_enabled(bool) override {}
    void step_progress() override {}
    void finish_progress() override {}
    void show_message(const std::string& text) override { write_console_text(stderr, text + "\n"); }
    void reveal_archive(const std::string&) override {}
};

}  // namespace

std::optional<CollectedLogs> collect_logs(const CCheckHost& host, const DiagnosisRun& run,
                                          const BundleOptions& bundle,
                                          std::vector<std::pair<std::string, std::string>> arguments_shown,
                                          std::stop_token stop) {
    SaveLogInputs inputs;
    inputs.profile = host.profile;
    inputs.rows = run_report_rows(run.rows());
    inputs.describe_run(run);
    inputs.monitors = std::vector<Rect>{};  // headless: no monitors to report
    inputs.bundle = bundle;
    inputs.bundle.checksum = true;  // a terminal user sends the archive on: the checksum goes with it
    inputs.arguments_shown = std::move(arguments_shown);
    inputs.stop = std::move(stop);
    CliSaveLogObserver observer;
    SaveLogResult result = thread_save_log(std::move(inputs), observer);
    if (result.stopped) {
        write_console_text(stderr, load_string(text::kCollectionStopped) + "\n");
        return std::nullopt;
    }
    if (!result.archive_written) {
        write_console_text(stderr, load_string(text::kNoLogArchive, {result.failure}) + "\n");
        for (const std::string& path : result.left_behind)
            write_console_text(stderr, load_string(text::kLeftBehind, {path}) + "\n");
        return std::nullopt;
    }
    if (!result.sidecar_failure.empty()) write_console_text(stderr, result.sidecar_failure + "\n");
    return CollectedLogs{result.archive_path,
                         result.archive_sha256,
                         result.archive_md5,
                         result.redaction_map_path,
                         std::move(result.not_packed),
                         std::move(result.packed_unredacted),
                         !result.sidecar_failure.empty()};
}
