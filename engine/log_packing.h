#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/bundle_options.h"

class Redactor;

// What happens to a log folder's files on their way into its archive: files outside the bounds stay
// out, and with a redactor the rest go in as redacted copies under redacted names (two names that
// redact alike are told apart: "user-1 (2).log"). Every file left out is written to the tool's log and
// added to not_packed; every file, or part of an archive, that goes in unredacted to the tool's log
// and to packed_unredacted.
class LogPacking {
public:
    // now: calendar seconds the age bound counts back from. A stop request ends the redaction early;
    // the caller then throws away what was prepared.
    LogPacking(const BundleOptions& options, Redactor* redactor, std::vector<NotPackedFile>& not_packed,
               int64_t now, std::stop_token stop = {});
    LogPacking(const LogPacking&) = delete;
    LogPacking& operator=(const LogPacking&) = delete;
    ~LogPacking();  // removes the staging folder

    // Takes out of files, all below folder, those to leave out. With a redactor the remaining files
    // are replaced by their redacted copies in staging_folder (made afresh), and that folder is
    // returned as the one the list now lives under; otherwise folder is returned.
    std::string prepare(const std::string& folder, std::vector<std::string>& files,
                        const std::string& staging_folder);
    // A file that could not be packed after all (path from the list prepare returned).
    void left_out(const std::string& path, const std::string& reason);
    // Why a file stays out, for a ZIP writer result about its source (kZipPastLimit, ...).
    std::string refusal_reason(int zip_result) const;
    // The size bound the archive's writer holds the listed files to while reading them: the bound
    // itself when they are the logs, none for redacted copies (their sources were held to it).
    std::optional<uint64_t> packing_size_limit() const;
    // Removes the staging folder of the last prepare, once the archive is written.
    void finish();
    const std::vector<UnredactedFile>& packed_unredacted() const { return unredacted; }
    const std::stop_token& stop_request() const { return stop; }

private:
    // Why the file stays out; empty when it goes in.
    std::string bound_reason(const std::string& path) const;
    std::string shown_name(const std::string& path) const;
    void note(const std::string& name, const std::string& reason);
    void note_unredacted(const std::string& name, const std::string& reason);

    const BundleOptions& options;
    Redactor* redactor;
    std::vector<NotPackedFile>& not_packed;
    std::vector<UnredactedFile> unredacted;
    int64_t now;
    std::stop_token stop;
    std::string source_folder;  // of the last prepare
    std::string staging;        // empty when nothing is staged
};
