#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "engine/bundle_options.h"

class CCheckHost;

class DiagnosisRun;

// What a log collection left behind.
struct CollectedLogs {
    std::string archive_path;
    std::string archive_sha256;      // empty when the checksum file could not be written
    std::string archive_md5;         // its 16 bytes, taken with the checksum; empty likewise
    std::string redaction_map_path;  // empty unless redacted
    std::vector<NotPackedFile> not_packed;
    std::vector<UnredactedFile> packed_unredacted;
    // The archive was written but its checksum file or redaction map was not (told on standard error):
    // the bundle is not what was asked for.
    bool incomplete = false;
};

// The log collection after a completed run, on this thread; its messages go to standard error.
// Nothing when no archive was written; why not, and the collected files left in the collection
// folder, are then told on standard error. A stop request ends it within a second, leaving nothing.
// arguments_shown: as SaveLogInputs::arguments_shown.
std::optional<CollectedLogs> collect_logs(const CCheckHost& host, const DiagnosisRun& run,
                                          const BundleOptions& bundle,
                                          std::vector<std::pair<std::string, std::string>> arguments_shown,
                                          std::stop_token stop);
