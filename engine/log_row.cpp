#include "engine/log_row.h"

#include <algorithm>

#include "res/engine_texts.h"
#include "res/string_table.h"
#include "sys/number_text.h"

std::string log_row_text(int group_index, const CCheckItem& item, const std::string& time_of_day) {
    if (group_index == 0)
        return item.category() + "|" + time_of_day + "|" + load_string(text::kAccountTarget);
    return item.category() + "|" + time_of_day + "|" + MaskAddress(item.host) + "|" +
           std::to_string(item.port);
}

LogRowResult log_row_result(const CCheckParam& record) {
    LogRowResult cells;
    if (record.elapsed_ms >= 0)
        cells.elapsed = load_string(text::kRowMilliseconds, {std::to_string(record.elapsed_ms)});
    if (record.result.code == 0) {
        cells.result = load_string(text::kRowOk);
    } else {
        cells.result = load_string(text::kRowFail);
        cells.code = std::to_string(record.result.code);
    }
    return cells;
}

std::string log_row_line(const RunRow& row) {
    const LogRowResult result = log_row_result(row.record);
    std::string line = row.text;
    for (size_t cells = std::count(line.begin(), line.end(), '|') + 1; cells < 4; ++cells) line += '|';
    return line + "|" + result.elapsed + "|" + result.result + "|" + result.code;
}
