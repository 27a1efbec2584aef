#include "app/list_row_source.h"

#include "ui/CVtListCtrlEx.h"

int ListRowSource::row_count() const { return list_.GetRowCount(); }

int ListRowSource::column_count() const { return list_.GetColumnCount(); }

std::string ListRowSource::cell_text(int row, int column) const
{
    return list_.GetItemText(row, column).toStdString();
}
