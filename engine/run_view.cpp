#include "engine/run_view.h"

#include <algorithm>
#include <cstdio>

#include "sys/number_text.h"

namespace {

std::string count_suffix(int number, int count) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " (%d/%d)", number, count);
    return buffer;
}

std::string group_caption(const CheckGroup& group, const char* outcome, int number) {
    const int count = static_cast<int>(group.size());
    std::string caption = group.front().name + outcome;
    if (count > 1) caption += count_suffix(number, count);
    return caption;
}

}  // namespace

std::string idle_step_caption(const CheckGroup& group) { return group.front().name + " 체크"; }

std::string checking_step_caption(const std::string& item_name, int number, int count) {
    std::string caption = item_name + " 체크중";
    if (count > 1) caption += count_suffix(number, count);
    return caption;
}

std::string passed_step_caption(const CheckGroup& group) {
    return group_caption(group, " 체크 완료", static_cast<int>(group.size()));
}

std::string failed_step_caption(const CheckGroup& group) {
    return group_caption(group, " 체크 실패", static_cast<int>(group.size()));
}

std::string stopped_step_caption(const CheckGroup& group, int number) {
    return group_caption(group, " 체크 중지", number);
}

std::string log_row_text(int group_index, const CCheckItem& item, const std::string& time_of_day) {
    if (group_index == 0) return item.category() + "|" + time_of_day + "|관리자 계정";
    return item.category() + "|" + time_of_day + "|" + MaskAddress(item.host) + "|" + std::to_string(item.port);
}

uint32_t elapsed_color(int elapsed_ms) {
    if (elapsed_ms <= 50) return 0xFF007F00;
    if (elapsed_ms <= 100) return 0xFF20A5DA;
    if (elapsed_ms <= 300) return 0xFF507FFF;
    return 0xFF00008B;
}

LogRowCompletion complete_log_row(const CCheckParam& record) {
    LogRowCompletion row;
    if (record.elapsed_ms >= 0) row.elapsed = std::to_string(record.elapsed_ms) + "ms";
    if (record.result.code == 0) {
        row.result = "Ok";
        row.elapsed_color = elapsed_color(record.elapsed_ms);
    } else {
        row.result = "Fail";
        row.code = std::to_string(record.result.code);
        row.row_color = kStepFailedColor;
    }
    return row;
}

std::string log_row_line(const std::string& row_text, const LogRowCompletion& completion) {
    std::string line = row_text;
    for (size_t cells = std::count(line.begin(), line.end(), '|') + 1; cells < 4; ++cells) line += '|';
    return line + "|" + completion.elapsed + "|" + completion.result + "|" + completion.code;
}
