#pragma once

#include <QAccessible>

class CVtListCtrlEx;
class QWidget;

// What the list tells screen readers and UI automation as its rows change, so that a reader hears a
// row arrive during a run.
namespace list_accessibility {
void RowsInserted(CVtListCtrlEx& list, int first, int last);
void CellsChanged(CVtListCtrlEx& list, int row, int first_column, int last_column);
// Cleared, sorted or refilled as a whole.
void RowsReset(CVtListCtrlEx& list);
// The focused cell moved (told while the list has the focus) or the selected row changed.
void CurrentCellMoved(CVtListCtrlEx& list);
void SelectionChanged(CVtListCtrlEx& list);
}  // namespace list_accessibility

// The list as a table: first the column headers, then one cell per column of every row, each with the
// text it draws (in full). While the list has no rows, its message is the table's description.
QAccessibleInterface* NewAccessibleListCtrl(QWidget* list);
