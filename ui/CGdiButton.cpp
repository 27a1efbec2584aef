#include "ui/CGdiButton.h"

#include "ui/accessible_strings.h"
#include "ui/caption_glyphs.h"
#include "ui/draw_helpers.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

constexpr int kCheckBoxSize = 13;
constexpr int kSpaceNotifyDelayMs = 50;

ARGB SystemColour(QPalette::ColorRole role)
{
    return ToARGB(QGuiApplication::palette().color(role));
}

// The disabled shade keeps the colour's alpha and takes its grey.
ARGB DisabledShade(ARGB colour)
{
    return (colour & 0xFF000000u) | (GreyOf(colour) & 0x00FFFFFFu);
}

}  // namespace

CGdiButton::CGdiButton(QWidget* parent) : CGdiButton(QString(), parent) {}

CGdiButton::CGdiButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    const ARGB face = SystemColour(QPalette::Button);
    text_colours_ = {SystemColour(QPalette::ButtonText), SystemColour(QPalette::Highlight),
                     SystemColour(QPalette::Highlight), 0xFFC0C0C0};
    back_colours_ = {face, AdjustColor(face, 16), AdjustColor(face, -16), face};
    blink_timer_.setSingleShot(true);
    connect(&blink_timer_, &QTimer::timeout, this, &CGdiButton::ToggleBlink);
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void CGdiButton::SetTextColor(ARGB colour)
{
    text_colours_ = {colour, colour, colour, DisabledShade(colour)};
    update();
}

void CGdiButton::SetBackColor(ARGB colour)
{
    back_colours_ = {colour, AdjustColor(colour, 16), AdjustColor(colour, -16), DisabledShade(colour)};
    if (corner_radius_ <= 0)
        transparent_ = false;
    back_image_.reset();
    update();
}

void CGdiButton::SetTransparent(ARGB parent_colour)
{
    transparent_ = true;
    if (parent_colour != kArgbNone)
        parent_colour_ = parent_colour;
    if (kind_ != PushButton)
        back_colours_.clear();
    update();
}

void CGdiButton::SetKind(Kind kind, bool push_like)
{
    kind_ = kind;
    push_like_ = push_like;
    setCheckable(kind != PushButton);
    setAutoExclusive(kind == RadioButton);
    update();
}

void CGdiButton::SetCornerRadius(int radius)
{
    corner_radius_ = radius;
    update();
}

void CGdiButton::Set3dEdge(bool on)
{
    edge_3d_ = on;
    update();
}

void CGdiButton::SetFlat(bool on)
{
    flat_ = on;
    update();
}

void CGdiButton::SetBorder(bool on, ARGB colour, int width)
{
    border_ = {on, colour, width};
    update();
}

void CGdiButton::SetHoverTracking(bool on)
{
    hover_tracking_ = on;
    setMouseTracking(on);
    if (!on)
        hovering_ = false;
    update();
}

void CGdiButton::SetHoverBorder(bool on, ARGB colour, int width)
{
    hover_border_ = {on, colour, width};
    update();
}

void CGdiButton::SetFocusFrame(bool on, ARGB colour, int width)
{
    focus_frame_ = {on, colour, width};
    update();
}

void CGdiButton::SetSystemGlyph(int command)
{
    system_glyph_ = command;
    // A glyph says what the button does only to the eye.
    setAccessibleName(WindowCommandName(command, false));
    update();
}

bool CGdiButton::SetTextIcon(const QString& type, int id, int alignment, double height_factor, int gap)
{
    auto icon = std::make_unique<CGdiplusBitmap>();
    if (!icon->LoadFromResource(type, id))
        return false;
    text_icon_ = std::move(icon);
    icon_alignment_ = alignment;
    icon_height_factor_ = height_factor;
    icon_gap_ = gap;
    update();
    return true;
}

bool CGdiButton::SetBackImage(const QString& type, int id)
{
    auto image = std::make_unique<CGdiplusBitmap>();
    if (!image->LoadFromResource(type, id))
        return false;
    back_image_ = std::move(image);
    update();
    return true;
}

void CGdiButton::SetChecked(int state)
{
    checked_ = state;
    setChecked(state != 0);
    update();
}

void CGdiButton::SetBlink(bool on, int shown_ms, int hidden_ms)
{
    blink_shown_ms_ = shown_ms;
    blink_hidden_ms_ = hidden_ms;
    blink_shown_ = true;
    if (on) {
        blink_timer_.start(blink_shown_ms_);
    } else {
        blink_timer_.stop();
        setVisible(true);
    }
}

