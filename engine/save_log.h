#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/bundle_options.h"
#include "engine/diagnosis_run.h"
#include "engine/product_profile.h"
#include "report/packing_record.h"
#include "report/report_rows.h"
#include "sys/monitors.h"
#include "sys/user_identity.h"

// Log collection: the report, the inventories and the system command outputs are written into a
// working folder of the collection's own inside the collection folder (so that two collections at
// once never share a file), the product's log folders are packed there, and everything goes into one
// final archive named after the product and the time. Only that archive moves into the collection
// folder, under a name no other file has, once it is whole; the working folder goes.

// The progress window's range: thread_save_log steps it exactly this many times.
inline constexpr int kSaveLogSteps = 11;

// What a front end does for the collection. Every call comes from the thread running the collection;
// show_message returns only when the user has closed the message.
class SaveLogObserver {
public:
    virtual ~SaveLogObserver() = default;
    virtual void set_window_enabled(bool enabled) = 0;
    virtual void step_progress() = 0;
    // Within the step that packs a log folder: source bytes packed so far of the total, per piece.
    virtual void pack_progress(uint64_t /*done*/, uint64_t /*total*/) {}
    virtual void finish_progress() = 0;  // bar back to 0, progress window hidden
    virtual void show_message(const std::string& text) = 0;
    virtual void reveal_archive(const std::string& archive_path) = 0;
};

// Runs one of the system commands and returns its output (run_system_command by default).
using CommandRunner = std::function<std::string(const std::string& command, int timeout_ms)>;

struct SaveLogInputs {
    ProductProfile profile;
    ReportRowTable rows;                        // the last run's log rows, for the report
    std::string collection_folder;              // empty: default_collection_folder()
    std::string all_users_folder;               // empty: the system's all-users folder
    std::optional<std::vector<Rect>> monitors;  // empty: asked of the monitor provider
    CommandRunner run_command;                  // empty: run_system_command
    BundleOptions bundle;                       // the defaults pack everything unchanged
    std::optional<UserIdentity> identity;       // whose names redaction hides; empty: the current user's

    // Texts of the tool's own command line that the bundle shows only in the given other form (a
    // credential among the arguments): replaced in the process list whatever the bundle options say.
    std::vector<std::pair<std::string, std::string>> arguments_shown;
    // When set, called on the collection's thread once the archive and what goes beside it are
    // written, before the file manager shows it, with the progress window still up: a step that
    // sends the archive on. It takes the archive's MD5 (16 bytes, empty when no checksum was asked
    // for) and the collection's stop.
    std::function<void(const std::string& archive_path, const std::string& archive_md5, std::stop_token stop)>
        after_archive;

    // Asked between steps and pieces: the collection ends within a second, its working folder and
    // any unfinished archive removed (a finished archive stays), without a message.
    std::stop_token stop;

    // The last run, for the summary page: its checks, and when it started and ended (calendar seconds).
    std::vector<RunRow> checks;
    int64_t run_started = 0;
    int64_t run_ended = 0;
    bool run_completed = false;
    // Takes the above from a finished run.
    void describe_run(const DiagnosisRun& run);
};

struct SaveLogResult {
    std::string archive_path;
    bool archive_written = false;  // the final archive was created and closed without error
    bool stopped = false;          // a stop request ended the collection before its archive was done
    // When it was not written: why, in English, and the collected files left in the collection's
    // working folder (the unfinished archive itself is removed).
    std::string failure;
    std::vector<std::string> left_behind;
    // The archive was written but a file that had to go beside it was not: why, in English.
    std::string sidecar_failure;
    std::string archive_sha256;      // of the written archive, also in "<archive>.sha256"; empty when unknown
    std::string archive_md5;         // its 16 bytes, taken with the checksum for an upload; empty likewise
    std::string redaction_map_path;  // "<archive>.map.json" when the bundle was redacted
    std::vector<NotPackedFile> not_packed;          // log files left out, and why
    std::vector<UnredactedFile> packed_unredacted;  // in a redacted bundle, what went in as it was, and why
};

inline constexpr int kCommandTimeoutMs = 120000;

// The user's local application-data folder followed by "/Temp" (a private folder in the temporary
// folder instead when that is unknown; empty when neither can be had).
std::string default_collection_folder();

// "<title>_YYYYMMDDhhmmss.zip" for the given local time, whatever the user-interface language.
std::string final_archive_name(const std::string& product_title, int year, int month, int day, int hour,
                               int minute, int second);

class LogPacking;

// Packs every file below folder into archive_path. A missing folder is shown as a message and makes
// no archive; files that could not be packed are named in the tool's log. True when the archive was
// made; an archive that could not be finished is removed, never left to pass for a whole one.
// What was packed goes to `record` when given. With packing, files outside its bounds stay out and
// texts may go in redacted (see LogPacking), and what stays out is noted there; without it, in the log
// and in `record`.
bool zip_folder(const std::string& folder, const std::string& archive_path, SaveLogObserver& observer,
                PackingRecord* record = nullptr, LogPacking* packing = nullptr);

// The whole collection, on the calling thread. A failed archive is told with a message (the archive's
// path and text::kArchiveNotCreatedBelowPath); the file manager is still asked to show the archive, or
// the first collected file left behind instead.
SaveLogResult thread_save_log(SaveLogInputs inputs, SaveLogObserver& observer);

// The collection on a thread of its own, for the window. The window's thread answers the observer's
// calls, so while it waits for the worker it must keep dispatching its events; the worker's last
// call is set_window_enabled(true), after which joining returns at once. Destroying the worker waits
// for it, so nothing it uses goes away under it.
class SaveLogWorker {
public:
    SaveLogWorker() = default;
    ~SaveLogWorker();
    SaveLogWorker(const SaveLogWorker&) = delete;
    SaveLogWorker& operator=(const SaveLogWorker&) = delete;

    // False while an earlier collection is still running (or no thread could be made). Monitors not given in
    // inputs are read here, on the calling thread, where the monitor provider belongs.
    bool start(SaveLogInputs inputs, SaveLogObserver& observer);
    bool running() const { return busy.load(); }
    // Stops the collection under way (see SaveLogInputs::stop); nothing when none is.
    void request_stop() { stop.request_stop(); }
    void wait();
    const SaveLogResult& result() const { return last_result; }  // valid after wait()

private:
    std::thread worker;
    std::stop_source stop;
    std::atomic<bool> busy{false};
    SaveLogResult last_result;
};
