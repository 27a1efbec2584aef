#include "ui/CEnTabCtrl.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<int> g_look_flags{0};

QColor ButtonFace()
{
    return QGuiApplication::palette().color(QPalette::Button);
}

// Per channel, truncated; factors above 1 clamp at 255.
QColor Scaled(const QColor& colour, double factor)
{
    auto channel = [factor](int value) { return std::min(255, static_cast<int>(value * factor)); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

CEnTabCtrl* OwnerOf(const QWidget* bar)
{
    return qobject_cast<CEnTabCtrl*>(bar->parentWidget());
}

}  // namespace

CEnTabBar::CEnTabBar(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideRight);
}

void CEnTabBar::SetItemSize(const QSize& size)
{
    item_size_ = size;
    updateGeometry();
    update();
}

void CEnTabBar::SetMinTabWidth(int width)
{
    min_tab_width_ = width;
    updateGeometry();
    update();
}

QSize CEnTabBar::tabSizeHint(int index) const
{
    QSize size = item_size_.isValid() && !item_size_.isEmpty() ? item_size_ : QTabBar::tabSizeHint(index);
    size.setWidth(std::max(size.width(), min_tab_width_));
    size.setHeight(size.height() + 2);  // room for the raised selected item
    return size;
}

QSize CEnTabBar::minimumTabSizeHint(int index) const
{
    QSize size = tabSizeHint(index);
    size.setWidth(std::max(min_tab_width_, 1));
    return size;
}

QRect CEnTabBar::ItemRect(int index) const
{
    const QRect slot = tabRect(index);
    if (index != currentIndex())
        return slot.adjusted(0, 2, 0, -2);
    // The raised selected item overlaps its neighbours by 2 pixels, but not past the strip's end,
    // where its right side would be lost.
    QRect raised = slot.adjusted(index == 0 ? 0 : -2, 0, 2, -2);
    if (width() > 0)
        raised.setRight(std::min(raised.right(), width() - 1));
    return raised;
}

int CEnTabBar::PaneTopRow() const
{
    const CEnTabCtrl* owner = OwnerOf(this);
    return owner != nullptr ? owner->PaneRect().top() - pos().y() : height() - 2;
}

void CEnTabBar::paintEvent(QPaintEvent* event)
{
    const CEnTabCtrl* owner = OwnerOf(this);
    if (owner == nullptr || CEnTabCtrl::LookFlags() == 0) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QColor base = owner->BaseColor();
    const QColor frame = owner->FrameColor();
    // The strips around the items in the base colour; the page area below is the pages' own.
    QRect items;
    for (int i = 0; i < count(); ++i)
        items = items.united(ItemRect(i));
    const QRect client = rect();
    painter.fillRect(QRect(client.left(), client.top(), client.width(), items.top() - client.top()), base);
    painter.fillRect(QRect(client.left(), client.top(), 2, items.height() + 2), base);
    const int right_strip = client.left() + items.width() + 2;
    painter.fillRect(QRect(right_strip, client.top(), client.right() + 1 - right_strip, items.height() + 2), base);
    // The part of the pages' frame that runs through the strip.
    painter.setPen(frame);
    painter.drawRect(owner->PaneRect().translated(-pos()).adjusted(0, 0, -1, -1));

    // Unselected items first, so the raised selected one lies over its neighbours. Every item is
    // outlined; the unselected ones stop above the frame's top line, the selected one covers it
    // between its sides, so that it opens into its page.
    const int line = PaneTopRow();
    const int selected = currentIndex();
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count(); ++i) {
            const bool is_selected = i == selected;
            if (is_selected != (pass == 1))
                continue;
            const QRect r = ItemRect(i);
            // Windows-style rectangles: right and bottom are exclusive.
            const int right = r.left() + r.width();
            const int bottom = r.top() + r.height();
            const int face_height = (is_selected ? line + 1 : line) - r.top();
            painter.fillRect(QRect(r.left(), r.top(), r.width(), face_height), owner->TabColor(is_selected));
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), frame);
            painter.fillRect(QRect(r.left(), r.top(), 1, face_height), frame);
            // Neighbours share one dividing line: an unselected item draws its right side only at the
            // strip's end.
            const bool last = i + 1 == count() || tabRect(i + 1).left() != tabRect(i).right() + 1;
            if (is_selected || last)
                painter.fillRect(QRect(right - 1, r.top(), 1, face_height), frame);

            QRect text_rect(QPoint(r.left() + 3, r.top() + (is_selected ? 4 : 3)), QPoint(right - 3 - 1, bottom - 1));
            if (!tabIcon(i).isNull()) {
                const QSize icon_size = iconSize();
                painter.drawPixmap(text_rect.topLeft(), tabIcon(i).pixmap(icon_size));
                text_rect.setLeft(text_rect.left() + 19);
            }
            painter.setFont(font());
            painter.setPen(owner->TabTextColor(is_selected));
            const QString shown = fontMetrics().elidedText(tabText(i), Qt::ElideRight, text_rect.width());
            painter.drawText(text_rect, Qt::AlignCenter | Qt::TextSingleLine, shown);
            if (is_selected && hasFocus())
                PaintFocusMark(painter, text_rect, shown);
        }
    }
}

