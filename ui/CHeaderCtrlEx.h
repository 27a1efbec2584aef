#pragma once

#include "ui/CSCColorTheme.h"

#include <QHeaderView>

#include <vector>

class QStandardItemModel;

// Qt alignment for the list's column alignment codes (0 left, 1 right, 2 centred), vertically centred.
Qt::Alignment ColumnAlignmentFlags(int alignment);

// The list control's self-drawn header. Qt's header view keeps the column geometry and the divider
// dragging; this class paints every item and decides which presses count as clicks.
class CHeaderCtrlEx : public QHeaderView {
    Q_OBJECT

public:
    static constexpr ARGB kDefaultBackColor = 0xFFFFF7E1;
    static constexpr ARGB kDefaultTextColor = 0xFF202020;
    static constexpr ARGB kDefaultSortIndicatorColor = 0xFFA9A9A9;

    explicit CHeaderCtrlEx(QWidget* parent = nullptr);

    // Columns: labels and alignment (0 left, 1 right, 2 centred) per logical column.
    void SetColumnLabels(const QStringList& labels);
    QString GetColumnLabel(int column) const;
    void SetItemAlignment(int column, int alignment);
    int GetItemAlignment(int column) const;

    void SetHeaderHeight(int pixels);
    int GetHeaderHeight() const { return header_height_; }

    void SetBackColor(ARGB colour);
    ARGB GetBackColor() const { return back_colour_; }
    void SetTextColor(ARGB colour);
    void SetSortIndicatorColor(ARGB colour);
    void EnableSeparators(bool on);

    // Clickable items show a pressed look and report clicks; otherwise presses away from the dividers
    // are swallowed, so the dividers still drag.
    void SetItemsClickable(bool on);
    bool AreItemsClickable() const { return clickable_; }

    // Chevron on one column: descending when true. Column -1 hides it.
    void SetSortIndicator(int column, bool descending);
    int GetSortColumn() const { return sort_column_; }
    bool IsSortDescending() const { return sort_descending_; }

    int GetPressedItem() const { return pressed_item_; }

    QSize sizeHint() const override;

signals:
    // A press and release on the same clickable item; modifiers as held at the release.
    void ItemClicked(int column, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect ItemRect(int logical) const;
    int ItemAt(int x) const;
    void PaintItem(QPainter& painter, int logical, const QColor& text_colour) const;
    void PaintChevron(QPainter& painter, const QRect& item) const;

    QStandardItemModel* labels_;
    std::vector<int> alignments_;
    int header_height_ = 16;
    ARGB back_colour_ = kDefaultBackColor;
    ARGB text_colour_ = kDefaultTextColor;
    ARGB sort_indicator_colour_ = kDefaultSortIndicatorColor;
    bool separators_ = true;
    bool clickable_ = true;
    int sort_column_ = -1;
    bool sort_descending_ = true;
    int pressed_item_ = -1;
};
