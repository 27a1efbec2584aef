#pragma once

#include <optional>
#include <string>

class CCheckHost;
class DiagnosisRun;

// The one JSON object checktool-cli --json prints when a run ends.
std::string run_result_json(const CCheckHost& host, const DiagnosisRun& run, const std::optional<std::string>& archive);
