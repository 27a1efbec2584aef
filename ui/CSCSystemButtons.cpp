#include "ui/CSCSystemButtons.h"

#include "ui/ui_fonts.h"

#include <QMouseEvent>
#include <QPainter>

CSCSystemButtons::CSCSystemButtons(QWidget* parent) : QWidget(parent), theme_(this)
{
    setObjectName(QStringLiteral("CSCSystemButtons"));
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    target_ = parent;
}

void CSCSystemButtons::CreateButtons(QWidget* parent)
{
    target_ = parent;
    RemoveAllButtons();
    if (parentWidget() != parent)
        setParent(parent);
    show();
    LayoutButtons();
}

void CSCSystemButtons::AddButton(int command, const QPixmap& image)
{
    buttons_.push_back({command, QRect(), image});
    LayoutButtons();
}

void CSCSystemButtons::RemoveAllButtons()
{
    buttons_.clear();
    hot_ = -1;
    pressed_ = false;
    LayoutButtons();
}

int CSCSystemButtons::GetButtonCommand(int index) const
{
    return index >= 0 && index < GetButtonCount() ? buttons_[static_cast<std::size_t>(index)].command : 0;
}

QRect CSCSystemButtons::GetButtonRect(int index) const
{
    return index >= 0 && index < GetButtonCount() ? buttons_[static_cast<std::size_t>(index)].rect : QRect();
}

bool CSCSystemButtons::HasButton(int command) const
{
    return std::any_of(buttons_.begin(), buttons_.end(), [command](const Button& b) { return b.command == command; });
}

void CSCSystemButtons::LayoutButtons()
{
    const int n = GetButtonCount();
    for (int i = 0; i < n; ++i) {
        const int left = i * (button_width_ + gap_);
        // Left, top, right, bottom as the strip measures them: the bottom is the button height.
        buttons_[static_cast<std::size_t>(i)].rect =
            QRect(QPoint(left, top_), QPoint(left + button_width_ - 1, button_height_ - 1));
    }
    const int strip_width = n > 0 ? n * button_width_ + (n - 1) * gap_ : 0;
    const int right = right_ >= 0 ? right_ : (parentWidget() != nullptr ? parentWidget()->width() - 1 : strip_width + 1);
    setGeometry(right - 1 - strip_width, top_, strip_width, button_height_);
    update();
}

void CSCSystemButtons::SetThemeStyle(int style)
{
    theme_.SetStyle(style);
    update();
}

int CSCSystemButtons::ButtonAt(QPoint point) const
{
    for (int i = 0; i < GetButtonCount(); ++i) {
        if (buttons_[static_cast<std::size_t>(i)].rect.contains(point))
            return i;
    }
    return -1;
}

void CSCSystemButtons::PressButton(int index)
{
    if (index >= 0 && index < GetButtonCount())
        Execute(buttons_[static_cast<std::size_t>(index)].command);
}

QWidget* CSCSystemButtons::TargetWindow() const
{
    if (target_ != nullptr)
        return target_->window();
    return parentWidget() != nullptr ? parentWidget()->window() : nullptr;
}

void CSCSystemButtons::Execute(int command)
{
    QWidget* target = TargetWindow();
    if (target != nullptr) {
        switch (command) {
        case kCommandMinimize:
            target->showMinimized();
            break;
        case kCommandMaximize:
            if (target->isMaximized())
                target->showNormal();
            else
                target->showMaximized();
            break;
        case kCommandClose:
            target->close();
            break;
        case kCommandKeepOnTop: {
            // Changing the flag re-creates the native window; keep where and how big it was.
            const QRect geometry = target->geometry();
            const bool on_top = target->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            target->setWindowFlag(Qt::WindowStaysOnTopHint, !on_top);
            target->setGeometry(geometry);
            target->show();
            break;
        }
        default:
            break;
        }
    }
    update();
    emit CommandInvoked(command);
}

void CSCSystemButtons::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), theme_.color(CSCColorTheme::kCaptionBack));
    for (int i = 0; i < GetButtonCount(); ++i)
        PaintButton(painter, buttons_[static_cast<std::size_t>(i)], i == hot_);
}

void CSCSystemButtons::PaintButton(QPainter& painter, const Button& button, bool hot) const
{
    if (hot) {
        const ARGB back = button.command == kCommandClose ? kCloseHotColor
                          : pressed_                      ? theme_.slot(CSCColorTheme::kCaptionPressed)
                                                          : theme_.slot(CSCColorTheme::kCaptionHover);
        painter.fillRect(button.rect, ToPlatformColor(back));
    }
    if (!button.image.isNull()) {
        painter.drawPixmap(button.rect, button.image);
        return;
    }
    const QPointF centre(button.rect.left() + button.rect.width() / 2, button.rect.top() + button.rect.height() / 2);
    const QColor glyph = theme_.color(CSCColorTheme::kText);
    switch (button.command) {
    case kCommandKeepOnTop:
        PaintKeepOnTop(painter, centre);
        break;
    case kCommandHelp:
        painter.setPen(glyph);
        painter.setFont(DefaultFont(12));
        painter.drawText(button.rect, Qt::AlignCenter, QStringLiteral("?"));
        break;
    default: {
        const QWidget* target = TargetWindow();
        DrawCaptionGlyph(painter, button.command, centre, glyph, target != nullptr && target->isMaximized(),
                         theme_.color(CSCColorTheme::kBack));
        break;
    }
    }
}

void CSCSystemButtons::PaintKeepOnTop(QPainter& painter, QPointF centre) const
{
    const QWidget* target = TargetWindow();
    const bool on_top = target != nullptr && target->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    painter.save();
    painter.setPen(QPen(ToPlatformColor(on_top ? 0xFF2D7ABE : 0xFFA0A0A0), 17, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(centre.x() - 7, centre.y()), QPointF(centre.x() + 7, centre.y()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(on_top ? centre.x() + 1 : centre.x() - 11, centre.y() - 5, 10, 10));
    painter.restore();
}

void CSCSystemButtons::mouseMoveEvent(QMouseEvent* event)
{
    const int hot = ButtonAt(event->position().toPoint());
    if (hot != hot_) {
        hot_ = hot;
        update();
    }
}

void CSCSystemButtons::leaveEvent(QEvent*)
{
    hot_ = -1;
    update();
}

void CSCSystemButtons::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && ButtonAt(event->position().toPoint()) >= 0) {
        pressed_ = true;
        update();
    }
}

void CSCSystemButtons::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool was_pressed = pressed_;
    pressed_ = false;
    const int index = ButtonAt(event->position().toPoint());
    update();
    if (was_pressed && index >= 0)
        Execute(buttons_[static_cast<std::size_t>(index)].command);
}
