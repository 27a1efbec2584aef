#pragma once

#include <string>
#include <vector>

// The rows of the last diagnosis run, as the report reads them. The window hands over its log page's
// cells, the command-line front end the engine's record of the same rows.
class ReportRowSource {
public:
    virtual ~ReportRowSource() = default;
    virtual int row_count() const = 0;
    virtual int column_count() const = 0;
    virtual std::string cell_text(int row, int column) const = 0;  // UTF-8; empty outside the table
};

// A plain copy of rows. Taken on the thread that owns the originals, it can travel to a worker.
class ReportRowTable : public ReportRowSource {
public:
    ReportRowTable() = default;
    ReportRowTable(int columns, std::vector<std::vector<std::string>> rows);
    static ReportRowTable copy_of(const ReportRowSource& source);

    int row_count() const override { return static_cast<int>(rows.size()); }
    int column_count() const override { return columns; }
    std::string cell_text(int row, int column) const override;

private:
    int columns = 0;
    std::vector<std::vector<std::string>> rows;
};
