#pragma once

#include "ui/accessible_part.h"

#include <QAccessibleWidget>

class CVtListCtrlEx;

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
class AccessibleListCtrl : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AccessibleListCtrl(QWidget* list);

    // Row -1 is the header.
    QAccessibleInterface* Cell(int row, int column) const;
    static int ChildIndex(int row, int column, int column_count) { return (row + 1) * column_count + column; }

    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    CVtListCtrlEx* List() const;

    // Kept until the rows change.
    mutable AccessiblePartCache cells_;
};
