#pragma once

#include <optional>
#include <string>

#include "cli/cli_save_log.h"
#include "net/file_upload.h"

class CCheckHost;
class DiagnosisRun;

// The one JSON object checktool-cli --json prints when a run ends. check_list_source: where the check
// list came from ("web:HOST:PORT" or "file:PATH"). "upload" is null unless an upload was made.
std::string run_result_json(const CCheckHost& host, const DiagnosisRun& run,
                            const std::optional<CollectedLogs>& logs, const std::optional<UploadResult>& upload,
                            const std::string& check_list_source);
