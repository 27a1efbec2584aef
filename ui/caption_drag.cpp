#include "ui/caption_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void CaptionDrag::Begin(QWidget* window, const QMouseEvent* press)
{
    QWindow* handle = window->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        by_hand_ = false;
        return;
    }
    by_hand_ = true;
    offset_ = press->globalPosition().toPoint() - window->pos();
}

bool CaptionDrag::Follow(QWidget* window, const QMouseEvent* move) const
{
    if (!by_hand_ || !(move->buttons() & Qt::LeftButton))
        return false;
    window->move(move->globalPosition().toPoint() - offset_);
    return true;
}
