#include "ui/CSCThemeDlg.h"

#include "ui/CSCSystemButtons.h"
#include "ui/draw_helpers.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int kIconSize = 20;
constexpr int kTitleIndent = 6;
constexpr int kCloseByIconWidth = 32;  // a double click on the icon closes the window
constexpr int kTitlePoints = 10;

Qt::Edges EdgesOf(CSCThemeDlg::HitArea area)
{
    switch (area) {
    case CSCThemeDlg::kHitLeft: return Qt::LeftEdge;
    case CSCThemeDlg::kHitRight: return Qt::RightEdge;
    case CSCThemeDlg::kHitTop: return Qt::TopEdge;
    case CSCThemeDlg::kHitBottom: return Qt::BottomEdge;
    case CSCThemeDlg::kHitTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case CSCThemeDlg::kHitTopRight: return Qt::TopEdge | Qt::RightEdge;
    case CSCThemeDlg::kHitBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case CSCThemeDlg::kHitBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

}  // namespace

CSCThemeDlg::CSCThemeDlg(QWidget* parent) : QDialog(parent), theme_(this), buttons_(new CSCSystemButtons(this))
{
    setWindowFlag(Qt::FramelessWindowHint);
    setMouseTracking(true);
    buttons_->CreateButtons(this);
    buttons_->AddButton(kCommandClose);
    buttons_->SetThemeStyle(0);
    connect(buttons_, &CSCSystemButtons::CommandInvoked, this, [this](int command) {
        if (command == CSCSystemButtons::kCommandHelp)
            emit SystemCommand(command);
    });
}

QString CSCThemeDlg::StyleTitle(int style)
{
    switch (style) {
    case 6: return QStringLiteral("Quenmora");
    case 7: return QStringLiteral("Quenmora 3.0 SE");
    case 8: return QStringLiteral("Selvanta");
    case 9: return QStringLiteral("Dravi");
    case 10: return QStringLiteral("Nostrel");
    default: return {};
    }
}

void CSCThemeDlg::SetThemeStyle(int style)
{
    theme_.SetStyle(style);
    CSCColorTheme& buttons_theme = buttons_->GetColorTheme();
    buttons_theme.SetStyle(style);
    if (!StyleTitle(style).isEmpty()) {
        setWindowTitle(StyleTitle(style));
        buttons_theme.SetSlot(CSCColorTheme::kText, theme_.slot(CSCColorTheme::kCaptionText));
        buttons_theme.SetSlot(CSCColorTheme::kBack, theme_.slot(CSCColorTheme::kCaptionBack));
        buttons_theme.SetSlot(7, theme_.slot(CSCColorTheme::kCaptionHover));
        buttons_->SetButtonHeight(caption_height_ - 3);
        PlaceButtons();
        QFont title = font();
        title.setWeight(bold_title_ ? QFont::Bold : QFont::Normal);
        title.setPixelSize(-font_height(this, kTitlePoints));
        title_font_ = title;
    }
    update();
    buttons_->update();
}

void CSCThemeDlg::SetCaptionIcon(int resource_id)
{
    SetCaptionIcon(resource_id == 0 ? QPixmap()
                                    : QIcon(QStringLiteral(":/icon/%1").arg(resource_id)).pixmap(kIconSize, kIconSize));
}

void CSCThemeDlg::SetCaptionIcon(const QPixmap& icon)
{
    caption_icon_ = icon.isNull() || icon.size() == QSize(kIconSize, kIconSize)
                        ? icon
                        : icon.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    update();
}

void CSCThemeDlg::SetLogoImage(const QPixmap& image)
{
    logo_image_ = image;
    update();
}

void CSCThemeDlg::SetCaptionHeight(int pixels)
{
    caption_height_ = std::max(0, pixels);
    if (caption_height_ == 0) {
        buttons_->RemoveAllButtons();
        buttons_->hide();
    } else {
        buttons_->show();
        PlaceButtons();
    }
    update();
}

void CSCThemeDlg::SetShowIcon(bool on)
{
    show_icon_ = on;
    update();
}

void CSCThemeDlg::SetDrawBorder(bool on)
{
    draw_border_ = on;
    update();
}

void CSCThemeDlg::SetBorderWidth(int pixels)
{
    border_width_ = std::max(0, pixels);
    update();
}

QRect CSCThemeDlg::InsideBorder() const
{
    const int w = draw_border_ ? border_width_ : 0;
    return rect().adjusted(w, w, -w, -w);
}

bool CSCThemeDlg::IsResizable() const
{
    return resizable_.value_or(minimumSize() != maximumSize());
}

CSCThemeDlg::HitArea CSCThemeDlg::HitTest(QPoint p) const
{
    // The sizing band stands for the platform's sizing frame: it works whatever pass-through says.
    if (IsResizable() && !isMaximized()) {
        const int t = kResizeBorder;
        const bool left = p.x() < t;
        const bool right = p.x() >= width() - t;
        const bool top = p.y() < t;
        const bool bottom = p.y() >= height() - t;
        if (top && left) return kHitTopLeft;
        if (top && right) return kHitTopRight;
        if (bottom && left) return kHitBottomLeft;
        if (bottom && right) return kHitBottomRight;
        if (left) return kHitLeft;
        if (right) return kHitRight;
        if (top) return kHitTop;
        if (bottom) return kHitBottom;
    }
    if (!pass_through_ && (p.y() < kTransparentTop || p.y() > caption_height_))
        return kHitTransparent;
    return kHitClient;
}

QScreen* CSCThemeDlg::ScreenUnderPointer() const
{
    QScreen* under_pointer = QGuiApplication::screenAt(QCursor::pos());
    return under_pointer != nullptr ? under_pointer : screen();
}

QRect CSCThemeDlg::MaximizedGeometry() const
{
    const QScreen* target = ScreenUnderPointer();
    return target != nullptr ? target->availableGeometry() : geometry();
}

void CSCThemeDlg::ToggleMaximize()
{
    if (isMaximized()) {
        showNormal();
    } else {
        // Maximise on the monitor under the pointer; the window system then fits it to that
        // monitor's work area.
        QScreen* target = ScreenUnderPointer();
        if (target != nullptr && windowHandle() != nullptr && windowHandle()->screen() != target)
            windowHandle()->setScreen(target);
        showMaximized();
    }
    buttons_->update();
}

void CSCThemeDlg::PlaceButtons()
{
    buttons_->SetRight(width() - 1);
    buttons_->SetTop(1);
    buttons_->LayoutButtons();
}

void CSCThemeDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    if (caption_height_ > 0) {
        const QRect caption(0, 0, width(), caption_height_);
        painter.fillRect(caption, theme_.color(CSCColorTheme::kCaptionBack));
        int title_left = kTitleIndent;
        if (show_icon_ && !logo_image_.isNull()) {
            painter.drawPixmap(0, 0, logo_image_);
            title_left = 0;
        } else if (show_icon_ && !caption_icon_.isNull()) {
            const QRect square(0, 0, caption_height_, caption_height_);
            QRect icon(QPoint(), caption_icon_.size() / caption_icon_.devicePixelRatio());
            icon.moveCenter(square.center());
            painter.drawPixmap(icon, caption_icon_);
            title_left = caption_height_;
        }
        painter.setFont(GetTitleFont());
        painter.setPen(theme_.color(CSCColorTheme::kCaptionText));
        painter.drawText(QRect(title_left, 0, std::max(0, width() - title_left), caption_height_),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, windowTitle());
    }
    if (draw_border_ && border_width_ > 0) {
        const QColor border = theme_.color(CSCColorTheme::kBorder);
        const int w = border_width_;
        painter.fillRect(0, 0, width(), w, border);
        painter.fillRect(0, height() - w, width(), w, border);
        painter.fillRect(0, 0, w, height(), border);
        painter.fillRect(width() - w, 0, w, height(), border);
    }
}

void CSCThemeDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceButtons();
}

void CSCThemeDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    PlaceButtons();
}

void CSCThemeDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        buttons_->update();
}

void CSCThemeDlg::keyPressEvent(QKeyEvent* event)
{
    // No dialog keys: Enter, Escape and Tab belong to the focused control.
    QWidget::keyPressEvent(event);
}

void CSCThemeDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const HitArea area = HitTest(point);
    if (area == kHitTransparent) {
        event->ignore();
        return;
    }
    if (area != kHitClient) {
        if (windowHandle() != nullptr)
            windowHandle()->startSystemResize(EdgesOf(area));
        return;
    }
    if (point.y() < caption_height_ && drag_by_caption_) {
        drag_.Begin(this, event);
        return;
    }
    if (pass_through_)
        QDialog::mousePressEvent(event);
}

void CSCThemeDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_.Follow(this, event))
        return;
    UpdateCursor(HitTest(event->position().toPoint()));
    QDialog::mouseMoveEvent(event);
}

void CSCThemeDlg::mouseReleaseEvent(QMouseEvent* event)
{
    drag_.End();
    QDialog::mouseReleaseEvent(event);
}

void CSCThemeDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || point.y() >= caption_height_ ||
        !buttons_->HasButton(kCommandMaximize)) {
        QDialog::mouseDoubleClickEvent(event);
        return;
    }
    if (point.x() < kCloseByIconWidth)
        close();
    else
        ToggleMaximize();
}

void CSCThemeDlg::UpdateCursor(HitArea area)
{
    switch (area) {
    case kHitLeft:
    case kHitRight: setCursor(Qt::SizeHorCursor); break;
    case kHitTop:
    case kHitBottom: setCursor(Qt::SizeVerCursor); break;
    case kHitTopLeft:
    case kHitBottomRight: setCursor(Qt::SizeFDiagCursor); break;
    case kHitTopRight:
    case kHitBottomLeft: setCursor(Qt::SizeBDiagCursor); break;
    default:
        // Away from the sizing band the platform cursor applies only with pass-through.
        if (pass_through_)
            unsetCursor();
        break;
    }
}
