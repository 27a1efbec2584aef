#include "ui/CSCStepCtrl.h"

#include "ui/accessible_step_list.h"
#include "ui/text_contrast.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>

CSCStepCtrl::CSCStepCtrl(QWidget* parent)
    : QWidget(parent), back_colour_(ToARGB(QGuiApplication::palette().color(QPalette::Button)))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSCStepCtrl::SetStepCount(int count)
{
    const std::size_t old_count = steps_.size();
    steps_.resize(static_cast<std::size_t>(std::max(count, 0)));
    update();
    if (steps_.size() != old_count)
        step_list_accessibility::StepsChanged(*this);
}

void CSCStepCtrl::SetCurrentStep(int index)
{
    const std::vector<StepState> before = States();
    current_ = index;
    update();
    NotifyStateChanges(before);
}

void CSCStepCtrl::SetStepText(int index, const QString& caption, ARGB caption_colour)
{
    if (index < 0 || index >= GetStepCount())
        return;
    Step& step = steps_[static_cast<std::size_t>(index)];
    const bool changed = step.caption != caption;
    step.caption = caption;
    if (caption_colour != kArgbNone)
        step.caption_colour = caption_colour;
    if (changed)
        step_list_accessibility::CaptionChanged(*this, index);
}

void CSCStepCtrl::SetStepOutcome(int index, StepState outcome)
{
    if (index < 0 || index >= GetStepCount())
        return;
    const std::vector<StepState> before = States();
    steps_[static_cast<std::size_t>(index)].outcome =
        outcome == kStepFailed || outcome == kStepStopped ? outcome : kStepPassed;
    NotifyStateChanges(before);
}

CSCStepCtrl::StepState CSCStepCtrl::GetStepState(int index) const
{
    if (index < 0 || index >= GetStepCount())
        return kStepWaiting;
    const StepState outcome = steps_[static_cast<std::size_t>(index)].outcome;
    if (outcome != kStepPassed)
        return outcome;
    return index < current_ ? kStepPassed : index == current_ ? kStepCurrent : kStepWaiting;
}

std::vector<CSCStepCtrl::StepState> CSCStepCtrl::States() const
{
    std::vector<StepState> states;
    for (int c = 0; c < GetStepCount(); ++c)
        states.push_back(GetStepState(c));
    return states;
}

void CSCStepCtrl::NotifyStateChanges(const std::vector<StepState>& before)
{
    for (int c = 0; c < GetStepCount() && c < static_cast<int>(before.size()); ++c) {
        if (GetStepState(c) != before[static_cast<std::size_t>(c)])
            step_list_accessibility::StateChanged(*this, c);
    }
}

void CSCStepCtrl::SetStepFillColor(int index, ARGB colour, ARGB current_colour)
{
    if (index >= GetStepCount())
        return;
    if (index >= 0) {
        steps_[static_cast<std::size_t>(index)].fill = colour;
    } else {
        done_fill_ = colour;
        if (current_colour != kArgbNone)
            current_fill_ = current_colour;
        for (Step& step : steps_)
            step.fill = colour;
    }
    update();
}

void CSCStepCtrl::SetStepTextColor(ARGB colour, ARGB current_colour)
{
    done_caption_ = colour;
    if (current_colour != kArgbNone)
        current_fill_ = current_colour;  // the same slot SetStepFillColor uses
    for (Step& step : steps_)
        step.caption_colour = colour;
    update();
}

void CSCStepCtrl::SetStepShape(int index, int shape)
{
    if (index < 0 || index >= GetStepCount())
        return;
    steps_[static_cast<std::size_t>(index)].shape = shape;
    update();
}

void CSCStepCtrl::ResetStepColors()
{
    const std::vector<StepState> before = States();
    for (Step& step : steps_) {
        step.fill = kArgbNone;
        step.caption_colour = kArgbNone;
        step.outcome = kStepPassed;
    }
    update();
    NotifyStateChanges(before);
}

void CSCStepCtrl::SetHorizontal(bool horizontal)
{
    horizontal_ = horizontal;
    for (Step& step : steps_)
        step.box = QRect();
    update();
}

void CSCStepCtrl::SetShape(int shape)
{
    shape_ = shape;
    update();
}

void CSCStepCtrl::SetDiameter(int diameter)
{
    diameter_ = diameter;
    for (Step& step : steps_)
        step.box = QRect();
    update();
}

void CSCStepCtrl::SetMargins(int left, int top, int right, int bottom)
{
    margin_left_ = left;
    margin_top_ = top;
    margin_right_ = right;
    margin_bottom_ = bottom;
    for (Step& step : steps_)
        step.box = QRect();
    update();
}

void CSCStepCtrl::SetCaptionGap(int gap)
{
    caption_gap_ = gap;
    update();
}

void CSCStepCtrl::SetBackColor(ARGB colour)
{
    back_colour_ = colour;
    update();
}

QString CSCStepCtrl::StepText(int index) const
{
    return index >= 0 && index < GetStepCount() ? steps_[static_cast<std::size_t>(index)].caption : QString();
}

QRect CSCStepCtrl::StepBox(int index) const
{
    return index >= 0 && index < GetStepCount() ? steps_[static_cast<std::size_t>(index)].box : QRect();
}

