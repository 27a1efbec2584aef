#include "ui/CSCMessageBox.h"

#include "sys/date_time_text.h"
#include "ui/CGdiButton.h"
#include "ui/CSCStatic.h"
#include "ui/accessible_part.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>

namespace {

constexpr int kDefaultWidth = 440;
constexpr int kDefaultHeight = 240;
constexpr int kButtonGap = 8;
constexpr int kButtonRowMargin = 16;  // below the button row
constexpr int kMessageTop = 32;
constexpr int kMessageMargin = 16;
constexpr int kVerticalChrome = 84;   // caption, margins and the button row around the message
constexpr int kSideChrome = 80;
constexpr int kIconChrome = 96 + 32;
constexpr int kMessageIconSize = 32;
constexpr int kCaptionIconSize = 16;
constexpr ARGB kButtonBorder = 0xFFD3D3D3;
constexpr ARGB kFrameColor = 0xFF696969;
constexpr ARGB kCloseHoverColor = 0xFFE81123;
constexpr int kHoverDelta = 16;  // a button shows its back colour + 16 while hovered

struct Captions {
    const char* english;
    const char* korean;
};

// Indexed by answer code - 1.
constexpr Captions kCaptions[] = {
    {"Ok", "확인"},     {"Cancel", "취소"}, {"Stop", "중지"},     {"Retry", "재시도"},
    {"Ignore", "무시"}, {"Yes", "예"},      {"No", "아니오"},     {"Close", "닫기"},
    {"Help", "도움말"}, {"Retry", "다시 시도"}, {"Continue", "계속"},
};

// Breaks lines that are wider than the width (at word boundaries where there are any), so that a
// message in a box at its widest is shown whole instead of being cut at the edges.
QString WrapToWidth(const QString& text, const QFont& font, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty())
            lines << QString();
    }
    return lines.join(u'\n');
}

}  // namespace

CSCMessageBox::CSCMessageBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), theme_(this)
{
    setObjectName(QStringLiteral("CSCMessageDlg"));
    countdown_timer_.setInterval(1000);
    connect(&countdown_timer_, &QTimer::timeout, this, &CSCMessageBox::OnCountdownTick);

    QStyle* style = QApplication::style();
    icons_[kIconIndexError] = style->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(kMessageIconSize);
    icons_[kIconIndexQuestion] = style->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(kMessageIconSize);
    icons_[kIconIndexWarning] = style->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kMessageIconSize);
    icons_[kIconIndexInformation] = style->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kMessageIconSize);

    CreateButtons();
    message_area_ = new CSCStatic(this);
    message_area_->setObjectName(QStringLiteral("message"));
    message_area_->SetAlignment(Qt::AlignCenter);
    message_area_->hide();
    SetKoreanCaptions(is_korean_ui());
    resize(kDefaultWidth, kDefaultHeight);
    SetThemeStyle(0);
}

CSCMessageBox::~CSCMessageBox()
{
    if (loop_ != nullptr)
        loop_->quit();
}

void CSCMessageBox::CreateButtons()
{
    for (int code = kOk; code <= kContinue; ++code) {
        auto* button = new CGdiButton(this);
        button->setObjectName(QStringLiteral("answer_%1").arg(code));
        button->setProperty("controlId", kButtonIdBase + code);
        button->resize(kButtonWidth, kButtonHeight);
        button->SetHoverTracking(true);
        button->SetCornerRadius(8);
        button->SetBorder(true, kButtonBorder);
        button->SetFocusFrame(true, kFrameColor);
        button->SetTransparent(kArgbNone);
        button->hide();
        connect(button, &CGdiButton::leftReleased, this, [this, code] { Answer(code); });
        answer_buttons_[static_cast<std::size_t>(code - 1)] = button;
    }
    close_button_ = new CGdiButton(this);
    close_button_->setObjectName(QStringLiteral("close"));
    close_button_->setProperty("controlId", kCloseButtonId);
    close_button_->SetSystemGlyph(CGdiButton::kGlyphClose);
    close_button_->Set3dEdge(false);
    close_button_->SetHoverTracking(true);
    close_button_->setFocusPolicy(Qt::NoFocus);
    close_button_->resize(24, 21);
    connect(close_button_, &CGdiButton::hoverStarted, this, [this] { ApplyCloseButtonColors(true); });
    connect(close_button_, &CGdiButton::hoverEnded, this, [this] { ApplyCloseButtonColors(false); });
    connect(close_button_, &CGdiButton::leftReleased, this, [this] { Answer(kCancel); });
}

