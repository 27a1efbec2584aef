#include "app/run_look.h"

#include <cstdio>

#include "engine/log_row.h"
#include "engine/result_code.h"

namespace {

std::string count_suffix(int number, int count)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " (%d/%d)", number, count);
    return buffer;
}

std::string group_caption(const CheckGroup& group, const char* outcome, int number)
{
    const int count = static_cast<int>(group.size());
    std::string caption = group.front().name + outcome;
    if (count > 1)
        caption += count_suffix(number, count);
    return caption;
}

}  // namespace

std::string idle_step_caption(const CheckGroup& group) { return group.front().name + " 체크"; }

std::string checking_step_caption(const std::string& item_name, int number, int count)
{
    std::string caption = item_name + " 체크중";
    if (count > 1)
        caption += count_suffix(number, count);
    return caption;
}

std::string passed_step_caption(const CheckGroup& group)
{
    return group_caption(group, " 체크 완료", static_cast<int>(group.size()));
}

std::string failed_step_caption(const CheckGroup& group)
{
    return group_caption(group, " 체크 실패", static_cast<int>(group.size()));
}

std::string stopped_step_caption(const CheckGroup& group, int number)
{
    return group_caption(group, " 체크 중지", number);
}

LogRowCompletion complete_log_row(const CCheckParam& record)
{
    const LogRowResult cells = log_row_result(record);
    const CheckColors colors = check_colors(record.result.code, record.elapsed_ms);
    return {cells.elapsed, cells.result, cells.code, colors.elapsed, colors.row};
}

std::string result_row(const RunRow& check)
{
    const CCheckParam& record = check.record;
    std::string content = result_message(record.result);
    if (content.empty())
        content = record.detail;
    if (content.empty())
        content = "HTTP " + std::to_string(record.result.code);
    return "Fail|" + check.item.category() + "|" + content;
}
