#pragma once

#include "report/report_rows.h"

class CVtListCtrlEx;

// The diagnosis-log list as the report reads it. Read it on the list's thread; the report's copy
// (ReportRowTable::copy_of) is what travels to the collection worker.
class ListRowSource : public ReportRowSource {
public:
    explicit ListRowSource(const CVtListCtrlEx& list) : list_(list) {}

    int row_count() const override;
    int column_count() const override;
    std::string cell_text(int row, int column) const override;

private:
    const CVtListCtrlEx& list_;
};
