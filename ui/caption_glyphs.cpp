#include "ui/caption_glyphs.h"

#include <QPainter>

void DrawCaptionGlyph(QPainter& painter, int command, QPointF centre, const QColor& pen, bool window_maximized,
                      const QColor& restore_fill)
{
    const double cx = centre.x();
    const double cy = centre.y();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pen, 1.5));
    painter.setBrush(Qt::NoBrush);
    switch (command) {
    case kCommandMinimize:
        painter.drawLine(QPointF(cx - 5, cy + 3), QPointF(cx + 5, cy + 3));
        break;
    case kCommandMaximize:
        if (!window_maximized) {
            painter.drawRect(QRectF(cx - 5, cy - 6, 10, 10));
        } else {
            painter.drawRect(QRectF(cx - 3, cy - 5, 8, 8));
            painter.setBrush(restore_fill);
            painter.drawRect(QRectF(cx - 6, cy - 2, 8, 8));
        }
        break;
    case kCommandClose:
        painter.drawLine(QPointF(cx - 5, cy - 6), QPointF(cx + 5, cy + 4));
        painter.drawLine(QPointF(cx - 5, cy + 4), QPointF(cx + 5, cy - 6));
        break;
    default:
        break;
    }
    painter.restore();
}
