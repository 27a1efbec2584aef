#include "report/report_rows.h"

#include <algorithm>

ReportRowTable::ReportRowTable(int columns, std::vector<std::vector<std::string>> rows)
    : columns(columns), rows(std::move(rows)) {}

ReportRowTable ReportRowTable::copy_of(const ReportRowSource& source) {
    const int columns = source.column_count();
    std::vector<std::vector<std::string>> rows(static_cast<size_t>(std::max(0, source.row_count())));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < columns; ++c) rows[r].push_back(source.cell_text(static_cast<int>(r), c));
    return ReportRowTable(columns, std::move(rows));
}

std::string ReportRowTable::cell_text(int row, int column) const {
    if (row < 0 || row >= row_count() || column < 0 || column >= static_cast<int>(rows[row].size()))
        return {};
    return rows[row][column];
}
