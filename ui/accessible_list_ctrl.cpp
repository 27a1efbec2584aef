#include "ui/accessible_list_ctrl.h"

#include "ui/CHeaderCtrlEx.h"
#include "ui/CVtListCtrlEx.h"
#include "ui/accessible_part.h"

#include <QAccessibleWidget>

namespace {

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

// One cell, or with row -1 one column header, named by its place: whatever row stands there now.
class AccessibleListCell : public AccessiblePart,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    AccessibleListCell(CVtListCtrlEx* list, int row, int column) : AccessiblePart(list), row_(row), column_(column) {}

    bool isValid() const override
    {
        return OwnerAlive() && column_ < List()->GetColumnCount() && row_ < List()->GetRowCount();
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        return IsHeader() ? List()->GetColumnLabel(column_) : List()->GetItemText(row_, column_);
    }
    QRect rect() const override
    {
        if (!IsHeader())
            return OnScreen(List()->viewport(), List()->GetCellRect(row_, column_));
        const CHeaderCtrlEx* header = List()->GetHeaderCtrl();
        return OnScreen(header->viewport(), QRect(header->sectionViewportPosition(column_), 0,
                                                  header->sectionSize(column_), header->height()));
    }
    QAccessible::Role role() const override { return IsHeader() ? QAccessible::ColumnHeader : QAccessible::Cell; }
    QAccessible::State state() const override
    {
        const CVtListCtrlEx* list = List();
        QAccessible::State state;
        state.invisible = !list->isVisible();
        if (IsHeader())
            return state;
        const int first = list->GetFirstVisibleRow();
        state.offscreen = row_ < first || row_ >= first + list->GetRowsPerPage();
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = list->hasFocus() && row_ == list->GetFocusedRow() && column_ == list->GetFocusedColumn();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && !IsHeader())
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface && IsHeader())
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return List()->IsRowSelected(row_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        const auto* table = dynamic_cast<const AccessibleListCtrl*>(parent());
        return table != nullptr ? QList<QAccessibleInterface*>{table->Cell(-1, column_)} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // A header's one action sorts by its column, as a click on it does.
    QStringList actionNames() const override
    {
        return List()->IsSortEnabled() && List()->GetHeaderCtrl()->AreItemsClickable() ? QStringList{pressAction()}
                                                                                       : QStringList{};
    }
    void doAction(const QString& name) override
    {
        if (actionNames().contains(name))
            List()->SortByColumn(column_, false);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    CVtListCtrlEx* List() const { return static_cast<CVtListCtrlEx*>(Owner()); }

private:
    bool IsHeader() const { return row_ < 0; }

    int row_;
    int column_;
};

void SendModelChange(CVtListCtrlEx& list, QAccessibleTableModelChangeEvent::ModelChangeType type, int first_row,
                     int last_row, int first_column, int last_column)
{
    if (!AccessibilityListening())
        return;
    QAccessibleTableModelChangeEvent event(&list, type);
    event.setFirstRow(first_row);
    event.setLastRow(last_row);
    event.setFirstColumn(first_column);
    event.setLastColumn(last_column);
    NotifyAccessibility(event);
}

int FocusedChild(const CVtListCtrlEx& list)
{
    return AccessibleListCtrl::ChildIndex(list.GetFocusedRow(), list.GetFocusedColumn(), list.GetColumnCount());
}

}  // namespace

namespace list_accessibility {

void RowsInserted(CVtListCtrlEx& list, int first, int last)
{
    SendModelChange(list, QAccessibleTableModelChangeEvent::RowsInserted, first, last, 0, list.GetColumnCount() - 1);
}

void CellsChanged(CVtListCtrlEx& list, int row, int first_column, int last_column)
{
    SendModelChange(list, QAccessibleTableModelChangeEvent::DataChanged, row, row, first_column, last_column);
}

void RowsReset(CVtListCtrlEx& list)
{
    SendModelChange(list, QAccessibleTableModelChangeEvent::ModelReset, 0, list.GetRowCount() - 1, 0,
                    list.GetColumnCount() - 1);
}

void CurrentCellMoved(CVtListCtrlEx& list)
{
    if (list.hasFocus() && list.GetFocusedRow() >= 0)
        NotifyAccessibility(&list, QAccessible::Focus, FocusedChild(list));
}

void SelectionChanged(CVtListCtrlEx& list)
{
    const int row = list.GetSelectedRow();
    NotifyAccessibility(&list, QAccessible::Selection,
                        row >= 0 ? AccessibleListCtrl::ChildIndex(row, 0, list.GetColumnCount()) : -1);
}

}  // namespace list_accessibility

