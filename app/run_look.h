#pragma once

#include <cstdint>
#include <string>

#include "engine/check_item.h"
#include "engine/check_param.h"
#include "engine/run_events.h"
#include "report/check_colors.h"

// What the window shows of a diagnosis run: its words and colours. Colours are ARGB; kKeepColor
// leaves the current colour as it is.
inline constexpr uint32_t kKeepColor = 0x00FFFFFF;
inline constexpr uint32_t kStepFailedColor = kFailedCheckColor;
inline constexpr uint32_t kStepStoppedColor = 0xFFA0522D;
inline constexpr uint32_t kResultMessageColor = 0xFF696969;
inline constexpr int kResultMessagePoints = 9;

inline constexpr int kCompletionAutoCloseSeconds = 10;

// Step captions. `number` counts from 1; `count` is the group's item count.
std::string idle_step_caption(const CheckGroup& group);
std::string checking_step_caption(const std::string& item_name, int number, int count);
std::string passed_step_caption(const CheckGroup& group);
std::string failed_step_caption(const CheckGroup& group);
std::string stopped_step_caption(const CheckGroup& group, int number);

// How a finished check completes its log row.
struct LogRowCompletion {
    std::string elapsed;                  // column 4, "%dms"; empty when the time is negative
    std::string result;                   // column 5, "Ok" or "Fail"
    std::string code;                     // column 6, the code of a failed check
    uint32_t elapsed_color = kKeepColor;  // text colour of column 4 (successful checks)
    uint32_t row_color = kKeepColor;      // text colour of the whole row (failed checks)
};

LogRowCompletion complete_log_row(const CCheckParam& record);

// A failed check's row on the result page: "Fail|category|content".
std::string result_row(const RunRow& check);
