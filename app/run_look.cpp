#include "app/run_look.h"

#include <cstdio>

#include "engine/log_row.h"
#include "engine/result_code.h"
#include "res/engine_texts.h"
#include "res/string_table.h"
#include "res/window_texts.h"

namespace {

std::string count_suffix(int number, int count)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " (%d/%d)", number, count);
    return buffer;
}

std::string group_caption(const CheckGroup& group, int outcome, int number)
{
    const int count = static_cast<int>(group.size());
    std::string caption = load_string(outcome, {group.front().name});
    if (count > 1)
        caption += count_suffix(number, count);
    return caption;
}

}  // namespace

std::string idle_step_caption(const CheckGroup& group) { return load_string(text::kStepIdle, {group.front().name}); }

std::string checking_step_caption(const std::string& item_name, int number, int count)
{
    std::string caption = load_string(text::kStepChecking, {item_name});
    if (count > 1)
        caption += count_suffix(number, count);
    return caption;
}

std::string passed_step_caption(const CheckGroup& group)
{
    return group_caption(group, text::kStepPassed, static_cast<int>(group.size()));
}

std::string failed_step_caption(const CheckGroup& group)
{
    return group_caption(group, text::kStepFailed, static_cast<int>(group.size()));
}

std::string stopped_step_caption(const CheckGroup& group, int number)
{
    return group_caption(group, text::kStepStopped, number);
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
        content = load_string(text::kHttpCode, {std::to_string(record.result.code)});
    return load_string(text::kRowFail) + "|" + check.item.category() + "|" + content;
}
