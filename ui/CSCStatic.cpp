#include "ui/CSCStatic.h"

#include "ui/accessible_label.h"
#include "ui/draw_helpers.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QUrl>

namespace {

constexpr int kBlinkShownMs = 400;
constexpr int kBlinkHiddenMs = 1200;
constexpr int kFitTextRounds = 50;

ARGB SystemColour(QPalette::ColorGroup group, QPalette::ColorRole role)
{
    return ToARGB(QGuiApplication::palette().color(group, role));
}

}  // namespace

CSCStatic::CSCStatic(QWidget* parent)
    : QWidget(parent),
      text_colour_(SystemColour(QPalette::Active, QPalette::ButtonText)),
      back_colour_(SystemColour(QPalette::Active, QPalette::Button)),
      image_(std::make_unique<CGdiplusBitmap>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    blink_timer_.setSingleShot(true);
    connect(&blink_timer_, &QTimer::timeout, this, &CSCStatic::ToggleBlink);
    connect(image_.get(), &CGdiplusBitmap::playingChanged, this, [this] { label_accessibility::NameChanged(*this); });
}

CSCStatic::~CSCStatic()
{
    // The picture's thread and its surface go before the window they draw into, and tell no one.
    image_->disconnect(this);
    image_.reset();
}

bool CSCStatic::Create(const QString& text, Qt::Alignment alignment, const QRect& rect, QWidget* parent)
{
    setParent(parent);
    setGeometry(rect);
    alignment_ = alignment;
    text_ = text;
    update();
    return true;
}

void CSCStatic::SetText(const QString& text, ARGB colour)
{
    const bool changed = text_ != text;
    text_ = text;
    if (colour != kArgbNone)
        text_colour_ = colour;
    if (fit_text_)
        FitFontToWidth();
    RedrawParentArea();
    update();
    if (changed)
        label_accessibility::NameChanged(*this);
}

void CSCStatic::SetTextColor(ARGB colour)
{
    text_colour_ = colour;
    update();
}

void CSCStatic::SetBackColor(ARGB colour)
{
    back_colour_ = colour;
    if (corner_radius_ == 0)
        use_parent_colour_ = false;
    update();
}

void CSCStatic::SetParentColor(ARGB colour, bool use)
{
    parent_colour_ = colour;
    use_parent_colour_ = use;
    update();
}

void CSCStatic::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    update();
}

void CSCStatic::SetEllipsis(Ellipsis ellipsis)
{
    ellipsis_ = ellipsis;
    update();
}

void CSCStatic::SetCustomFormat(bool on)
{
    custom_format_ = on;
    update();
}

void CSCStatic::SetFontSize(int points)
{
    QFont changed = font();
    changed.setPixelSize(-font_height(this, points));
    setFont(changed);
    RedrawParentArea();
    update();
}

void CSCStatic::SetBold(bool bold)
{
    QFont changed = font();
    changed.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(changed);
    update();
}

void CSCStatic::SetCornerRadius(int radius)
{
    corner_radius_ = radius;
    update();
}

void CSCStatic::SetGradient(bool on, std::vector<ARGB> colours, bool vertical)
{
    gradient_ = on;
    gradient_colours_ = std::move(colours);
    gradient_vertical_ = vertical;
    update();
}

void CSCStatic::SetSunkenFrame(bool on)
{
    sunken_frame_ = on;
    update();
}

void CSCStatic::SetBorder(bool on, ARGB colour, int width)
{
    border_ = on;
    border_colour_ = colour;
    border_width_ = width;
    update();
}

void CSCStatic::SetIcon(const QPixmap& icon, int width, int height, bool icon_first)
{
    icon_ = icon;
    icon_size_ = QSize(width, height);
    icon_first_ = icon_first;
    update();
}

bool CSCStatic::AddListPicture(const QString& type, int id)
{
    auto picture = std::make_unique<CGdiplusBitmap>();
    if (!picture->LoadFromResource(type, id))
        return false;
    list_pictures_.push_back(std::move(picture));
    update();
    return true;
}

void CSCStatic::SetListPictureIndex(int index)
{
    list_picture_index_ = index;
    update();
}

const CGdiplusBitmap* CSCStatic::ListPicture() const
{
    if (list_picture_index_ < 0 || list_picture_index_ >= static_cast<int>(list_pictures_.size()))
        return nullptr;
    return list_pictures_[static_cast<std::size_t>(list_picture_index_)].get();
}

void CSCStatic::SetIndent(int spaces)
{
    indent_ = std::max(spaces, 0);
    update();
}

