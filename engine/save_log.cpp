#include "engine/save_log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <system_error>

#include "engine/log_packing.h"
#include "engine/process_list.h"
#include "engine/run_summary.h"
#include "engine/system_commands.h"
#include "log/CSCLog.h"
#include "report/archive_digest.h"
#include "report/file_inventory.h"
#include "report/redacted_copy.h"
#include "report/redactor.h"
#include "report/result_report.h"
#include "report/summary_page.h"
#include "report/summary_redaction.h"
#include "report/zip_writer.h"
#include "res/engine_texts.h"
#include "res/report_texts.h"
#include "res/string_table.h"
#include "sys/account_privilege.h"
#include "sys/ascii_text.h"
#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/fs_path.h"
#include "sys/machine_identity.h"
#include "sys/new_file.h"
#include "sys/private_folder.h"
#include "sys/system_figures.h"
#include "sys/text_convert.h"

namespace {

constexpr int kUtf8CodePage = 65001;
constexpr const char* kSystemInfoFile = "systeminfo.txt";
constexpr const char* kTaskListFile = "tasklist.txt";
constexpr const char* kNetworkFile = "ipconfig.txt";

// File systems refuse names longer than 255 bytes; the title leaves room for the longest ending,
// "_20240305140709.zip".
constexpr size_t kTitleBytesInNames = 200;

// The product title comes from the server; in a file name it must neither reach outside the folder
// nor pass the file system's length limit.
std::string file_name_safe(const std::string& title) {
    std::string safe = utf8_prefix(title, kTitleBytesInNames);
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return safe;
}

bool file_exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(fs_path(path), ec);
}

void remove_file(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(fs_path(path), ec);
}

// Adds a file to the final archive. What stays out is told like every file left out: in the tool's
// log, the not-packed list and so the summary page; a nested archive that stays out takes its files
// off the summary's packed list.
bool pack(ZipHandle zip, const std::string& path, PackingRecord& record, LogPacking& packing) {
    const std::string entry = split_path(path, 5);
    const int result = ZipAddFile(zip, entry, path);
    if (result == kZipOk) {
        record.add_packed("", entry, path);
        return true;
    }
    if (result == kZipStopped) return false;
    packing.left_out(path, load_string(text::kNotAddedToBundle, {zip_result_text(result)}));
    record.drop_archive(entry);
    return false;
}

std::string date_time_text(int64_t calendar_time) {
    if (calendar_time <= 0) return {};
    return format_date_time(to_local(calendar_time), kDateAndTime, true, " ", true, true, false, true);
}

// Everything the summary page shows but the packing record.
SummaryPage summary_page_of(const SaveLogInputs& inputs, const ReportFacts& facts,
                            const std::string& folder) {
    SummaryPage page;
    page.product_title = inputs.profile.product_title;
    page.tool_version = facts.version;
    page.built_time = date_time_text(get_file_time(get_exe_path()));
    page.run_started = date_time_text(inputs.run_started);
    page.run_ended = date_time_text(inputs.run_ended);
    page.run_completed = inputs.run_completed;
    page.host_name = machine_host_name();
    page.os_name = machine_os_name();
    page.elevated = process_elevated();
    page.memory_available = facts.memory_available;
    page.memory_total = facts.memory_total;
    page.disks.push_back({facts.disk_root, facts.disk_free, facts.disk_total});
    const uint64_t folder_total = get_disk_total(folder);
    if (folder_total != facts.disk_total) page.disks.push_back({folder, get_disk_free(folder), folder_total});
    // The test creates and deletes its folder again, so running it for the page as well changes nothing.
    std::istringstream rights(directory_test_text(facts.all_users_folder));
    for (std::string line; std::getline(rights, line);) page.folder_rights.push_back(line);
    page.checks = summary_checks(inputs.checks);
    return page;
}

// Writes the summary page into the working folder and packs it; it goes in last, so that it can
// tell what the bundle holds.
// With a redactor the page goes in redacted, like every other text of the bundle.
void pack_summary_page(ZipHandle zip, SummaryPage page, PackingRecord& record, const std::string& folder,
                       Redactor* redactor, LogPacking& packing) {
    const std::string path = folder + "/" + kSummaryFileName;
    page.files = record;
    if (redactor) redact_summary_page(page, *redactor);
    if (!write_text_file(path, summary_page_html(page), 0, false)) {
        packing.left_out(path, load_string(text::kNotWritten));
        return;
    }
    pack(zip, path, record, packing);
}