namespace {

AccessibleListCtrl::AccessibleListCtrl(QWidget* list) : QAccessibleWidget(list, QAccessible::Table) {}

CVtListCtrlEx* AccessibleListCtrl::List() const
{
    return static_cast<CVtListCtrlEx*>(widget());
}

QAccessibleInterface* AccessibleListCtrl::Cell(int row, int column) const
{
    const CVtListCtrlEx* list = List();
    if (column < 0 || column >= list->GetColumnCount() || row < -1 || row >= list->GetRowCount())
        return nullptr;
    return cells_.Get(ChildIndex(row, column, list->GetColumnCount()),
                      [&] { return new AccessibleListCell(List(), row, column); });
}

QString AccessibleListCtrl::text(QAccessible::Text t) const
{
    const CVtListCtrlEx* list = List();
    if (t == QAccessible::Description && list->GetRowCount() == 0 && !list->GetEmptyText().isEmpty())
        return list->GetEmptyText();
    return QAccessibleWidget::text(t);
}

int AccessibleListCtrl::childCount() const
{
    return (rowCount() + 1) * columnCount();
}

QAccessibleInterface* AccessibleListCtrl::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    return Cell(index / columns - 1, index % columns);
}

int AccessibleListCtrl::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const AccessibleListCell*>(child);
    if (cell == nullptr || cell->List() != List() || !cell->isValid())
        return -1;
    return ChildIndex(cell->rowIndex(), cell->columnIndex(), columnCount());
}

QAccessibleInterface* AccessibleListCtrl::childAt(int x, int y) const
{
    const CVtListCtrlEx* list = List();
    const CHeaderCtrlEx* header = list->GetHeaderCtrl();
    const QPoint in_header = header->viewport()->mapFromGlobal(QPoint(x, y));
    if (header->viewport()->rect().contains(in_header))
        return Cell(-1, header->logicalIndexAt(in_header.x()));
    const QPoint in_rows = list->viewport()->mapFromGlobal(QPoint(x, y));
    if (!list->viewport()->rect().contains(in_rows))
        return nullptr;
    const int row = list->GetFirstVisibleRow() + in_rows.y() / list->GetRowHeight();
    return Cell(row, header->logicalIndexAt(in_rows.x()));
}

QAccessibleInterface* AccessibleListCtrl::focusChild() const
{
    const CVtListCtrlEx* list = List();
    return list->hasFocus() ? Cell(list->GetFocusedRow(), list->GetFocusedColumn()) : nullptr;
}

void* AccessibleListCtrl::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* AccessibleListCtrl::cellAt(int row, int column) const
{
    return row < 0 ? nullptr : Cell(row, column);
}

int AccessibleListCtrl::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> AccessibleListCtrl::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column)
            cells.append(Cell(row, column));
    }
    return cells;
}

QString AccessibleListCtrl::columnDescription(int column) const
{
    return List()->GetColumnLabel(column);
}

int AccessibleListCtrl::selectedRowCount() const
{
    return static_cast<int>(selectedRows().size());
}

int AccessibleListCtrl::columnCount() const
{
    return List()->GetColumnCount();
}

int AccessibleListCtrl::rowCount() const
{
    return List()->GetRowCount();
}

QList<int> AccessibleListCtrl::selectedRows() const
{
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (List()->IsRowSelected(row))
            rows.append(row);
    }
    return rows;
}

bool AccessibleListCtrl::isRowSelected(int row) const
{
    return List()->IsRowSelected(row);
}

bool AccessibleListCtrl::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    List()->SelectRow(row, true);
    return true;
}

bool AccessibleListCtrl::unselectRow(int row)
{
    if (!isRowSelected(row))
        return false;
    List()->DeselectRow(row);
    return true;
}

void AccessibleListCtrl::modelChange(QAccessibleTableModelChangeEvent* event)
{
    // Cells stand for places, not rows: only a change of the cells' texts leaves every place as it was.
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
        cells_.Forget();
}

}  // namespace

QAccessibleInterface* NewAccessibleListCtrl(QWidget* list)
{
    return new AccessibleListCtrl(list);
}