void CGdiButton::SetAutoRepeat(bool on, int period_ms)
{
    setAutoRepeat(on);
    setAutoRepeatInterval(period_ms);
}

CGdiButton::State CGdiButton::CurrentState() const
{
    if (!isEnabled())
        return kDisabled;
    if (isDown())
        return kPressed;
    if (hover_tracking_ && hovering_)
        return kHover;
    return kNormal;
}

QSize CGdiButton::sizeHint() const
{
    const QSize text_size = fontMetrics().size(Qt::TextSingleLine, text());
    return {std::max(84, text_size.width() + 24), std::max(28, text_size.height() + 10)};
}

void CGdiButton::paintEvent(QPaintEvent*)
{
    const State state = CurrentState();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    PaintBackground(painter, state);

    const QColor text_colour =
        text_colours_.size() == 4 ? ToPlatformColor(text_colours_[static_cast<std::size_t>(state)]) : QColor(Qt::black);
    const bool looks_pushed = kind_ == PushButton || push_like_;
    if (looks_pushed) {
        if (corner_radius_ == 0 && edge_3d_ && !flat_)
            Draw3dEdge(painter, rect(), state == kPressed || (push_like_ && isChecked()));
        else if (system_glyph_ != kGlyphNone)
            PaintGlyph(painter, text_colour, state);
    } else {
        PaintCheckMark(painter);
    }
    PaintFrames(painter);
    if (system_glyph_ == kGlyphNone && !text().isEmpty())
        PaintText(painter, text_colour);
}

void CGdiButton::PaintBackground(QPainter& painter, State state)
{
    const bool has_back = back_colours_.size() == 4;
    const ARGB back = has_back ? back_colours_[static_cast<std::size_t>(state)] : kArgbNone;
    if (transparent_ && corner_radius_ > 0)
        painter.fillRect(rect(), ToPlatformColor(parent_colour_));
    if (has_back) {
        if (corner_radius_ == 0)
            painter.fillRect(rect(), ToPlatformColor(back));
        else
            painter.fillPath(RoundedFillShape(rect(), corner_radius_), ToQColorWithAlpha(back));
    }
    if (!transparent_) {
        if (back_image_ != nullptr && back_image_->IsValid())
            back_image_->Draw(painter, QRect(QPoint(0, 0), QSize(back_image_->width(), back_image_->height())));
        else if (has_back)
            painter.fillRect(rect(), ToPlatformColor(back));
    }
}

void CGdiButton::PaintCheckMark(QPainter& painter)
{
    const QRectF box(0.5, (height() - kCheckBoxSize) / 2 + 0.5, kCheckBoxSize - 1, kCheckBoxSize - 1);
    const QColor ink(0x20, 0x20, 0x20);
    painter.save();
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::white);
    if (kind_ == RadioButton) {
        painter.drawEllipse(box);
        if (isChecked()) {
            painter.setBrush(ink);
            painter.drawEllipse(box.adjusted(3, 3, -3, -3));
        }
    } else {
        painter.drawRect(box);
        if (checked_ == 2) {
            painter.fillRect(box.adjusted(3, 3, -3, -3), ink);
        } else if (isChecked()) {
            painter.setPen(QPen(ink, 1.51));
            const QPointF c = box.center();
            painter.drawPolyline(QPolygonF({c + QPointF(-3.5, 0), c + QPointF(-1, 2.5), c + QPointF(3.5, -2.5)}));
        }
    }
    painter.restore();
}

void CGdiButton::PaintGlyph(QPainter& painter, QColor colour, State state)
{
    const ARGB back = back_colours_.size() == 4 ? back_colours_[static_cast<std::size_t>(state)] : 0xFFFFFFFF;
    const bool maximized = window() != nullptr && window()->isMaximized();
    // Half-pixel offset: the 1.5-pixel strokes centre on whole pixels.
    DrawCaptionGlyph(painter, system_glyph_, QPointF(width() / 2 + 0.5, height() / 2 + 0.5), colour, maximized,
                     ToQColorWithAlpha(back));
}

void CGdiButton::PaintFrames(QPainter& painter)
{
    const bool focus = focus_frame_.on && hasFocus();
    const bool hover = !focus && hover_tracking_ && hover_border_.on && hovering_;
    if (!focus && !hover && !border_.on)
        return;
    if (corner_radius_ > 0) {
        if (focus)
            DrawRoundedOutline(painter, rect().adjusted(1, 1, -1, -1), corner_radius_, focus_frame_.colour, 1);
        else
            DrawRoundedOutline(painter, rect(), corner_radius_, hover ? hover_border_.colour : border_.colour,
                               hover ? hover_border_.width : border_.width);
        return;
    }
    // Square frames are one pixel: dotted for the focus, else in the border colour (hovering too).
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ToPlatformColor(focus ? focus_frame_.colour : border_.colour), 1,
                        focus ? Qt::DotLine : Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.restore();
}

