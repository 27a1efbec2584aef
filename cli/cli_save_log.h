#pragma once

#include <optional>
#include <string>

class CCheckHost;

// checktool-cli's exit status when --save-log wrote no archive. It outranks "some check failed",
// whose news the output still carries.
inline constexpr int kNoArchiveExitStatus = 3;
class DiagnosisRun;

// The log collection after a completed run, on this thread; its messages go to standard error.
// The archive's path when one was written; otherwise why not, and the collected files left in the
// collection folder, are told on standard error.
std::optional<std::string> collect_logs(const CCheckHost& host, const DiagnosisRun& run);