// The end of every collection: a failure is told, and the file manager opens either way; a stopped
// collection ends quietly.
SaveLogResult end_collection(SaveLogResult result, SaveLogObserver& observer) {
    if (result.stopped) {
        g_log->write(CSCLog::warn, "thread_save_log", __LINE__, "the collection was stopped");
        observer.finish_progress();
        observer.set_window_enabled(true);
        return result;
    }
    if (!result.archive_written) {
        g_log->write(CSCLog::error, "thread_save_log", __LINE__, "%s", result.failure.c_str());
        const std::string above = result.archive_path.empty() ? std::string() : result.archive_path + "\n";
        observer.show_message(above + load_string(text::kArchiveNotCreatedBelowPath));
    }
    // Without an archive the file manager shows what was collected, so the user can still send it.
    const std::string& shown = result.archive_written || result.left_behind.empty()
                                   ? result.archive_path
                                   : result.left_behind.front();
    if (!shown.empty()) observer.reveal_archive(shown);
    observer.finish_progress();
    observer.set_window_enabled(true);
    return result;
}

// The listing with every text of `shown` replaced by its other form.
std::string shown_otherwise(std::string listing, const std::vector<std::pair<std::string, std::string>>& shown) {
    for (const auto& [text, instead] : shown) {
        if (text.empty()) continue;
        for (size_t at = listing.find(text); at != std::string::npos; at = listing.find(text, at + instead.size())) {
            listing.replace(at, text.size(), instead);
        }
    }
    return listing;
}

// The tool's own texts go into a redacted bundle only in redacted form.
void redact_own_texts(Redactor& redactor, const std::vector<std::string>& paths, LogPacking& packing) {
    for (const std::string& path : paths)
        if (file_exists(path) && !redact_file_in_place(redactor, path))
            packing.left_out(path, load_string(text::kNotRedacted));
}

// The checksum and, for a redacted bundle, the map from tokens to values go beside the archive; the
// map never goes into it. A bundle without either is not the bundle asked for: told as a failure.
void write_sidecars(SaveLogResult& result, bool checksum, const Redactor* redactor) {
    if (checksum) {
        const ArchiveDigests digests = write_sha256_sidecar(result.archive_path);
        result.archive_sha256 = digests.sha256_hex;
        result.archive_md5 = digests.md5;
    }
    if (checksum && result.archive_sha256.empty())
        result.sidecar_failure = load_string(text::kChecksumNotWritten, {result.archive_path});
    if (redactor) {
        const std::string map_path = result.archive_path + ".map.json";
        if (write_new_file(map_path, redactor->map_json(), true, true))
            result.redaction_map_path = map_path;
        else
            result.sidecar_failure += (result.sidecar_failure.empty() ? "" : "; ") +
                                      load_string(text::kRedactionMapNotWritten, {map_path});
    }
    if (!result.sidecar_failure.empty())
        g_log->write(CSCLog::error, "thread_save_log", __LINE__, "%s", result.sidecar_failure.c_str());
}

// A folder of this collection's own for everything it writes before the archive: two collections at
// once (the window and the command line, or two command lines) never meet in a file. Empty when none
// could be made.
std::string make_work_folder(const std::string& collection_folder) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, "collecting-%016llx", static_cast<unsigned long long>(random()));
        const std::string folder = collection_folder + "/" + name;
        std::error_code ec;
        // Made here and now, or refused: an existing folder or a link planted under the name never is.
        if (std::filesystem::create_directory(fs_path(folder), ec)) return folder;
    }
    return {};
}

// Moves the finished archive from the working folder into the collection folder under its name, or,
// when a collection in the same second took it, "<name>_2.zip" and so on. The path it got; empty
// when it could not be moved.
std::string place_archive(const std::string& built, const std::string& folder, const std::string& name) {
    const std::string stem = name.substr(0, name.size() - 4);
    for (int n = 1; n <= 100; ++n) {
        const std::string target = folder + "/" + (n == 1 ? name : stem + "_" + std::to_string(n) + ".zip");
        if (move_to_new_name(built, target)) return target;
        if (!file_exists(built)) return {};
    }
    return {};
}

