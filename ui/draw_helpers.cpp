#include "ui/draw_helpers.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

QPainterPath RoundedShape(const QRect& rect, int corner)
{
    // Pixel centres: a coordinate x means the middle of pixel column x.
    const double x = rect.x() + 0.5;
    const double y = rect.y() + 0.5;
    const int w = rect.width();
    const int h = rect.height();
    QPainterPath path;
    if (corner <= 0) {
        path.addRect(QRectF(x, y, w, h));
        return path;
    }
    const int b = std::min(corner, std::min(w, h) / 2);
    if (b <= 0) {
        path.addRect(QRectF(x, y, w, h));
        return path;
    }
    // Qt measures arc angles counter-clockwise, so each corner's start and sweep are negated.
    path.arcMoveTo(QRectF(x, y, b, b), 180);
    path.arcTo(QRectF(x, y, b, b), 180, -90);
    path.arcTo(QRectF(x + w - b - 1, y, b, b), 90, -90);
    path.arcTo(QRectF(x + w - b - 1, y + h - b - 1, b, b), 0, -90);
    path.arcTo(QRectF(x, y + h - b - 1, b, b), -90, -90);
    path.closeSubpath();
    return path;
}

}  // namespace

QPainterPath RoundedFillShape(const QRect& rect, int radius)
{
    return RoundedShape(rect, radius);
}

QPainterPath RoundedOutlineShape(const QRect& rect, int radius)
{
    return RoundedShape(rect, radius > 0 ? 2 * radius : radius);
}

void DrawRoundedOutline(QPainter& painter, const QRect& rect, int radius, ARGB colour, int width)
{
    painter.save();
    painter.setPen(QPen(ToQColorWithAlpha(colour), 1.0));
    painter.setBrush(Qt::NoBrush);
    QRect shape = rect;
    for (int i = 0; i < std::max(width, 1); ++i) {
        painter.drawPath(RoundedOutlineShape(shape, radius));
        shape.adjust(1, 1, -1, -1);
    }
    painter.restore();
}

QRect AspectFitRect(int picture_width, int picture_height, const QRect& target)
{
    const int l = target.left();
    const int t = target.top();
    const int r = target.left() + target.width();
    const int b = target.top() + target.height();
    if (r - l <= 0 || b - t <= 0 || picture_width <= 0 || picture_height <= 0)
        return {};
    const double ratio = static_cast<double>(picture_width) / picture_height;
    const double goal = static_cast<double>(r - l) / (b - t);
    if ((ratio <= 1 && goal > ratio) || (ratio > 1 && goal >= ratio)) {
        const int o = static_cast<int>((b - t) * ratio);
        const int left = static_cast<int>((r - l - o) * 0.5 + l);
        return QRect(left, t, o, b - t);
    }
    const int o = static_cast<int>((r - l) / ratio);
    const int top = static_cast<int>((b - t - o) * 0.5 + t);
    return QRect(l, top, r - l, o);
}

void FillHorizontalGradient(QPainter& painter, const QRect& rect, std::vector<QColor> colours)
{
    if (rect.isEmpty() || colours.empty())
        return;
    if (colours.size() == 1)
        colours.push_back(QGuiApplication::palette().color(QPalette::Button));
    const int parts = static_cast<int>(colours.size()) - 1;
    for (int i = 0; i < parts; ++i) {
        const int left = rect.left() + rect.width() * i / parts;
        const int right = rect.left() + rect.width() * (i + 1) / parts;
        if (right <= left)
            continue;
        QLinearGradient gradient(left, 0, right, 0);
        gradient.setColorAt(0, colours[static_cast<std::size_t>(i)]);
        gradient.setColorAt(1, colours[static_cast<std::size_t>(i) + 1]);
        painter.fillRect(QRect(left, rect.top(), right - left, rect.height()), gradient);
    }
}

int font_height(const QWidget* widget, int points)
{
    const int dpi = widget != nullptr ? widget->logicalDpiY() : 96;
    // Rounded like MulDiv: half away from zero.
    return -static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0));
}

void Draw3dEdge(QPainter& painter, const QRect& rect, bool sunken)
{
    const QColor top_left = sunken ? QColor(160, 160, 160) : QColor(Qt::white);
    const QColor bottom_right = sunken ? QColor(Qt::white) : QColor(128, 128, 128);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), top_left);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), top_left);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottom_right);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottom_right);
    painter.restore();
}
