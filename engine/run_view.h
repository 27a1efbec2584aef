#pragma once

#include <cstdint>
#include <string>

#include "engine/check_item.h"
#include "engine/check_param.h"

// What a diagnosis run shows, computed once here so that every front end shows the same words and
// colours. Colours are ARGB; kKeepColor leaves the current colour as it is.
inline constexpr uint32_t kKeepColor = 0x00FFFFFF;
inline constexpr uint32_t kStepFailedColor = 0xFFB22222;
inline constexpr uint32_t kStepStoppedColor = 0xFFA0522D;
inline constexpr uint32_t kResultMessageColor = 0xFF696969;
inline constexpr int kResultMessagePoints = 9;

inline constexpr const char* kStartButtonText = "진단 시작";
inline constexpr const char* kStopButtonText = "진단 중지";
inline constexpr const char* kCompletionMessage =
    "모든 체크가 완료되었습니다.\n\n로그 저장 버튼을 클릭하여 진단로그 및\n원격관련 로그파일을 수집할 수 있습니다.";
inline constexpr int kCompletionAutoCloseSeconds = 10;
inline constexpr const char* kNoFailuresMessage = "진단 실패 항목이 없습니다.";
inline constexpr const char* kCancelledMessage = "사용자에 의해 진단이 취소되었습니다.";

// Step captions. `number` counts from 1; `count` is the group's item count.
std::string idle_step_caption(const CheckGroup& group);
std::string checking_step_caption(const std::string& item_name, int number, int count);
std::string passed_step_caption(const CheckGroup& group);
std::string failed_step_caption(const CheckGroup& group);
std::string stopped_step_caption(const CheckGroup& group, int number);

// The cells of a new diagnosis-log row, joined by "|": category, time, masked target, port.
std::string log_row_text(int group_index, const CCheckItem& item, const std::string& time_of_day);

// How a finished check completes its log row.
struct LogRowCompletion {
    std::string elapsed;             // column 4, "%dms"; empty when the time is negative
    std::string result;              // column 5, "Ok" or "Fail"
    std::string code;                // column 6, the code of a failed check
    uint32_t elapsed_color = kKeepColor;  // text colour of column 4 (successful checks)
    uint32_t row_color = kKeepColor;      // text colour of the whole row (failed checks)
};

LogRowCompletion complete_log_row(const CCheckParam& record);

// The colour of a successful check's time, by its average duration.
uint32_t elapsed_color(int elapsed_ms);

// The seven cells of a completed log row joined by "|" (the account row's empty port included).
std::string log_row_line(const std::string& row_text, const LogRowCompletion& completion);