int64_t calendar_now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::string default_collection_folder() {
    std::string local = get_special_folder(kLocalAppData);
    // Without a known home the files would land in the root folder, and in the shared temporary folder
    // another user could plant links: a private folder there instead.
    if (local.empty()) local = private_temp_folder("TarvoCheckTool");
    return local.empty() ? std::string() : local + "/Temp";
}

std::string final_archive_name(const std::string& product_title, int year, int month, int day, int hour,
                               int minute, int second) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
    return file_name_safe(product_title) + "_" + stamp + ".zip";
}

bool zip_folder(const std::string& folder, const std::string& archive_path, SaveLogObserver& observer,
                PackingRecord* record, LogPacking* packing) {
    PackingRecord ignored;
    PackingRecord& noted = record ? *record : ignored;
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(fs_path(folder), ec)) {
        g_log->write(CSCLog::warn, "zip_folder", __LINE__, "log folder not found: %s", folder.c_str());
        noted.add_skipped(folder,
                          load_string(folder.empty() ? text::kNoLogFolderNamed : text::kLogFolderMissing));
        observer.show_message(folder + load_string(text::kFolderMissing));
        return false;
    }
    // What stays out is told through the packing when there is one (it knows the names to show).
    const auto leave_out = [&](const std::string& path, const std::string& reason) {
        if (packing) {
            packing->left_out(path, reason);
            return;
        }
        g_log->write(CSCLog::warn, "zip_folder", __LINE__, "%s was not packed: %s", path.c_str(),
                     reason.c_str());
        noted.add_skipped(path, reason);
    };
    std::vector<std::string> files;
    std::vector<PassedOverFolder> links;
    find_files(files, folder, "*", "*", false, "", true, true, &links);
    for (const PassedOverFolder& link : links)
        leave_out(link.path, load_string(text::kLinkNotFollowed, {link.kind}));
    const std::string base = packing ? packing->prepare(folder, files, archive_path + ".staging") : folder;
    std::vector<ZipFileFailure> failures;
    ZipPackOptions options;
    options.progress = [&observer](uint64_t done, uint64_t total) { observer.pack_progress(done, total); };
    if (packing) {
        options.max_file_bytes = packing->packing_size_limit();
        options.stop = packing->stop_request();
    }
    const int result = ZipFileList("", base, archive_path, files, &failures, options);
    const std::string archive = split_path(archive_path, 5);
    if (result == kZipStopped) {
        if (packing) packing->finish();
        return false;
    }
    for (const ZipFileFailure& f : failures)
        leave_out(f.path, packing ? packing->refusal_reason(f.result)
                                  : load_string(text::kNotPacked, {zip_result_text(f.result)}));
    if (result != kZipOk) {
        if (packing) packing->finish();
        // An archive whose end could not be written is no archive: it must not go into the bundle.
        remove_file(archive_path);
        g_log->write(CSCLog::error, "zip_folder", __LINE__, "%s could not be written: %s",
                     archive_path.c_str(), zip_result_text(result).c_str());
        leave_out(folder, load_string(text::kFolderArchiveNotWritten, {archive, zip_result_text(result)}));
        return false;
    }
    const std::filesystem::path names_base = fs_path(base).lexically_normal();
    for (const std::string& file : files) {
        const bool failed = std::any_of(failures.begin(), failures.end(),
                                        [&](const ZipFileFailure& f) { return f.path == file; });
        if (!failed) noted.add_packed(archive, utf8_of(fs_path(file).lexically_relative(names_base)), file);
    }
    if (packing) packing->finish();  // only now: the record reads the facts of the staged copies
    return true;
}

