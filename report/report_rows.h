#pragma once

#include <string>
#include <vector>

// The rows of the last diagnosis run, as the report reads them: both front ends hand over the engine's
// record of the run, in run order.
class ReportRowSource {
public:
    virtual ~ReportRowSource() = default;
    virtual int row_count() const = 0;
    virtual int column_count() const = 0;
    virtual std::string cell_text(int row, int column) const = 0;  // UTF-8; empty outside the table
};

// Rows as plain data, which can travel to a worker.
class ReportRowTable : public ReportRowSource {
public:
    ReportRowTable() = default;
    ReportRowTable(int columns, std::vector<std::vector<std::string>> rows);

    int row_count() const override { return static_cast<int>(rows.size()); }
    int column_count() const override { return columns; }
    std::string cell_text(int row, int column) const override;

private:
    int columns = 0;
    std::vector<std::vector<std::string>> rows;
};
