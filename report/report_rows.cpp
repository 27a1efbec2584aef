#include "report/report_rows.h"

ReportRowTable::ReportRowTable(int columns, std::vector<std::vector<std::string>> rows)
    : columns(columns), rows(std::move(rows)) {}

std::string ReportRowTable::cell_text(int row, int column) const {
    if (row < 0 || row >= row_count() || column < 0 || column >= static_cast<int>(rows[row].size()))
        return {};
    return rows[row][column];
}