QRect CSCStepCtrl::StepRect(int index) const
{
    if (index < 0 || index >= GetStepCount())
        return {};
    Step step = steps_[static_cast<std::size_t>(index)];
    if (step.box.isEmpty())
        LayOut(index, step);
    return step.caption.isEmpty() ? step.box : step.box.united(CaptionRect(index, step.box));
}

QFont CSCStepCtrl::CaptionFont(int index) const
{
    QFont caption_font = font();
    caption_font.setWeight(index == current_ ? QFont::Bold : QFont::Normal);
    return caption_font;
}

QRect CSCStepCtrl::CaptionRect(int index, const QRect& b) const
{
    const int w = QFontMetrics(CaptionFont(index)).horizontalAdvance(StepText(index));
    return horizontal_ ? QRect(b.left() + b.width() / 2 - w / 2, b.bottom() + 1 + caption_gap_, w, diameter_)
                       : QRect(b.right() + 1 + caption_gap_, b.top(), w, b.height());
}

int CSCStepCtrl::Gap() const
{
    const int n = GetStepCount();
    if (n < 2)
        return 0;
    const int free_space = horizontal_ ? width() - n * diameter_ - margin_right_ - margin_left_
                                       : height() - n * diameter_ - margin_bottom_ - margin_top_;
    // Steps that do not fit touch and run past the far edge rather than overlap.
    return std::max(free_space / (n - 1), 0);
}

ARGB CSCStepCtrl::FillColorOf(int index) const
{
    const ARGB by_state = index < current_ ? done_fill_ : index == current_ ? current_fill_ : later_fill_;
    const ARGB override_colour = steps_.at(static_cast<std::size_t>(index)).fill;
    return override_colour != kArgbNone ? override_colour : by_state;
}

ARGB CSCStepCtrl::CaptionColorOf(int index) const
{
    const ARGB by_state = index < current_ ? done_caption_ : index == current_ ? current_caption_ : later_caption_;
    const ARGB override_colour = steps_.at(static_cast<std::size_t>(index)).caption_colour;
    return override_colour != kArgbNone ? override_colour : by_state;
}

ARGB CSCStepCtrl::CaptionTextColorOf(int index) const
{
    return ReadableTextColor(CaptionColorOf(index), back_colour_);
}

void CSCStepCtrl::LayOut(int index, Step& step) const
{
    const int offset = index * (diameter_ + Gap());
    if (horizontal_)
        step.box = QRect(margin_left_ + offset, margin_top_, diameter_, diameter_);
    else
        step.box = QRect(margin_left_, margin_top_ + offset, diameter_, diameter_);
}

void CSCStepCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToPlatformColor(back_colour_));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int c = 0; c < GetStepCount(); ++c) {
        Step& step = steps_[static_cast<std::size_t>(c)];
        if (step.box.isEmpty())
            LayOut(c, step);
        PaintStep(painter, c, step);
    }
}

void CSCStepCtrl::PaintStep(QPainter& painter, int c, const Step& step) const
{
    const int shape = step.shape >= 0 ? step.shape : shape_;
    const QColor fill = ToQColorWithAlpha(FillColorOf(c));
    const QRectF box(step.box);
    auto fill_shape = [&](const QRectF& r, const QColor& colour) {
        QPainterPath path;
        if (shape == kSquare)
            path.addRect(r);
        else
            path.addEllipse(r);
        painter.fillPath(path, colour);
    };

    fill_shape(box, fill);
    const QPointF centre = box.center();
    if (c < current_) {
        painter.setPen(QPen(Qt::white, 1.0));
        const double cx = centre.x();
        const double cy = centre.y();
        painter.drawLine(QPointF(cx - 3, cy), QPointF(cx - 1, cy + 2));
        painter.drawLine(QPointF(cx - 1, cy + 2), QPointF(cx + 3, cy - 2));
    } else if (c > current_) {
        fill_shape(box.adjusted(1, 1, -1, -1), Qt::white);
    } else {
        fill_shape(box.adjusted(2, 2, -2, -2), Qt::white);
        const QRectF dot = box.adjusted(4, 4, -4, -4);
        if (shape == kCircle) {
            QPainterPath path;
            path.addEllipse(dot);
            painter.fillPath(path, fill);
        } else if (shape == kSquare) {
            painter.setPen(QPen(fill, 1.0));
            painter.setBrush(Qt::white);
            painter.drawRect(dot);
            painter.setBrush(Qt::NoBrush);
        }
    }

    if (!step.caption.isEmpty()) {
        painter.setFont(CaptionFont(c));
        painter.setPen(ToPlatformColor(CaptionTextColorOf(c)));
        painter.drawText(CaptionRect(c, step.box), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                         step.caption);
    }

    if (c > 0) {
        const QRectF previous(steps_[static_cast<std::size_t>(c) - 1].box);
        painter.setPen(QPen(fill, 1.7));
        if (horizontal_)
            painter.drawLine(QPointF(previous.right(), previous.center().y()), QPointF(box.left(), centre.y()));
        else
            painter.drawLine(QPointF(previous.center().x(), previous.bottom()), QPointF(centre.x(), box.top()));
    }
}

void CSCStepCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (Step& step : steps_)
        step.box = QRect();
    update();
}
