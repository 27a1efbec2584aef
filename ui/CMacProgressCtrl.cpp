#include "ui/CMacProgressCtrl.h"

#include "ui/draw_helpers.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

QColor System(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(role);
}

QColor Shade(const QColor& colour, int delta)
{
    auto channel = [delta](int value) { return std::clamp(value + delta, 0, 255); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

}  // namespace

CMacProgressCtrl::CMacProgressCtrl(QWidget* parent)
    : QProgressBar(parent),
      track_colour_(System(QPalette::Mid)),
      background_colour_(System(QPalette::Button)),
      text_colour_(System(QPalette::ButtonText)),
      marquee_colours_{System(QPalette::Button), QColor(64, 212, 32)}
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setTextVisible(false);
    QProgressBar::setRange(0, 100);
    QProgressBar::setValue(0);
    ComputeShades();
    marquee_timer_.setInterval(kMarqueeIntervalMs);
    marquee_timer_.setTimerType(Qt::PreciseTimer);
    connect(&marquee_timer_, &QTimer::timeout, this, &CMacProgressCtrl::StepMarquee);
}

void CMacProgressCtrl::SetRange(int minimum, int maximum)
{
    // A zero-width range stays a range here: it shows an empty bar, not a busy indicator.
    QProgressBar::setRange(minimum, std::max(minimum, maximum));
    if (auto_hide_)
        show();
    update();
}

void CMacProgressCtrl::SetPos(int position)
{
    QProgressBar::setValue(std::clamp(position, minimum(), maximum()));
    update();
}

void CMacProgressCtrl::StepIt()
{
    SetPos(value() + 1);
    repaint();
    ApplyAutoHide();
}

void CMacProgressCtrl::ApplyAutoHide()
{
    if (auto_hide_ && (value() >= maximum() || value() < 0))
        hide();
}

void CMacProgressCtrl::SetBarColor(const QColor& colour)
{
    bar_colour_ = colour;
    track_colour_ = QColor(255, 255, 255);
    ComputeShades();
    repaint();
}

void CMacProgressCtrl::SetBarColorOnly(const QColor& colour)
{
    bar_colour_ = colour;
    ComputeShades();
    update();
}

void CMacProgressCtrl::SetTextColors(const QColor& first, const QColor& second, bool two_colours)
{
    text_colour_ = first;
    second_text_colour_ = second;
    two_text_colours_ = two_colours;
    update();
}

void CMacProgressCtrl::SetMarquee(bool on)
{
    marquee_ = on;
    if (on) {
        // A second start restarts the block from the left edge; there is only ever one stepper.
        marquee_position_ = 0;
        shaded_ = false;
        repaint();
        marquee_timer_.start();
    } else {
        marquee_timer_.stop();
        update();
    }
}

void CMacProgressCtrl::ComputeShades()
{
    // Each lighter shade builds on the previous one, each step capped at 255.
    shades_[0] = Shade(bar_colour_, 51);
    shades_[1] = Shade(shades_[0], 51);
    shades_[2] = Shade(shades_[1], 51);
    shades_[3] = Shade(bar_colour_, -51);
    shades_[4] = Shade(shades_[3], -51);
}

int CMacProgressCtrl::BarEnd() const
{
    const int range = maximum() - minimum();
    const bool vertical = orientation() == Qt::Vertical;
    if (range <= 0)
        return vertical ? height() : 0;
    const float fraction = static_cast<float>(value() - minimum()) / static_cast<float>(range);
    if (vertical)
        return height() - static_cast<int>(static_cast<float>(height()) * fraction);
    return static_cast<int>(static_cast<float>(width()) * fraction);
}

void CMacProgressCtrl::StepMarquee()
{
    if (!marquee_) {
        marquee_timer_.stop();
        return;
    }
    const double overshoot = kMarqueeBlockWidth / 1.1;
    if (marquee_forward_) {
        marquee_position_ += kMarqueeStep;
        if (marquee_position_ > width() + overshoot) {
            marquee_forward_ = false;
            std::reverse(marquee_colours_.begin(), marquee_colours_.end());
        }
    } else {
        marquee_position_ -= kMarqueeStep;
        if (marquee_position_ < 0 - overshoot) {
            marquee_forward_ = true;
            std::reverse(marquee_colours_.begin(), marquee_colours_.end());
        }
    }
    repaint();
}

void CMacProgressCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (marquee_)
        PaintMarquee(painter);
    else
        PaintPosition(painter);
    if (show_text_)
        PaintText(painter);
    if (border_) {
        painter.setPen(border_colour_);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CMacProgressCtrl::PaintPosition(QPainter& painter)
{
    const int end = BarEnd();
    if (orientation() == Qt::Vertical) {
        painter.fillRect(QRect(0, end, width(), height() - end), bar_colour_);
        return;
    }
    if (style_ == 1) {
        // A round-capped track and a flat-capped bar, as thick as the band, along its middle.
        painter.fillRect(rect(), background_colour_);
        painter.setRenderHint(QPainter::Antialiasing);
        const double middle = height() / 2.0;
        const double half = height() / 2.0;
        painter.setPen(QPen(track_colour_, height(), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(half, middle), QPointF(width() - half, middle));
        if (end > 0) {
            painter.setPen(QPen(bar_colour_, height(), Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(0, middle), QPointF(end, middle));
        }
        return;
    }
    painter.fillRect(rect(), track_colour_);
    if (end == 0)
        return;
    const QRect bar(0, 0, end, height());
    painter.fillRect(bar, bar_colour_);
    if (shaded_ && height() >= 4) {
        // A raised look: light lines above the middle, dark ones below.
        painter.setPen(shades_[2]);
        painter.drawLine(0, 0, end - 1, 0);
        painter.setPen(shades_[1]);
        painter.drawLine(0, 1, end - 1, 1);
        painter.setPen(shades_[0]);
        painter.drawLine(0, 2, end - 1, 2);
        painter.setPen(shades_[3]);
        painter.drawLine(0, height() - 2, end - 1, height() - 2);
        painter.setPen(shades_[4]);
        painter.drawLine(0, height() - 1, end - 1, height() - 1);
    }
}

void CMacProgressCtrl::PaintMarquee(QPainter& painter)
{
    const int left = marquee_forward_ ? marquee_position_ - kMarqueeBlockWidth : marquee_position_;
    FillHorizontalGradient(painter, QRect(left, 0, kMarqueeBlockWidth, height()), marquee_colours_);
}

void CMacProgressCtrl::PaintText(QPainter& painter)
{
    const int range = maximum() - minimum();
    const int p = value();
    QString text;
    if (text_mode_ == 0)
        text = QString::asprintf("%.1f %%", range > 0 ? static_cast<double>(p) / range * 100.0 : 0.0);
    else
        text = QString::asprintf("%d / %d", p, range);
    painter.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (!two_text_colours_) {
        painter.setPen(text_colour_);
        painter.drawText(rect(), flags, text);
        return;
    }
    const int end = BarEnd();
    painter.save();
    painter.setClipRect(QRect(0, 0, end, height()));
    painter.setPen(text_colour_);
    painter.drawText(rect(), flags, text);
    painter.setClipRect(QRect(end, 0, width() - end, height()));
    painter.setPen(second_text_colour_);
    painter.drawText(rect(), flags, text);
    painter.restore();
}

void CMacProgressCtrl::PickPosition(const QPoint& point)
{
    if (!seekable_ || width() <= 0)
        return;
    const int range = maximum() - minimum();
    const int position = minimum() + static_cast<int>(static_cast<double>(std::clamp(point.x(), 0, width())) * range / width());
    SetPos(position);
    emit positionPicked(value());
}

void CMacProgressCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PickPosition(event->position().toPoint());
    QProgressBar::mousePressEvent(event);
}

void CMacProgressCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) != 0)
        PickPosition(event->position().toPoint());
    QProgressBar::mouseMoveEvent(event);
}