bool CSCMessageBox::Create(QWidget* parent, const QString& title, int caption_icon_id, bool modal, int width,
                           int height)
{
    if (parent != parentWidget())
        setParent(parent, windowFlags());
    // A window takes the application's font rather than its owner's; the box, unless given a font of
    // its own, speaks in its owner's (the title, the buttons, the message and its measurement).
    if (parent != nullptr && !testAttribute(Qt::WA_SetFont))
        setFont(parent->font());
    title_ = title;
    modal_ = modal;
    caption_icon_ = caption_icon_id == 0 ? QPixmap()
                                         : QIcon(QStringLiteral(":/icon/%1").arg(caption_icon_id))
                                               .pixmap(kCaptionIconSize, kCaptionIconSize);
    SetKoreanCaptions(is_korean_ui());
    if (width < 0 || height < 0) {
        width = kDefaultWidth;
        height = kDefaultHeight;
        auto_size_ = true;
    }
    resize(width, height);
    close_button_->move(width - 26, 2);
    SetThemeStyle(theme_.GetStyle());
    return true;
}

void CSCMessageBox::SetThemeStyle(int style)
{
    theme_.SetStyle(style);
    message_area_->SetBackColor(theme_.slot(CSCColorTheme::kBack));
    ApplyCloseButtonColors(close_button_->IsHovering());
    update();
}

void CSCMessageBox::ApplyCloseButtonColors(bool hover)
{
    close_button_->SetTextColor(theme_.slot(CSCColorTheme::kCaptionText));
    // The button adds 16 to its back colour while hovered; start 16 below the red it should show.
    close_button_->SetBackColor(hover ? AdjustColor(kCloseHoverColor, -kHoverDelta)
                                      : theme_.slot(CSCColorTheme::kCaptionBack));
}

void CSCMessageBox::SetKoreanCaptions(bool korean)
{
    korean_ = korean;
    for (int code = kOk; code <= kContinue; ++code)
        answer_buttons_[static_cast<std::size_t>(code - 1)]->setText(ButtonCaption(code, korean));
}

QString CSCMessageBox::ButtonCaption(int code, bool korean)
{
    if (code < kOk || code > kContinue)
        return {};
    const Captions& captions = kCaptions[code - 1];
    return QString::fromUtf8(korean ? captions.korean : captions.english);
}

std::vector<int> CSCMessageBox::ButtonSet(unsigned flags)
{
    switch (flags & 0x0Fu) {
    case kOkCancel: return {kOk, kCancel};
    case kAbortRetryIgnore: return {kAbort, kRetry, kIgnore};
    case kYesNoCancel: return {kYes, kNo, kCancel};
    case kYesNo: return {kYes, kNo};
    case kRetryCancel: return {kRetry, kCancel};
    case kCancelTryContinue: return {kCancel, kTryAgain, kContinue};
    default: return {kOk};
    }
}

CGdiButton* CSCMessageBox::GetAnswerButton(int code) const
{
    return code >= kOk && code <= kContinue ? answer_buttons_[static_cast<std::size_t>(code - 1)] : nullptr;
}

void CSCMessageBox::SetTitle(const QString& title)
{
    title_ = title;
    update(0, 0, width(), kCaptionHeight);
}

QString CSCMessageBox::GetCaptionText() const
{
    if (countdown_timer_.isActive() && countdown_ > 0)
        return QStringLiteral("%1 (%2)").arg(title_).arg(countdown_);
    return title_;
}

void CSCMessageBox::SetMessage(const QString& text, unsigned flags, int countdown_seconds,
                               std::optional<Qt::Alignment> alignment)
{
    message_ = text;
    flags_ = flags;
    if (countdown_seconds > 0)
        countdown_ = countdown_seconds;
    if (alignment)
        alignment_ = *alignment;

    switch (flags & 0xF0u) {
    case kIconError: icon_index_ = kIconIndexError; break;
    case kIconQuestion: icon_index_ = kIconIndexQuestion; break;
    case kIconWarning: icon_index_ = kIconIndexWarning; break;
    case kIconInformation: icon_index_ = kIconIndexInformation; break;
    default: icon_index_ = -1; break;
    }

    int w = width();
    int h = height();
    QString shown = text;
    if (auto_size_) {
        const QSize text_size = fontMetrics().size(0, text);
        const int chrome = icon_index_ >= 0 ? kIconChrome : kSideChrome;
        w = std::max(kMinWidth, text_size.width() + chrome);
        if (w > kMaxWidth) {
            w = kMaxWidth;
            shown = WrapToWidth(text, font(), kMaxWidth - chrome);
            // The height stays unless the broken lines need more.
            h = std::max(h, fontMetrics().size(0, shown).height() + kVerticalChrome);
        } else {
            h = std::max(kMinHeight, text_size.height() + kVerticalChrome);
        }
        resize(w, h);
        close_button_->move(w - 26, 2);
    }

    PlaceButtons(ButtonSet(flags));

    message_area_->setGeometry(kMessageMargin, kMessageTop, w - 2 * kMessageMargin, h - kVerticalChrome);
    message_area_->SetText(shown);
    message_area_->SetAlignment(alignment_);
    if (icon_index_ >= 0)
        message_area_->SetIcon(icons_[static_cast<std::size_t>(icon_index_)], kMessageIconSize, kMessageIconSize, true);
    else
        message_area_->SetIcon(QPixmap(), 0, 0, false);
    message_area_->show();
    update();
}

