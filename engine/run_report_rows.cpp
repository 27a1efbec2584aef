#include "engine/run_report_rows.h"

#include <sstream>

#include "engine/log_row.h"

ReportRowTable run_report_rows(const std::vector<RunRow>& rows) {
    constexpr int kColumns = 7;
    std::vector<std::vector<std::string>> cells;
    for (const RunRow& row : rows) {
        std::vector<std::string> line;
        std::istringstream text(log_row_line(row));
        for (std::string cell; std::getline(text, cell, '|');) line.push_back(cell);
        line.resize(kColumns);  // the last cell is empty for a passed check
        cells.push_back(std::move(line));
    }
    return ReportRowTable(kColumns, std::move(cells));
}
