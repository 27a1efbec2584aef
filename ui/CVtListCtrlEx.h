#pragma once

#include "ui/CSCColorTheme.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CHeaderCtrlEx;
class QSettings;

// Marks a cell colour as unset: the row's state and the theme decide. Never drawn.
inline constexpr ARGB kNoColor = 0xFF11EB35;

// A report-style list that keeps its rows itself and draws them: built for large, frequently updated
// tables with per-cell colours, header sorting and a message while empty. Only the visible rows are
// painted, so painting costs the same whatever the row count.
class CVtListCtrlEx : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum ColumnType { kColumnText = 1, kColumnBar = 4, kColumnBlocks = 5, kColumnPercent = 6 };
    enum ColumnAlignment { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };
    enum SortState { kNeverSorted = -1, kAscending = 0, kDescending = 1 };

    // Above this many rows single-cell updates are ignored: a bulk table is not edited cell by cell.
    static constexpr int kMaxEditableRows = 10000;
    static constexpr int kMaxFontFaceLength = 31;

    explicit CVtListCtrlEx(QWidget* parent = nullptr);
    ~CVtListCtrlEx() override;

    // --- set-up ---
    // "label,width;label,width;..." — stops at the first pair without a comma. Returns the column count.
    int SetColumns(const QString& text);
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }
    QString GetColumnLabel(int column) const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    // Column -1 means every column.
    void SetColumnAlignment(int column, int alignment);
    int GetColumnAlignment(int column) const;
    void SetColumnType(int column, int type);
    void SetColumnEditable(int column, bool editable);
    int GetColumnSortState(int column) const;

    // 0 does nothing; -1 and 1 step the size by one point (4..40); anything else sets it.
    void SetFontSize(int points);
    // From the font's height: -height * 72 / vertical pixels per inch.
    int GetFontPointSize() const;
    // Names longer than 31 characters are refused (false): a cut name would name another font.
    bool SetFontFace(const QString& name);

    // The column that takes up the rest of the list's width (the client width minus the other columns
    // minus 2) whenever the list or another column changes size, so the rows reach the list's right
    // edge; it never becomes narrower than it was when chosen. -1: none (the default).
    void SetAutoFillColumn(int column);
    int GetAutoFillColumn() const { return auto_fill_column_; }

    // Positive widths stored under section + "/column width/<index>" replace the column widths.
    void LoadColumnWidths(const QString& section);
    void LoadColumnWidths(QSettings& settings, const QString& section);

    void SetHeaderHeight(int pixels);
    void SetRowHeight(int pixels);
    int GetRowHeight() const;

    void EnableSort(bool on);
    bool IsSortEnabled() const { return sort_enabled_; }
    void EnableAlternateRows(bool on);
    void EnableHeaderClick(bool on);
    void EnableSelectionFrame(bool on);
    void EnableGridLines(bool top, bool bottom);
    // Selected rows keep their colours while the list has no focus (the tab pages' lists do).
    void SetAlwaysShowSelection(bool on);
    void SetAutoScroll(bool on) { auto_scroll_ = on; }
    bool IsAutoScroll() const { return auto_scroll_; }

    CSCColorTheme& GetColorTheme() { return theme_; }
    void SetThemeColor(int slot, ARGB colour);

    // The message shown centred while the list has no rows.
    void SetEmptyText(const QString& text, int points = 9, ARGB colour = 0xFF696969);
    QString GetEmptyText() const { return empty_text_; }

    CHeaderCtrlEx* GetHeaderCtrl() const { return header_; }

    // --- rows ---
    void DeleteAllRows();
    // index < 0 appends. Returns the new row's index, or -1 without columns.
    int InsertItem(int index, const QString& text, int image = -1, bool scroll_into_view = true, bool redraw = true);
    // Splits at every separator, empty pieces kept; pieces beyond the column count are dropped.
    int AddRow(int index, const QString& text, const QString& separator, int image = -1, bool scroll_into_view = true,
               bool redraw = true);
    // One row per line feed; reset clears the list first.
    void AddRowsFromText(const QString& text, const QString& separator, bool reset);
    void SetItemText(int row, int column, const QString& text, bool redraw = true);
    QString GetItemText(int row, int column) const;
    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    void SetItemData(int row, std::uint32_t data);
    std::uint32_t GetItemData(int row) const;
    bool GetCheck(int row) const;

    // Row -1 means every row, column -1 every column.
    void SetCellTextColor(int row, int column, ARGB colour);
    void SetCellBackColor(int row, int column, ARGB colour);
    ARGB GetCellTextColor(int row, int column) const;
    ARGB GetCellBackColor(int row, int column) const;

    // Scrolls so that the row becomes the last fully visible row.
    void ScrollToRow(int row);
    void EnsureVisible(int row);
    int GetFirstVisibleRow() const;
    int GetRowsPerPage() const;

    // First row whose first cell equals the text, ignoring case; -1 when none.
    int FindItem(const QString& text) const;

    // --- selection ---
    void SelectRow(int row, bool only = true);
    void DeselectRow(int row);
    void SelectAll();
    void ClearSelection();
    bool IsRowSelected(int row) const;
    int GetSelectedRow() const;
    int GetFocusedRow() const { return focused_row_; }
    // The column the keyboard is on (Left and Right move it); a screen reader reads its cell.
    int GetFocusedColumn() const { return focused_column_; }
    void SetFocusedColumn(int column);

    // What a header click on the column does (Ctrl = by text colour).
    void SortByColumn(int column, bool by_text_colour);

    // The colours a cell is painted with in its current state.
    struct CellColors {
        ARGB text;
        ARGB back;
    };
    CellColors ResolveCellColors(int row, int column) const;
    // The cell's rectangle in viewport coordinates.
    QRect GetCellRect(int row, int column) const;

