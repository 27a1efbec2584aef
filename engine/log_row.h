#pragma once

#include <string>

#include "engine/check_item.h"
#include "engine/check_param.h"
#include "engine/run_events.h"

// A check's row of the diagnosis log, in the words the window, the command line and the report all
// use.

// The cells known when the check starts, joined by "|": category, time of day, masked target, port.
std::string log_row_text(int group_index, const CCheckItem& item, const std::string& time_of_day);

// The cells a finished check adds.
struct LogRowResult {
    std::string elapsed;  // "%dms"; empty when the time is negative
    std::string result;   // "Ok" or "Fail"
    std::string code;     // the code of a failed check
};

LogRowResult log_row_result(const CCheckParam& record);

// The seven cells of a finished check joined by "|" (the account row's empty port included).
std::string log_row_line(const RunRow& row);
