#include "engine/save_log.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/log_packing.h"
#include "log/CSCLog.h"
#include "report/archive_digest.h"
#include "report/file_inventory.h"
#include "report/redacted_copy.h"
#include "report/redactor.h"
#include "report/result_report.h"
#include "report/zip_writer.h"
#include "res/string_table.h"
#include "sys/ascii_text.h"
#include "sys/date_time_text.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/fs_path.h"
#include "sys/new_file.h"
#include "sys/private_folder.h"
#include "sys/run_and_capture.h"
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
void pack(ZipHandle zip, const std::string& path, std::vector<std::string>& packed) {
    const int result = ZipAddFile(zip, split_path(path, 5), path);
    if (result == kZipOk) {
        packed.push_back(path);
        return;
    }
    g_log->write(CSCLog::warn, "thread_save_log", __LINE__, "%s was not added to the archive: %s",
                 path.c_str(), zip_result_text(result));
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
                LogPacking* packing) {
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(fs_path(folder), ec)) {
        g_log->write(CSCLog::warn, "zip_folder", __LINE__, "log folder not found: %s", folder.c_str());
        observer.show_message(folder + kFolderMissingMessage);
        return false;
    }
    std::vector<std::string> files;
    find_files(files, folder, "*", "*", false, "", true, true);
    const std::string base = packing ? packing->prepare(folder, files, archive_path + ".staging") : folder;
    std::vector<ZipFileFailure> failures;
    ZipPackOptions options;
    options.progress = [&observer](uint64_t done, uint64_t total) { observer.pack_progress(done, total); };
    const int result = ZipFileList("", base, archive_path, files, &failures, options);
    for (const ZipFileFailure& f : failures)
        if (packing)
            packing->left_out(f.path, zip_result_text(f.result));
        else
            g_log->write(CSCLog::warn, "zip_folder", __LINE__, "%s was not packed: %s", f.path.c_str(),
                         zip_result_text(f.result));
    if (packing) packing->finish();
    if (result != kZipOk)
        g_log->write(CSCLog::error, "zip_folder", __LINE__, "%s could not be written: %s",
                     archive_path.c_str(), zip_result_text(result));
    return result == kZipOk;
}

SaveLogResult thread_save_log(SaveLogInputs inputs, SaveLogObserver& observer) {
    const ProductProfile& profile = inputs.profile;
    const CommandRunner run = inputs.run_command ? inputs.run_command : CommandRunner(run_and_capture);
    observer.set_window_enabled(false);
    std::optional<Redactor> redactor;
    if (inputs.bundle.redact) redactor.emplace(inputs.identity ? *inputs.identity : current_user_identity());
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
    for (int i = 0; i < 3; ++i) {
        if (save_file_info(texts[i], profile.product_title, *program_folders[i]) ==
            InventoryResult::kNotCreated)
            observer.show_message(kInventoryNotCreatedMessage);
        observer.step_progress();
    }

    // The system information goes in Base64, so it survives whatever code page reads it.
    const std::string system_info = run(kSystemInfoCommand, kCommandTimeoutMs);
    write_text_file(texts[3], base64_encode(redactor ? redactor->redact(system_info) : system_info), 0, true);
    observer.step_progress();
    write_text_file(texts[4], run(kTaskListCommand, kCommandTimeoutMs), kUtf8CodePage, false);
    observer.step_progress();
    write_text_file(texts[5], run(kNetworkCommand, kCommandTimeoutMs), kUtf8CodePage, false);
    observer.step_progress();

    const std::string title = file_name_safe(profile.product_title);
    const std::string agent_archive = folder + "/" + title + "_log.zip";
    zip_folder(profile.agent_log_path, agent_archive, observer, &packing);
    std::string viewer_archive;
    if (!profile.viewer_log_path.empty() &&
        ascii_lower(profile.viewer_log_path) != ascii_lower(profile.agent_log_path)) {
        viewer_archive = folder + "/" + title + "_log_viewer.zip";
        zip_folder(profile.viewer_log_path, viewer_archive, observer, &packing);
    }

    // Last before packing, so that a text written from what the packing left out is redacted too.
    if (redactor)  // the system information was redacted before its encoding
        redact_own_texts(*redactor, {report_path, texts[0], texts[1], texts[2], texts[4], texts[5]}, packing);

    const LocalDateTime now = local_now();
    SaveLogResult result;
    result.archive_path = folder + "/" +
                          final_archive_name(profile.product_title, now.year, now.month, now.day, now.hour,
                                             now.minute, now.second);
    ZipHandle zip = ZipCreate(result.archive_path);
    if (!zip) result.failure = "the archive " + result.archive_path + " could not be created";
    std::vector<std::string> packed;
    observer.step_progress();
    if (zip) pack(zip, report_path, packed);
    observer.step_progress();
    if (zip)
        for (const std::string& text : texts)
            if (file_exists(text)) pack(zip, text, packed);
    observer.step_progress();
    if (zip) {
        if (file_exists(agent_archive)) pack(zip, agent_archive, packed);
        if (!viewer_archive.empty() && file_exists(viewer_archive)) pack(zip, viewer_archive, packed);
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

    if (result.archive_written) {
        for (const std::string& path : packed) remove_file(path);
    } else {
        std::vector<std::string> collected = {report_path, agent_archive, viewer_archive};
        collected.insert(collected.begin() + 1, texts.begin(), texts.end());
        for (const std::string& path : collected)
            if (!path.empty() && file_exists(path)) result.left_behind.push_back(path);
    }
    return end_collection(std::move(result), observer);
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