void CGdiButton::PaintText(QPainter& painter, QColor colour)
{
    painter.save();
    painter.setFont(font());
    painter.setPen(colour);
    QRect text_rect = rect();
    int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    if (text_icon_ != nullptr && text_icon_->IsValid()) {
        const int icon_height = static_cast<int>(height() * icon_height_factor_);
        const int icon_width = text_icon_->height() > 0 ? icon_height * text_icon_->width() / text_icon_->height() : 0;
        const int text_width = fontMetrics().horizontalAdvance(text());
        int x = icon_gap_;
        if (icon_alignment_ & kIconCentre)
            x = ((width() - text_width - icon_width - icon_gap_) - 0) / 2;
        else if (icon_alignment_ & kIconRight)
            x = width() - (2 * icon_width + 8) - icon_gap_;
        int y = 4;
        if (icon_alignment_ & kIconMiddle)
            y = (height() - icon_height) / 2;
        else if (icon_alignment_ & kIconBottom)
            y = height() - icon_height - 4;
        text_icon_->Draw(painter, QRect(x, y, icon_width, icon_height));
        text_rect.setLeft(x + icon_width + icon_gap_);
        flags |= Qt::AlignLeft;
    } else if (kind_ == PushButton || push_like_) {
        flags |= Qt::AlignHCenter;
    } else {
        text_rect.setLeft(kCheckBoxSize + 4);
        flags |= Qt::AlignLeft;
    }
    painter.drawText(text_rect, flags, text());
    painter.restore();
}

void CGdiButton::SetHovering(bool on)
{
    if (hovering_ == on)
        return;
    hovering_ = on;
    update();
    if (on)
        emit hoverStarted();
    else
        emit hoverEnded();
}

void CGdiButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled())
        emit leftPressed();
}

void CGdiButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool over = event->button() == Qt::LeftButton && isDown() && rect().contains(event->position().toPoint());
    QAbstractButton::mouseReleaseEvent(event);
    if (over)
        emit leftReleased();
}

void CGdiButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    if (hover_tracking_)
        SetHovering(rect().contains(event->position().toPoint()));
}

void CGdiButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    if (hover_tracking_)
        SetHovering(true);
}

void CGdiButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    if (hover_tracking_)
        SetHovering(false);
}

void CGdiButton::keyPressEvent(QKeyEvent* event)
{
    QAbstractButton::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        QTimer::singleShot(kSpaceNotifyDelayMs, this, &CGdiButton::leftPressed);
}

void CGdiButton::keyReleaseEvent(QKeyEvent* event)
{
    QAbstractButton::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        QTimer::singleShot(kSpaceNotifyDelayMs, this, &CGdiButton::leftReleased);
}

void CGdiButton::focusInEvent(QFocusEvent* event)
{
    QAbstractButton::focusInEvent(event);
    window_focus_ = true;
    update();
}

void CGdiButton::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    // Disabled while it had the keyboard: Qt has handed the keyboard to the next control.
    lost_focus_when_disabled_ = !isEnabled();
    // The window going inactive, or a menu opening, leaves the button its window's focus.
    window_focus_ = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    update();
}

void CGdiButton::changeEvent(QEvent* event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    update();
    QWidget* focus = window()->focusWidget();
    if (!isEnabled()) {
        // In an inactive window the keyboard moves on without telling the button.
        if (window_focus_ && focus != this) {
            window_focus_ = false;
            lost_focus_when_disabled_ = true;
        }
        if (lost_focus_when_disabled_)
            focus_taker_ = focus;
    } else if (lost_focus_when_disabled_) {
        // A button disabled for a moment (while its command starts) takes the keyboard back, unless the
        // user has moved it on meanwhile.
        lost_focus_when_disabled_ = false;
        if (focus == focus_taker_)
            setFocus(Qt::OtherFocusReason);
    }
}

void CGdiButton::nextCheckState()
{
    if (kind_ == CheckBox)
        checked_ = checked_ == 0 ? 1 : 0;
    else if (kind_ == RadioButton)
        checked_ = 1;
    QAbstractButton::nextCheckState();
}

void CGdiButton::ToggleBlink()
{
    blink_shown_ = !blink_shown_;
    setVisible(blink_shown_);
    blink_timer_.start(blink_shown_ ? blink_shown_ms_ : blink_hidden_ms_);
}