void CSCStatic::SetLink(const QString& target, ARGB colour)
{
    link_ = target;
    link_colour_ = colour;
    setCursor(link_.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    update();
}

void CSCStatic::SetBlink(bool on)
{
    blink_shown_ = true;
    if (on)
        blink_timer_.start(kBlinkShownMs);
    else
        blink_timer_.stop();
    update();
}

void CSCStatic::SetFitText(bool on)
{
    fit_text_ = on;
    if (on)
        FitFontToWidth();
    update();
}

bool CSCStatic::SetImage(const QString& type, int id, ARGB back_colour)
{
    const bool loaded = image_->LoadFromResource(type, id);
    back_colour_ = back_colour;
    image_->SetBackground(back_colour);
    if (image_->IsAnimated())
        image_->StartAnimation(this, 0, 0, 0, 0);
    update();
    return loaded;
}

void CSCStatic::SetImageNames(const QString& playing, const QString& still)
{
    playing_name_ = playing;
    still_name_ = still;
    label_accessibility::NameChanged(*this);
}

QString CSCStatic::ImageName() const
{
    return image_->is_playing() ? playing_name_ : still_name_;
}

void CSCStatic::FitImageToWindow()
{
    keep_image_size_ = false;
    if (image_->IsAnimated())
        image_->SetTargetSize(width(), height());
    else if (image_->IsValid())
        image_->Resize(width(), height());
    update();
}

void CSCStatic::StopImageAnimation()
{
    if (image_->IsAnimated())
        image_->StopAnimationThread();
}

void CSCStatic::RedrawParentArea()
{
    if (parentWidget() != nullptr)
        parentWidget()->update(geometry());
}

QString CSCStatic::ShownText() const
{
    return QString(indent_, QLatin1Char(' ')) + text_;
}

QColor CSCStatic::CurrentTextColor() const
{
    if (!isEnabled())
        return QGuiApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    if (!link_.isEmpty())
        return ToPlatformColor(link_colour_);
    return ToPlatformColor(text_colour_);
}

CSCStatic::Layout CSCStatic::ComputeLayout() const
{
    Layout layout;
    const QString shown = ShownText();
    const bool has_text = !text_.isEmpty();
    const QSize text_size = has_text ? fontMetrics().size(0, shown) : QSize(0, 0);
    const int tw = text_size.width();
    const int th = text_size.height();
    const int left = 0;
    const int top = 0;
    const int right = width();
    const int bottom = height();
    const bool vcentre = !custom_format_ && (alignment_ & Qt::AlignVCenter);

    layout.flags = Qt::TextDontClip;
    if (custom_format_) {
        layout.flags |= Qt::AlignLeft;
    } else if (alignment_ & Qt::AlignHCenter) {
        layout.flags |= Qt::AlignHCenter;
    } else if (alignment_ & Qt::AlignRight) {
        layout.flags |= Qt::AlignRight;
    } else {
        layout.flags |= Qt::AlignLeft;
    }
    layout.text = rect();

    const CGdiplusBitmap* picture = icon_.isNull() ? ListPicture() : nullptr;
    layout.has_icon = !icon_.isNull() || picture != nullptr;
    if (layout.has_icon) {
        const int iw = picture != nullptr ? picture->width() : icon_size_.width();
        const int ih = picture != nullptr ? picture->height() : icon_size_.height();
        int x = 0;
        if (layout.flags & Qt::AlignHCenter) {
            if (!has_text) {
                x = (left + right) / 2 - iw / 2;
            } else if (icon_first_) {
                x = 8;
                layout.text.setLeft((left + right) / 2 - tw / 2);
            } else {
                x = (right - iw - left - tw - 4) / 2;
                layout.text.setLeft(x + iw + 4);
            }
        } else if (layout.flags & Qt::AlignRight) {
            if (icon_first_) {
                x = 8;
                layout.text.setLeft(right - tw - 4);
            } else {
                x = right - iw - tw - 2;
                layout.text.setLeft(x + iw + 2);
            }
        } else if (has_text) {
            x = 2;
            layout.text.setLeft(iw + 6);
        }
        int y = 0;
        if (vcentre) {
            y = (bottom - ih - top) / 2 + top;
        } else if (has_text) {
            y = th / 2 - ih / 2;
            if (y < 0) {
                layout.text.setTop(layout.text.top() - y);
                y = 0;
            }
        }
        layout.icon = QRect(x, y, iw, ih);
        layout.flags = (layout.flags & ~(Qt::AlignHCenter | Qt::AlignRight)) | Qt::AlignLeft;
    }
    if (vcentre) {
        layout.text.setTop((height() - th) / 2);
        layout.text.setHeight(th);
    }
    return layout;
}

QRect CSCStatic::IconRect() const
{
    return ComputeLayout().icon;
}

QRect CSCStatic::TextRect() const
{
    const Layout layout = ComputeLayout();
    const QSize size = fontMetrics().size(0, ShownText());
    int left = layout.text.left();
    if (layout.flags & Qt::AlignHCenter)
        left = layout.text.left() + (layout.text.width() - size.width()) / 2;
    else if (layout.flags & Qt::AlignRight)
        left = layout.text.right() + 1 - size.width();
    return QRect(QPoint(left, layout.text.top()), size);
}

void CSCStatic::PaintBackground(QPainter& painter)
{
    const QPainterPath shape = RoundedFillShape(rect(), corner_radius_);
    if (corner_radius_ > 0 || use_parent_colour_)
        painter.fillRect(rect(), ToPlatformColor(parent_colour_));
    if (image_->IsValid() && image_->frame_count() == 1) {
        image_->Draw(painter, rect());
    } else if (gradient_ && !gradient_colours_.empty()) {
        QLinearGradient gradient(0, 0, gradient_vertical_ ? 0 : width(), gradient_vertical_ ? height() : 0);
        const std::size_t n = gradient_colours_.size();
        for (std::size_t i = 0; i < n; ++i)
            gradient.setColorAt(n == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(n - 1),
                                ToPlatformColor(gradient_colours_[i]));
        painter.fillRect(rect(), gradient);
    } else if (!use_parent_colour_ && corner_radius_ < 1) {
        painter.fillRect(rect(), ToPlatformColor(back_colour_));
    } else if (corner_radius_ > 0) {
        // Without a radius the shape is empty and only the parent colour shows.
        painter.fillPath(shape, ToQColorWithAlpha(back_colour_));
    }
    if (sunken_frame_) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.restore();
    }
}

void CSCStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    PaintBackground(painter);

    if (!text_.isEmpty() || !icon_.isNull() || ListPicture() != nullptr) {
        const Layout layout = ComputeLayout();
        if (layout.has_icon && blink_shown_) {
            if (!icon_.isNull())
                painter.drawPixmap(layout.icon, icon_);
            else
                ListPicture()->Draw(painter, layout.icon);
        }
        if (!text_.isEmpty() && blink_shown_) {
            painter.setFont(font());
            painter.setPen(CurrentTextColor());
            QString shown = ShownText();
            if (!custom_format_ && ellipsis_ != kNoEllipsis && !shown.contains(QLatin1Char('\n'))) {
                const Qt::TextElideMode mode = ellipsis_ == kPathEllipsis ? Qt::ElideMiddle : Qt::ElideRight;
                shown = fontMetrics().elidedText(shown, mode, layout.text.width());
            }
            painter.drawText(layout.text, layout.flags, shown);
        }
    }

    if (border_) {
        if (corner_radius_ < 1) {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(ToPlatformColor(border_colour_));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        } else {
            DrawRoundedOutline(painter, rect(), corner_radius_, border_colour_, border_width_);
        }
    }
}

void CSCStatic::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (fit_text_)
        FitFontToWidth();
    else if (!keep_image_size_)
        FitImageToWindow();
    update();
}

void CSCStatic::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit clicked();
    if (!link_.isEmpty())
        QDesktopServices::openUrl(QUrl::fromUserInput(link_));
}

void CSCStatic::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void CSCStatic::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    blink_shown_ = true;
}

void CSCStatic::FitFontToWidth()
{
    if (text_.isEmpty() || width() <= 0)
        return;
    QFont fitted = font();
    int height = fitted.pixelSize() > 0 ? -fitted.pixelSize() : font_height(this, fitted.pointSize());
    for (int round = 0; round < kFitTextRounds; ++round) {
        fitted.setPixelSize(-height);
        const int text_width = QFontMetrics(fitted).horizontalAdvance(ShownText());
        if (text_width > 0.9 * width()) {
            if (height >= -11)
                break;
            ++height;
        } else if (text_width < 0.8 * width()) {
            --height;
        } else {
            break;
        }
    }
    fitted.setPixelSize(-height);
    setFont(fitted);
}

void CSCStatic::ToggleBlink()
{
    blink_shown_ = isVisible() ? !blink_shown_ : true;
    blink_timer_.start(blink_shown_ ? kBlinkShownMs : kBlinkHiddenMs);
    update();
}
