#pragma once

#include <vector>

#include "engine/run_events.h"
#include "report/summary_page.h"

// The run's checks as the summary page shows them: the diagnosis-log cells and colours the window
// shows (computed by the same functions), each code's message and usual meaning, and every try.
std::vector<SummaryCheck> summary_checks(const std::vector<RunRow>& rows);