SaveLogResult thread_save_log(SaveLogInputs inputs, SaveLogObserver& observer) {
    const ProductProfile& profile = inputs.profile;
    const std::stop_token stop = inputs.stop;
    const CommandRunner run = inputs.run_command ? inputs.run_command
                                                 : CommandRunner([stop](const std::string& command, int timeout_ms) {
                                                       return run_system_command(command, timeout_ms, stop);
                                                   });
    observer.set_window_enabled(false);
    const UserIdentity identity = inputs.identity ? *inputs.identity : current_user_identity();
    std::optional<Redactor> redactor;
    if (inputs.bundle.redact) redactor.emplace(identity);
    Redactor* const private_values = redactor ? &*redactor : nullptr;
    std::vector<NotPackedFile> not_packed;
    LogPacking packing(inputs.bundle, private_values, not_packed, calendar_now(), stop);

    const std::string folder =
        inputs.collection_folder.empty() ? default_collection_folder() : inputs.collection_folder;
    if (!folder.empty()) create_folder(folder);
    std::error_code ec;
    const bool folder_made = !folder.empty() && std::filesystem::is_directory(fs_path(folder), ec);
    std::string work = folder_made ? make_work_folder(folder) : std::string();
    const bool own_work = !work.empty();
    if (folder.empty() || (folder_made && !own_work)) {
        for (int i = 0; i < kSaveLogSteps; ++i) observer.step_progress();
        SaveLogResult nowhere;
        nowhere.failure = folder.empty() ? load_string(text::kNoCollectionFolder)
                                         : load_string(text::kNoWorkingFolder, {folder});
        return end_collection(std::move(nowhere), observer);
    }
    // Without a collection folder every write fails in its own way, as the user is told, and nothing
    // is made that would need clearing away.
    if (!own_work) work = folder;
    // A stop leaves nothing of the collection behind: the working folder goes with all it holds.
    const auto stopped = [&](ZipHandle zip = nullptr) {
        ZipDiscard(zip);
        packing.finish();
        if (own_work) delete_folder(work);
        SaveLogResult result;
        result.stopped = true;
        return end_collection(std::move(result), observer);
    };
    observer.step_progress();

    ReportFacts facts = gather_report_facts(profile.product_title, !inputs.monitors.has_value());
    if (!inputs.all_users_folder.empty()) facts.all_users_folder = inputs.all_users_folder;
    if (inputs.monitors) facts.monitors = *inputs.monitors;
    const std::string report_path = work + "/" + kReportFileName;
    if (!save_check_result(report_path, facts, inputs.rows))
        observer.show_message(load_string(text::kReportNotCreated));
    const std::vector<std::string> texts = {
        work + "/" + kInventoryFileNames[0], work + "/" + kInventoryFileNames[1],
        work + "/" + kInventoryFileNames[2], work + "/" + kSystemInfoFile,
        work + "/" + kTaskListFile,          work + "/" + kNetworkFile};
    observer.step_progress();

    const std::string* program_folders[3] = {&profile.product_path_agent, &profile.product_path_agent_web,
                                             &profile.product_path_viewer};
    PackingRecord record;  // what the summary page lists
    for (int i = 0; i < 3; ++i) {
        if (stop.stop_requested()) return stopped();
        const InventoryResult made =
            save_file_info(texts[i], profile.product_title, *program_folders[i], private_values);
        if (made == InventoryResult::kNotCreated)
            observer.show_message(load_string(text::kInventoryNotCreated));
        if (made == InventoryResult::kSkipped)
            record.add_skipped(kInventoryFileNames[i],
                               program_folders[i]->empty()
                                   ? load_string(text::kNoProgramFolderNamed)
                                   : load_string(text::kProgramFolderMissing, {*program_folders[i]}));
        observer.step_progress();
    }

    // The system information goes in Base64, so it survives whatever code page reads it.
    const std::string system_info = run(kSystemInfoCommand, kCommandTimeoutMs);
    if (stop.stop_requested()) return stopped();
    write_text_file(texts[3], base64_encode(redactor ? redactor->redact(system_info) : system_info), 0, true);
    observer.step_progress();
    const std::string processes = shown_otherwise(run(kTaskListCommand, kCommandTimeoutMs), inputs.arguments_shown);
    if (stop.stop_requested()) return stopped();
    write_text_file(texts[4], redactor ? without_other_users_arguments(processes, identity.login) : processes,
                    kUtf8CodePage, false);
    observer.step_progress();
    const std::string network = run(kNetworkCommand, kCommandTimeoutMs);
    if (stop.stop_requested()) return stopped();
    write_text_file(texts[5], network, kUtf8CodePage, false);
    observer.step_progress();

    const std::string title = file_name_safe(profile.product_title);
    const std::string agent_archive = work + "/" + title + "_log.zip";
    zip_folder(profile.agent_log_path, agent_archive, observer, &record, &packing);
    std::string viewer_archive;
    if (!profile.viewer_log_path.empty() &&
        ascii_lower(profile.viewer_log_path) != ascii_lower(profile.agent_log_path)) {
        viewer_archive = work + "/" + title + "_log_viewer.zip";
        if (!stop.stop_requested()) zip_folder(profile.viewer_log_path, viewer_archive, observer, &record, &packing);
    }
    if (stop.stop_requested()) return stopped();

    // Last before packing, so that a text written from what the packing left out is redacted too. The
    // system information was redacted before its encoding, the inventories as they were written.
    if (redactor) redact_own_texts(*redactor, {report_path, texts[4], texts[5]}, packing);

    const LocalDateTime now = local_now();
    const std::string archive_name = final_archive_name(profile.product_title, now.year, now.month, now.day,
                                                        now.hour, now.minute, now.second);
    // Built in the working folder: an unfinished archive never stands under the bundle's name.
    const std::string built = work + "/" + archive_name;
    SaveLogResult result;
    result.archive_path = folder + "/" + archive_name;
    ZipHandle zip = ZipCreate(built, stop);
    if (!zip) result.failure = load_string(text::kArchiveNotCreated, {built});
    observer.step_progress();
    if (zip) pack(zip, report_path, record, packing);
    observer.step_progress();
    if (zip)
        for (const std::string& text : texts)
            if (file_exists(text)) pack(zip, text, record, packing);
    observer.step_progress();
    if (zip) {
        if (file_exists(agent_archive)) pack(zip, agent_archive, record, packing);
        if (!viewer_archive.empty() && file_exists(viewer_archive)) pack(zip, viewer_archive, record, packing);
        if (stop.stop_requested()) return stopped(zip);
        for (const NotPackedFile& left : not_packed) record.add_skipped(left.name, left.reason);
        for (const UnredactedFile& as_is : packing.packed_unredacted())
            record.add_unredacted(as_is.name, as_is.reason);
        pack_summary_page(zip, summary_page_of(inputs, facts, folder), record, work, private_values, packing);
        if (stop.stop_requested()) return stopped(zip);
        const int closed = ZipClose(zip);
        const std::string placed = closed == kZipOk ? place_archive(built, folder, archive_name) : std::string();
        result.archive_written = !placed.empty();
        if (result.archive_written) {
            result.archive_path = placed;
            write_sidecars(result, inputs.bundle.checksum, private_values);
        } else {
            result.failure = closed != kZipOk
                                 ? load_string(text::kArchiveNotFinished, {built, zip_result_text(closed)})
                                 : load_string(text::kArchiveNotMoved, {result.archive_path});
            remove_file(built);  // a broken archive must not pass for the bundle
        }
    }
    result.not_packed = std::move(not_packed);
    result.packed_unredacted = packing.packed_unredacted();
    packing.finish();

    if (result.archive_written) {
        if (own_work) delete_folder(work);
        if (inputs.after_archive && !stop.stop_requested())
            inputs.after_archive(result.archive_path, result.archive_md5, stop);
    } else {
        std::vector<std::string> collected = {report_path, agent_archive, viewer_archive,
                                              work + "/" + kSummaryFileName};
        collected.insert(collected.begin() + 1, texts.begin(), texts.end());
        for (const std::string& path : collected)
            if (!path.empty() && file_exists(path)) result.left_behind.push_back(path);
    }
    return end_collection(std::move(result), observer);
}

void SaveLogInputs::describe_run(const DiagnosisRun& run) {
    checks = run.rows();
    run_started = run.started_at();
    run_ended = run.ended_at();
    run_completed = run.completed();
}

SaveLogWorker::~SaveLogWorker() {
    wait();
}

bool SaveLogWorker::start(SaveLogInputs inputs, SaveLogObserver& observer) {
    if (busy.exchange(true)) return false;
    wait();  // the previous worker has made its last call; collect its thread
    if (!inputs.monitors) inputs.monitors = current_monitor_rects();
    stop = std::stop_source();
    inputs.stop = stop.get_token();
    try {
        worker = std::thread([this, inputs = std::move(inputs), &observer]() mutable {
            last_result = thread_save_log(std::move(inputs), observer);
            busy = false;  // the last access to anything of the owner's
        });
    } catch (const std::system_error& e) {
        g_log->write(CSCLog::error, "SaveLogWorker::start", __LINE__, "no thread for the collection: %s",
                     e.what());
        busy = false;
        return false;
    }
    return true;
}

void SaveLogWorker::wait() {
    if (worker.joinable()) worker.join();
}
