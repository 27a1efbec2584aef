#pragma once

#include <optional>
#include <string>

class CCheckHost;

class DiagnosisRun;

// The log collection after a completed run, on this thread; its messages go to standard error.
// The archive's path when one was written; otherwise why not, and the collected files left in the
// collection folder, are told on standard error.
std::optional<std::string> collect_logs(const CCheckHost& host, const DiagnosisRun& run);
