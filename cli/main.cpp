// checktool-cli: the diagnosis from a terminal, over the same engine as the window.
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
#include "cli/cli_upload.h"
#include "cli/interrupt.h"
#include "cli/json_result.h"
#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "engine/diagnosis_run.h"
#include "log/CSCLog.h"
#include "res/cli_texts.h"
#include "res/string_table.h"
#include "sys/console_text.h"
#include "sys/fs_path.h"
#include "sys/program_main.h"
#include "sys/string_printf.h"

namespace {

// --help and --version touch nothing: the quick exit skips the log's exit block, which would
// otherwise create the log folder. A failed write (a full disk, a closed pipe) is not a success.
[[noreturn]] void print_and_exit(const std::string& text) {
    std::_Exit(write_console_text(stdout, text + "\n") ? EXIT_SUCCESS : EXIT_FAILURE);
}

// "file:" and the list's absolute path, or "web:" and the web server it was asked of.
// The prefixes are a value the JSON's readers match, not a text: they stay here.
std::string check_list_source(const CCheckHost& host, const CliOptions& options) {
    if (options.check_list_file.empty())
        return "web:" + host.profile.web_host + ":" + std::to_string(host.profile.web_port);
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(fs_path(options.check_list_file), ec);
    return "file:" + (ec ? options.check_list_file : utf8_of(absolute));
}

int run_cli(const std::vector<std::string>& arguments) {
    std::setlocale(LC_ALL, "");
    g_log->show_function = false;
    CliOptions options;
    std::string error;
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    if (!parse_cli_options(static_cast<int>(argv.size()), argv.data(), options, error)) {
        write_console_text(stderr, error + "\n" + cli_usage() + "\n");
        return kUsage;
    }
    if (options.help) print_and_exit(cli_help());
    if (options.version) print_and_exit(cli_version());

    g_log->write_start_log();

    // From the download to the end of the upload a Ctrl+C stops the work in hand within a second;
    // after that it ends the program as usual.
    std::stop_source stop;
    std::optional<InterruptStop> interrupts(std::in_place, stop);

    CCheckHost host;
    host.set_default_product();
    host.stop = stop.get_token();
    if (!options.web_host.empty()) host.profile.web_host = options.web_host;
    if (options.web_port > 0) host.profile.web_port = options.web_port;

    std::string failure;
    const bool from_file = !options.check_list_file.empty();
    const bool loaded = from_file ? load_check_list_file(host, options.check_list_file, failure)
                                  : host.load_check_list(failure);
    if (stop.stop_requested()) return kStopped;
    if (!loaded) {
        write_console_text(stderr, failure + "\n");
        return kCheckListUnusable;
    }
    if (!options.json) write_console_text(stdout, host.caption() + "\n");

    CliObserver observer(!options.json, stdout);
    DiagnosisRun run(host, observer);
    run.start();
    {
        // After the start, which clears an earlier request: a stop that came before it still counts.
        std::stop_callback stop_run(stop.get_token(), [&run] { run.request_stop(); });
        run.wait();
    }

    if (!options.json) {
        write_console_text(
            stdout,
            load_string(text::kRunTotals, {std::to_string(run.rows().size()), std::to_string(run.failures()),
                                           run.completed() ? "" : load_string(text::kRunStoppedMark)}) +
                "\n");
    }
    // A stopped run collects nothing, as in the window; nor does one whose stop came just after its end.
    std::optional<CollectedLogs> logs;
    if (options.save_log && run.completed() && !stop.stop_requested())
        logs = collect_logs(host, run, options.bundle, upload_arguments_shown(options.upload), stop.get_token());
    std::optional<UploadResult> upload;
    if (logs && options.upload.wanted() && !stop.stop_requested())
        upload = send_archive(logs->archive_path, logs->archive_md5, options.upload, stop.get_token());
    const bool stopped = !run.completed() || stop.stop_requested();
    interrupts.reset();
    if (options.json) {
        write_console_text(stdout,
                           run_result_json(host, run, logs, upload, check_list_source(host, options)) + "\n");
    } else if (logs) {
        std::string text = load_string(text::kArchiveLine, {logs->archive_path}) + "\n";
        if (!logs->archive_sha256.empty())
            text += load_string(text::kSha256Line, {logs->archive_sha256}) + "\n";
        if (!logs->redaction_map_path.empty())
            text += load_string(text::kRedactionMapLine, {logs->redaction_map_path}) + "\n";
        for (const NotPackedFile& file : logs->not_packed)
            text += load_string(text::kNotPackedLine, {file.name, file.reason}) + "\n";
        for (const UnredactedFile& file : logs->packed_unredacted)
            text += load_string(text::kPackedUnredactedLine, {file.name, file.reason}) + "\n";
        if (upload && upload->ok()) text += upload_outcome_line(*upload) + "\n";
        write_console_text(stdout, text);
    }
    if (stopped) return kStopped;
    if (upload && !upload->ok()) return kUploadFailed;
    if (options.save_log && (!logs || logs->incomplete)) return kNoArchive;
    return run.failures() == 0 ? kAllPassed : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv) {
    return run_program_main(argc, argv, "checktool-cli", run_cli);
}
