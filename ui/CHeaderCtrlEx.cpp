#include "ui/CHeaderCtrlEx.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>

Qt::Alignment ColumnAlignmentFlags(int alignment)
{
    switch (alignment) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

namespace {

constexpr int kLabelInset = 6;       // label and click area, left and right
constexpr int kDividerMargin = 2;    // presses this close to a divider still resize a column
constexpr int kEdgeDelta = 48;       // sunken edges and separators

}  // namespace

CHeaderCtrlEx::CHeaderCtrlEx(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), labels_(new QStandardItemModel(this))
{
    setModel(labels_);
    // Qt's own click handling stays off: this class decides what a click is.
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFixedHeight(header_height_);
}

void CHeaderCtrlEx::SetColumnLabels(const QStringList& labels)
{
    labels_->setColumnCount(static_cast<int>(labels.size()));
    labels_->setHorizontalHeaderLabels(labels);
    alignments_.assign(static_cast<std::size_t>(labels.size()), 0);
    viewport()->update();
}

QString CHeaderCtrlEx::GetColumnLabel(int column) const
{
    return labels_->headerData(column, Qt::Horizontal).toString();
}

void CHeaderCtrlEx::SetItemAlignment(int column, int alignment)
{
    if (column < 0 || column >= static_cast<int>(alignments_.size()))
        return;
    alignments_[static_cast<std::size_t>(column)] = alignment;
    viewport()->update();
}

int CHeaderCtrlEx::GetItemAlignment(int column) const
{
    if (column < 0 || column >= static_cast<int>(alignments_.size()))
        return 0;
    return alignments_[static_cast<std::size_t>(column)];
}

void CHeaderCtrlEx::SetHeaderHeight(int pixels)
{
    header_height_ = std::max(0, pixels);
    setFixedHeight(header_height_);
    updateGeometry();
}

QSize CHeaderCtrlEx::sizeHint() const
{
    return {QHeaderView::sizeHint().width(), header_height_};
}

void CHeaderCtrlEx::SetBackColor(ARGB colour)
{
    back_colour_ = colour;
    viewport()->update();
}

void CHeaderCtrlEx::SetTextColor(ARGB colour)
{
    text_colour_ = colour;
    viewport()->update();
}

void CHeaderCtrlEx::SetSortIndicatorColor(ARGB colour)
{
    sort_indicator_colour_ = colour;
    viewport()->update();
}

void CHeaderCtrlEx::EnableSeparators(bool on)
{
    separators_ = on;
    viewport()->update();
}

void CHeaderCtrlEx::SetItemsClickable(bool on)
{
    clickable_ = on;
    pressed_item_ = -1;
    viewport()->update();
}

void CHeaderCtrlEx::SetSortIndicator(int column, bool descending)
{
    sort_column_ = column;
    sort_descending_ = descending;
    viewport()->update();
}

QRect CHeaderCtrlEx::ItemRect(int logical) const
{
    return {sectionViewportPosition(logical), 0, sectionSize(logical), height() - 1};
}

int CHeaderCtrlEx::ItemAt(int x) const
{
    return logicalIndexAt(x);
}

void CHeaderCtrlEx::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // A disabled window shows its header greyed out.
    const bool enabled = parentWidget() == nullptr || parentWidget()->isEnabled();
    const QColor back = enabled ? ToPlatformColor(back_colour_) : QColor(164, 164, 164);
    const QColor text = enabled ? ToPlatformColor(text_colour_) : palette().color(QPalette::Disabled, QPalette::Text);
    painter.fillRect(viewport()->rect(), back);
    painter.setFont(font());
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (!isSectionHidden(logical))
            PaintItem(painter, logical, text);
    }
}

void CHeaderCtrlEx::PaintItem(QPainter& painter, int logical, const QColor& text_colour) const
{
    const QRect item = ItemRect(logical);
    if (item.right() < 0 || item.left() > viewport()->width())
        return;
    const bool pressed = logical == pressed_item_;
    QRect label = item.adjusted(kLabelInset, 0, -kLabelInset, 0);
    if (pressed) {
        const QColor light = ToPlatformColor(AdjustColor(back_colour_, kEdgeDelta));
        const QColor dark = ToPlatformColor(AdjustColor(back_colour_, -kEdgeDelta));
        painter.setPen(dark);
        painter.drawLine(item.topLeft(), item.topRight());
        painter.drawLine(item.topLeft(), item.bottomLeft());
        painter.setPen(light);
        painter.drawLine(item.bottomLeft(), item.bottomRight());
        painter.drawLine(item.topRight(), item.bottomRight());
        label.translate(1, 1);
    } else if (separators_) {
        painter.setPen(ToPlatformColor(AdjustColor(back_colour_, -kEdgeDelta)));
        painter.drawLine(item.right(), item.top() + 3, item.right(), item.bottom() - 4);
    }
    painter.setPen(text_colour);
    painter.drawText(label, static_cast<int>(ColumnAlignmentFlags(GetItemAlignment(logical)) | Qt::TextSingleLine),
                     GetColumnLabel(logical));
    if (logical == sort_column_)
        PaintChevron(painter, item);
}

void CHeaderCtrlEx::PaintChevron(QPainter& painter, const QRect& item) const
{
    const int cx = item.left() + item.width() / 2;
    const int top = item.top();
    painter.setPen(ToPlatformColor(sort_indicator_colour_));
    if (sort_descending_) {
        painter.drawLine(cx - 4, top + 2, cx, top + 5);
        painter.drawLine(cx, top + 5, cx + 4, top + 2);
    } else {
        painter.drawLine(cx - 4, top + 4, cx, top + 1);
        painter.drawLine(cx, top + 1, cx + 4, top + 4);
    }
}

void CHeaderCtrlEx::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int x = event->position().toPoint().x();
        const int logical = ItemAt(x);
        if (logical >= 0) {
            const QRect item = ItemRect(logical);
            if (clickable_) {
                if (x >= item.left() + kLabelInset && x <= item.right() - kLabelInset) {
                    pressed_item_ = logical;
                    viewport()->update();
                    return;
                }
            } else if (x > item.left() + kDividerMargin && x < item.right() - kDividerMargin) {
                return;  // swallowed: only the dividers react
            }
        }
    }
    QHeaderView::mousePressEvent(event);
}

void CHeaderCtrlEx::mouseReleaseEvent(QMouseEvent* event)
{
    if (pressed_item_ >= 0 && event->button() == Qt::LeftButton) {
        const int pressed = pressed_item_;
        pressed_item_ = -1;
        viewport()->update();
        if (ItemAt(event->position().toPoint().x()) == pressed)
            emit ItemClicked(pressed, event->modifiers());
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}