void CSCMessageBox::PlaceButtons(const std::vector<int>& codes)
{
    for (CGdiButton* button : answer_buttons_)
        button->hide();
    const int n = static_cast<int>(codes.size());
    const int row_width = n * kButtonWidth + (n - 1) * kButtonGap;
    int x = (width() - row_width) / 2;
    const int y = height() - kButtonHeight - kButtonRowMargin;
    for (int code : codes) {
        CGdiButton* button = GetAnswerButton(code);
        button->setGeometry(x, y, kButtonWidth, kButtonHeight);
        button->show();
        x += kButtonWidth + kButtonGap;
    }
}

void CSCMessageBox::CentreOnParent()
{
    QRect area;
    if (parentWidget() != nullptr)
        area = parentWidget()->window()->frameGeometry();
    else if (screen() != nullptr)
        area = screen()->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

int CSCMessageBox::ShowMessage(const QString& text, unsigned flags, int countdown_seconds)
{
    if (loop_ != nullptr)
        return kNoAnswer;  // already waiting for an answer
    countdown_timer_.stop();
    result_ = kNoAnswer;
    modal_ = true;
    // Every message brings its own countdown: one left over from an earlier box that was answered
    // early must not close this one by itself.
    countdown_ = std::max(0, countdown_seconds);
    if (!text.isEmpty())
        SetMessage(text, flags, countdown_seconds);

    CentreOnParent();
    // The owner takes no input while the box waits, as if disabled.
    setWindowModality(parentWidget() != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    // The keyboard starts on the answer Enter gives; a screen reader reads the box out.
    GetAnswerButton(ButtonSet(flags_).front())->setFocus(Qt::ActiveWindowFocusReason);
    NotifyAccessibility(this, QAccessible::Alert);
    if (countdown_ > 0)
        countdown_timer_.start();

    QEventLoop loop;
    loop_ = &loop;
    const QPointer<CSCMessageBox> alive(this);
    if (result_ == kNoAnswer)
        loop.exec();
    if (alive.isNull())
        return kCancel;  // destroyed with its owner while waiting
    loop_ = nullptr;
    countdown_timer_.stop();
    hide();
    return result_;
}

void CSCMessageBox::Answer(int code)
{
    result_ = code;
    countdown_timer_.stop();
    emit Answered(code);
    if (loop_ != nullptr)
        loop_->quit();
    else if (!modal_)
        hide();
}

void CSCMessageBox::OnCountdownTick()
{
    countdown_ = std::max(0, countdown_ - 1);
    emit CountdownTicked(countdown_);
    if (countdown_ == 0) {
        Answer(kOk);
        return;
    }
    update(0, 0, width(), kCaptionHeight);
}

void CSCMessageBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(0, 0, width(), kCaptionHeight, theme_.color(CSCColorTheme::kCaptionBack));
    int title_left = 8;
    if (!caption_icon_.isNull()) {
        painter.drawPixmap(8, (kCaptionHeight - kCaptionIconSize) / 2, kCaptionIconSize, kCaptionIconSize,
                           caption_icon_);
        title_left = 32;
    }
    painter.setFont(font());
    painter.setPen(theme_.color(CSCColorTheme::kCaptionText));
    painter.drawText(QRect(title_left, 0, std::max(0, width() - title_left), kCaptionHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, GetCaptionText());
    painter.setPen(ToPlatformColor(kFrameColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSCMessageBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Answer(kCancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter answers with the focused button, else with the first of the set.
        const auto* focused = qobject_cast<const CGdiButton*>(focusWidget());
        for (int code = kOk; code <= kContinue; ++code) {
            if (GetAnswerButton(code) == focused && focused->isVisible()) {
                Answer(code);
                return;
            }
        }
        Answer(ButtonSet(flags_).front());
        return;
    }
    default:
        // No dialog keys otherwise: the box is ended only by an answer.
        QWidget::keyPressEvent(event);
    }
}

void CSCMessageBox::closeEvent(QCloseEvent* event)
{
    // Closed by the window system: the same answer as the close button.
    event->ignore();
    if (result_ == kNoAnswer && isVisible())
        Answer(kCancel);
}

void CSCMessageBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < kCaptionHeight)
        drag_.Begin(this, event);
}

void CSCMessageBox::mouseMoveEvent(QMouseEvent* event)
{
    drag_.Follow(this, event);
}

void CSCMessageBox::mouseReleaseEvent(QMouseEvent*)
{
    drag_.End();
}
