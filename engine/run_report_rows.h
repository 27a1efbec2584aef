#pragma once

#include <vector>

#include "engine/run_events.h"
#include "report/report_rows.h"

// The run's record as the report reads it: the seven diagnosis-log cells of every finished check.
ReportRowTable run_report_rows(const std::vector<RunRow>& rows);