signals:
    void RowSelected(int row);
    void RowDoubleClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The keyboard's context menu sorts, as a header click does.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Row {
        QStringList texts;
        // Empty until a colour is set: most rows never get one, and 100,000 rows stay cheap.
        std::vector<ARGB> text_colours;
        std::vector<ARGB> back_colours;
        int image = -1;
        int column_count = 0;
        bool checked = false;
        bool selected = false;
        std::uint32_t user_data = 0;
    };
    struct Column {
        int type = kColumnText;
        int alignment = kAlignLeft;
        int sort_state = kNeverSorted;
        bool editable = false;
    };

    int AddRowPieces(int index, QStringView text, QStringView separator, int image, bool scroll_into_view,
                     bool redraw);
    bool ValidRow(int row) const { return row >= 0 && row < GetRowCount(); }
    bool ValidColumn(int column) const { return column >= 0 && column < GetColumnCount(); }
    void SetCellColor(int row, int column, ARGB colour, bool text);
    ARGB CellColor(int row, int column, bool text) const;
    void ApplyFont(const QFont& font);
    void UpdateGeometries();
    void FillAutoFillColumn();
    int ContentWidth() const;
    int RowAt(int y) const;
    int RowTop(int row) const;
    void PaintRow(QPainter& painter, int row, const QRect& clip) const;
    void PaintEmptyText(QPainter& painter) const;
    void PaintFocusMark(QPainter& painter) const;
    int InsertRow(int index, const QString& text, int image);
    void ShowInsertedRow(int row, bool scroll_into_view, bool redraw);
    void ShowSortMenu();
    void OnHeaderClicked(int column, Qt::KeyboardModifiers modifiers);
    void SortRows(int column, int state, bool by_text_colour);
    void SetFocusedRow(int row);
    void MoveFocus(int row);
    void OnRowSelected(int row);
    bool TypeAhead(const QString& text);

    CHeaderCtrlEx* header_;
    CSCColorTheme theme_;
    std::vector<Row> rows_;
    std::vector<Column> columns_;
    int row_height_ = 0;  // 0: from the font
    int auto_fill_column_ = -1;
    int auto_fill_min_width_ = 0;
    bool auto_scroll_ = true;
    bool sort_enabled_ = true;
    bool alternate_rows_ = false;
    bool selection_frame_ = true;
    bool grid_top_ = false;
    bool grid_bottom_ = false;
    bool always_show_selection_ = true;
    ARGB grid_colour_ = 0xFFD3D3D3;
    QString empty_text_;
    int empty_text_points_ = 9;
    ARGB empty_text_colour_ = 0xFF696969;
    int focused_row_ = -1;
    int focused_column_ = 0;
    bool bulk_ = false;  // AddRowsFromText: geometry and repaint once at the end
    QString type_ahead_;
    QElapsedTimer type_ahead_timer_;
};
