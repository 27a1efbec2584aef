#include "engine/log_packing.h"

#include <filesystem>
#include <system_error>

#include "log/CSCLog.h"
#include "report/redacted_copy.h"
#include "report/redactor.h"
#include "report/unique_names.h"
#include "report/zip_writer.h"
#include "res/engine_texts.h"
#include "res/string_table.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/folders.h"
#include "sys/fs_path.h"

namespace {

constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

// The part of path below folder, without a leading separator.
std::string relative_to(const std::string& path, const std::string& folder) {
    std::string relative = path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : path;
    relative.erase(0, relative.find_first_not_of("/\\"));
    return relative;
}

}  // namespace

LogPacking::LogPacking(const BundleOptions& options, Redactor* redactor,
                       std::vector<NotPackedFile>& not_packed, int64_t now, std::stop_token stop)
    : options(options), redactor(redactor), not_packed(not_packed), now(now), stop(std::move(stop)) {}

LogPacking::~LogPacking() {
    finish();
}

std::string LogPacking::bound_reason(const std::string& path) const {
    if (options.max_file_size) {
        const uint64_t size = get_file_size(path);
        if (size > *options.max_file_size)
            return load_string(text::kLargerThanLimit,
                               {std::to_string(size), std::to_string(*options.max_file_size)});
    }
    if (options.since_days) {
        const int64_t modified = get_file_time(path);
        if (modified == 0) return load_string(text::kModifiedTimeUnknown);
        if (modified < now - *options.since_days * kSecondsPerDay)
            return load_string(text::kNotModifiedSince, {std::to_string(*options.since_days)});
    }
    return {};
}

std::string LogPacking::refusal_reason(int zip_result) const {
    if (zip_result == kZipPastLimit && options.max_file_size)
        return load_string(text::kGrewPastLimit, {std::to_string(*options.max_file_size)});
    return zip_result_text(zip_result);
}

std::optional<uint64_t> LogPacking::packing_size_limit() const {
    if (redactor) return std::nullopt;
    return options.max_file_size;
}

std::string LogPacking::shown_name(const std::string& path) const {
    if (!staging.empty() && path.compare(0, staging.size(), staging) == 0)
        return source_folder + "/" + relative_to(path, staging);  // staged names are redacted already
    return redactor ? redactor->redact(path) : path;
}

void LogPacking::note(const std::string& name, const std::string& reason) {
    g_log->write(CSCLog::warn, "zip_folder", __LINE__, "%s was not packed: %s", name.c_str(), reason.c_str());
    not_packed.push_back({name, reason});
}

void LogPacking::note_unredacted(const std::string& name, const std::string& reason) {
    g_log->write(CSCLog::warn, "zip_folder", __LINE__, "%s was packed unredacted: %s", name.c_str(),
                 reason.c_str());
    unredacted.push_back({name, reason});
}

void LogPacking::left_out(const std::string& path, const std::string& reason) {
    note(shown_name(path), reason);
}

std::string LogPacking::prepare(const std::string& folder, std::vector<std::string>& files,
                                const std::string& staging_folder) {
    finish();
    source_folder = redactor ? redactor->redact(folder) : folder;
    std::vector<std::string> kept;
    for (const std::string& path : files) {
        const std::string reason = bound_reason(path);
        if (reason.empty())
            kept.push_back(path);
        else
            left_out(path, reason);
    }
    files.clear();
    if (!redactor) {
        files = std::move(kept);
        return folder;
    }

    // A leftover of an interrupted run goes first; a link in its place is removed, not followed.
    delete_folder(staging_folder);
    std::error_code ec;
    if (!std::filesystem::create_directory(fs_path(staging_folder), ec)) {
        for (const std::string& path : kept) left_out(path, load_string(text::kNoRedactedCopyFolder));
        return folder;
    }
    staging = staging_folder;
    UniqueNames names;
    for (const std::string& path : kept) {
        if (stop.stop_requested()) break;
        const std::string name = names.claim(redactor->redact(relative_to(path, folder)));
        const std::string copy = staging + "/" + name;
        create_folder(split_path(copy, 1));
        const RedactedCopy made =
            write_redacted_copy(*redactor, path, copy, options.drop_binary, options.max_file_size, stop);
        bool whole_left_out = false;
        for (const UnredactedPart& part : made.unredacted) {
            const std::string shown = source_folder + "/" + name + (part.part.empty() ? "" : "/" + part.part);
            whole_left_out |= part.left_out && part.part.empty();
            if (!part.left_out)
                note_unredacted(shown, part.reason);
            else if (part.reason == kBinaryReason)
                note(shown, load_string(text::kBinaryLeftOut));
            else
                note(shown, load_string(text::kReasonLeftOut, {part.reason}));
        }
        if (!made.written) {
            if (made.source_refused != kZipOk)
                left_out(path, refusal_reason(made.source_refused));
            else if (!whole_left_out)
                left_out(path, load_string(text::kRedactedCopyNotWritten));
            continue;
        }
        // The archive keeps the log's own time, which tells when it was written, not the copy's.
        const auto modified = std::filesystem::last_write_time(fs_path(path), ec);
        if (!ec) std::filesystem::last_write_time(fs_path(copy), modified, ec);
        files.push_back(copy);
    }
    return staging;
}

void LogPacking::finish() {
    if (staging.empty()) return;
    // The copies were made here, but a junction could have been swapped in since: never follow one.
    delete_folder(staging);
    staging.clear();
}
