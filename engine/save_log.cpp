#include "engine/save_log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
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

// Adds a file to the final archive; what stays out is logged. The file is deleted only once the
// archive is complete, so a failure to finish it loses nothing.
void pack(ZipHandle zip, const std::string& path, std::vector<std::string>& packed, PackingRecord& record) {
    const std::string entry = split_path(path, 5);
    const int result = ZipAddFile(zip, entry, path);
    if (result == kZipOk) {
        packed.push_back(path);
        record.add_packed("", entry, path);
        return;
    }
    g_log->write(CSCLog::warn, "thread_save_log", __LINE__, "%s was not added to the archive: %s",
                 path.c_str(), zip_result_text(result));
    record.add_skipped(path, std::string("could not be added to the bundle: ") + zip_result_text(result));
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

// Writes the summary page into the collection folder and packs it; it goes in last, so that it can
// tell what the bundle holds.
// With a redactor the page goes in redacted, like every other text of the bundle.
void pack_summary_page(ZipHandle zip, SummaryPage page, std::vector<std::string>& packed,
                       PackingRecord& record, const std::string& folder, Redactor* redactor) {
    const std::string path = folder + "/" + kSummaryFileName;
    page.files = record;
    if (redactor) redact_summary_page(page, *redactor);
    if (!write_text_file(path, summary_page_html(page), 0, false)) {
        g_log->write(CSCLog::warn, "thread_save_log", __LINE__, "the summary page %s could not be written",
                     path.c_str());
        return;
    }
    pack(zip, path, packed, record);
}

// The end of every collection: a failure is told, and the file manager opens either way.
SaveLogResult end_collection(SaveLogResult result, SaveLogObserver& observer) {
    if (!result.archive_written) {
        g_log->write(CSCLog::error, "thread_save_log", __LINE__, "%s", result.failure.c_str());
        const std::string above = result.archive_path.empty() ? std::string() : result.archive_path + "\n";
        observer.show_message(above + load_string(kArchiveNotCreatedStringId));
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

// The tool's own texts go into a redacted bundle only in redacted form.
void redact_own_texts(Redactor& redactor, const std::vector<std::string>& paths, LogPacking& packing) {
    for (const std::string& path : paths)
        if (file_exists(path) && !redact_file_in_place(redactor, path))
            packing.left_out(path, "could not be redacted");
}

// The checksum and, for a redacted bundle, the map from tokens to values go beside the archive; the
// map never goes into it.
void write_sidecars(SaveLogResult& result, bool checksum, const Redactor* redactor) {
    if (checksum) result.archive_sha256 = write_sha256_sidecar(result.archive_path);
    if (checksum && result.archive_sha256.empty())
        g_log->write(CSCLog::error, "thread_save_log", __LINE__, "no checksum file for %s",
                     result.archive_path.c_str());
    if (!redactor) return;
    const std::string map_path = result.archive_path + ".map.json";
    if (write_new_file(map_path, redactor->map_json(), true, true))
        result.redaction_map_path = map_path;
    else
        g_log->write(CSCLog::error, "thread_save_log", __LINE__, "the redaction map %s could not be written",
                     map_path.c_str());
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
        noted.add_skipped(
            folder, folder.empty() ? "the check list names no log folder" : "the log folder does not exist");
        observer.show_message(folder + kFolderMissingMessage);
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
        leave_out(link.path, "a " + link.kind + " to another place, not followed");
    const std::string base = packing ? packing->prepare(folder, files, archive_path + ".staging") : folder;
    std::vector<ZipFileFailure> failures;
    ZipPackOptions options;
    options.progress = [&observer](uint64_t done, uint64_t total) { observer.pack_progress(done, total); };
    if (packing) options.max_file_bytes = packing->packing_size_limit();
    const int result = ZipFileList("", base, archive_path, files, &failures, options);
    const std::string archive = split_path(archive_path, 5);
    for (const ZipFileFailure& f : failures)
        leave_out(f.path, packing ? packing->refusal_reason(f.result)
                                  : std::string("could not be packed: ") + zip_result_text(f.result));
    if (result != kZipOk) {
        if (packing) packing->finish();
        g_log->write(CSCLog::error, "zip_folder", __LINE__, "%s could not be written: %s",
                     archive_path.c_str(), zip_result_text(result));
        noted.add_skipped(folder,
                          "its archive " + archive + " could not be written: " + zip_result_text(result));
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
    const CommandRunner run = inputs.run_command ? inputs.run_command : CommandRunner(run_system_command);
    observer.set_window_enabled(false);
    const UserIdentity identity = inputs.identity ? *inputs.identity : current_user_identity();
    std::optional<Redactor> redactor;
    if (inputs.bundle.redact) redactor.emplace(identity);
    Redactor* const private_values = redactor ? &*redactor : nullptr;
    std::vector<NotPackedFile> not_packed;
    LogPacking packing(inputs.bundle, private_values, not_packed, calendar_now());

    const std::string folder =
        inputs.collection_folder.empty() ? default_collection_folder() : inputs.collection_folder;
    if (folder.empty()) {
        for (int i = 0; i < kSaveLogSteps; ++i) observer.step_progress();
        SaveLogResult nowhere;
        nowhere.failure = "no folder of the user's own to collect into";
        return end_collection(std::move(nowhere), observer);
    }
    create_folder(folder);
    observer.step_progress();

    ReportFacts facts = gather_report_facts(profile.product_title, !inputs.monitors.has_value());
    if (!inputs.all_users_folder.empty()) facts.all_users_folder = inputs.all_users_folder;
    if (inputs.monitors) facts.monitors = *inputs.monitors;
    const std::string report_path = folder + "/" + kReportFileName;
    if (!save_check_result(report_path, facts, inputs.rows)) observer.show_message(kReportNotCreatedMessage);
    const std::vector<std::string> texts = {
        folder + "/" + kInventoryFileNames[0], folder + "/" + kInventoryFileNames[1],
        folder + "/" + kInventoryFileNames[2], folder + "/" + kSystemInfoFile,
        folder + "/" + kTaskListFile,          folder + "/" + kNetworkFile};
    observer.step_progress();

    const std::string* program_folders[3] = {&profile.product_path_agent, &profile.product_path_agent_web,
                                             &profile.product_path_viewer};
    PackingRecord record;  // what the summary page lists
    for (int i = 0; i < 3; ++i) {
        const InventoryResult made =
            save_file_info(texts[i], profile.product_title, *program_folders[i], private_values);
        if (made == InventoryResult::kNotCreated) observer.show_message(kInventoryNotCreatedMessage);
        if (made == InventoryResult::kSkipped)
            record.add_skipped(kInventoryFileNames[i],
                               program_folders[i]->empty()
                                   ? "not made: the check list names no such program folder"
                                   : "not made: " + *program_folders[i] + " does not exist");
        observer.step_progress();
    }

    // The system information goes in Base64, so it survives whatever code page reads it.
    const std::string system_info = run(kSystemInfoCommand, kCommandTimeoutMs);
    write_text_file(texts[3], base64_encode(redactor ? redactor->redact(system_info) : system_info), 0, true);
    observer.step_progress();
    const std::string processes = run(kTaskListCommand, kCommandTimeoutMs);
    write_text_file(texts[4], redactor ? without_other_users_arguments(processes, identity.login) : processes,
                    kUtf8CodePage, false);
    observer.step_progress();
    write_text_file(texts[5], run(kNetworkCommand, kCommandTimeoutMs), kUtf8CodePage, false);
    observer.step_progress();

    const std::string title = file_name_safe(profile.product_title);
    const std::string agent_archive = folder + "/" + title + "_log.zip";
    zip_folder(profile.agent_log_path, agent_archive, observer, &record, &packing);
    std::string viewer_archive;
    if (!profile.viewer_log_path.empty() &&
        ascii_lower(profile.viewer_log_path) != ascii_lower(profile.agent_log_path)) {
        viewer_archive = folder + "/" + title + "_log_viewer.zip";
        zip_folder(profile.viewer_log_path, viewer_archive, observer, &record, &packing);
    }

    // Last before packing, so that a text written from what the packing left out is redacted too. The
    // system information was redacted before its encoding, the inventories as they were written.
    if (redactor) redact_own_texts(*redactor, {report_path, texts[4], texts[5]}, packing);

    const LocalDateTime now = local_now();
    SaveLogResult result;
    result.archive_path = folder + "/" +
                          final_archive_name(profile.product_title, now.year, now.month, now.day, now.hour,
                                             now.minute, now.second);
    ZipHandle zip = ZipCreate(result.archive_path);
    if (!zip) result.failure = "the archive " + result.archive_path + " could not be created";
    std::vector<std::string> packed;
    observer.step_progress();
    if (zip) pack(zip, report_path, packed, record);
    observer.step_progress();
    if (zip)
        for (const std::string& text : texts)
            if (file_exists(text)) pack(zip, text, packed, record);
    observer.step_progress();
    if (zip) {
        if (file_exists(agent_archive)) pack(zip, agent_archive, packed, record);
        if (!viewer_archive.empty() && file_exists(viewer_archive)) pack(zip, viewer_archive, packed, record);
        for (const NotPackedFile& left : not_packed) record.add_skipped(left.name, left.reason);
        for (const UnredactedFile& as_is : packing.packed_unredacted())
            record.add_unredacted(as_is.name, as_is.reason);
        pack_summary_page(zip, summary_page_of(inputs, facts, folder), packed, record, folder,
                          private_values);
        const int closed = ZipClose(zip);
        result.archive_written = closed == kZipOk;
        if (!result.archive_written) {
            result.failure =
                "the archive " + result.archive_path + " could not be finished: " + zip_result_text(closed);
            remove_file(result.archive_path);  // a broken archive must not pass for the bundle
        } else {
            write_sidecars(result, inputs.bundle.checksum, private_values);
        }
    }
    result.not_packed = std::move(not_packed);
    result.packed_unredacted = packing.packed_unredacted();

    if (result.archive_written) {
        for (const std::string& path : packed) remove_file(path);
    } else {
        std::vector<std::string> collected = {report_path, agent_archive, viewer_archive,
                                              folder + "/" + kSummaryFileName};
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