void CEnTabBar::PaintFocusMark(QPainter& painter, const QRect& text_rect, const QString& shown) const
{
    // Dotted, around the selected item's label, where the keyboard is.
    QRect mark = fontMetrics().boundingRect(text_rect, Qt::AlignCenter | Qt::TextSingleLine, shown);
    mark = mark.adjusted(-3, -1, 2, 0).intersected(text_rect.adjusted(-2, -2, 1, 1));
    painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(mark);
}

CEnTabCtrl::CEnTabCtrl(QWidget* parent) : QTabWidget(parent), bar_(new CEnTabBar(this))
{
    setTabBar(bar_);
    setDocumentMode(false);
}

void CEnTabCtrl::EnableCustomLook(int look_flags)
{
    g_look_flags = look_flags;
}

int CEnTabCtrl::LookFlags()
{
    return g_look_flags;
}

void CEnTabCtrl::SetBkgndColor(const QColor& colour)
{
    background_ = colour;
    bar_->update();
}

void CEnTabCtrl::SetItemSize(const QSize& size)
{
    bar_->SetItemSize(size);
}

void CEnTabCtrl::SetMinTabWidth(int width)
{
    bar_->SetMinTabWidth(width);
}

QRect CEnTabCtrl::GetFirstItemRect() const
{
    if (count() == 0)
        return {};
    return bar_->ItemRect(0).translated(bar_->pos());
}

QColor CEnTabCtrl::BaseColor() const
{
    if ((LookFlags() & kLookUseBackground) != 0 && background_.isValid())
        return background_;
    return ButtonFace();
}

QColor CEnTabCtrl::TabColor(bool selected) const
{
    const int flags = LookFlags();
    if (selected)
        return (flags & kLookBrightSelected) != 0 ? Scaled(BaseColor(), 1.4) : ButtonFace();
    if ((flags & kLookShadeUnselected) != 0 || (flags & kLookColourUnselected) == 0)
        return Scaled(BaseColor(), 0.9);
    return background_.isValid() ? background_ : ButtonFace();
}

QColor CEnTabCtrl::FrameColor() const
{
    return Scaled(BaseColor(), 0.66);
}

QRect CEnTabCtrl::PaneRect() const
{
    // The strip's last two rows overlap the pages' frame, as a tab strip's do.
    const int top = std::max(0, bar_->geometry().bottom() - 1);
    return QRect(0, top, width(), height() - top);
}

void CEnTabCtrl::paintEvent(QPaintEvent* event)
{
    if (LookFlags() == 0) {
        QTabWidget::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), BaseColor());
    painter.setPen(FrameColor());
    painter.drawRect(PaneRect().adjusted(0, 0, -1, -1));
}

QColor CEnTabCtrl::TabTextColor(bool selected) const
{
    if (selected)
        return QGuiApplication::palette().color(QPalette::WindowText);
    const int flags = LookFlags();
    if ((flags & (kLookColourUnselected | kLookUseBackground)) != 0)
        return Scaled(background_.isValid() ? background_ : ButtonFace(), 0.5);
    return Scaled(ButtonFace(), 0.5);
}
