#include "ui/CSCProgressDlg.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWindow>

namespace {

constexpr int kBorder = 1;
constexpr QRgb kBorderColour = 0xFF808080;

// The client area paints the window's background; the label and the bar sit on it.
class ProgressClient : public QWidget {
public:
    ProgressClient(QWidget* parent, const ARGB& colour) : QWidget(parent), colour_(colour)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ToPlatformColor(colour_));
    }

private:
    const ARGB& colour_;
};

}  // namespace

CSCProgressDlg::CSCProgressDlg(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint),
      back_colour_(ToARGB(QGuiApplication::palette().color(QPalette::Button)))
{
    client_ = new ProgressClient(this, back_colour_);
    label_ = new CSCStatic(client_);
    label_->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    bar_ = new CMacProgressCtrl(client_);
    hide_timer_.setSingleShot(true);
    connect(&hide_timer_, &QTimer::timeout, this, &QWidget::hide);
}

bool CSCProgressDlg::Create(QWidget* owner, const QString& text, int left, int top, int right, int bottom)
{
    if (owner != nullptr && owner != parentWidget())
        setParent(owner, windowFlags());
    const QFont window_font = owner != nullptr ? owner->font() : font();
    setFont(window_font);
    label_->setFont(window_font);
    setGeometry(left, top, right - left, bottom - top);
    LayOut();
    bar_->show();
    label_->SetText(text);
    return true;
}

void CSCProgressDlg::SetColor(ARGB colour)
{
    back_colour_ = colour;
    bar_->SetBkColor(ToPlatformColor(colour));
    if (colour != kArgbNone)
        label_->SetBackColor(colour);  // square labels drop their parent colour here
    bar_->update();
    label_->update();
    client_->update();
    update();
}

void CSCProgressDlg::HideAfter(int milliseconds)
{
    hide_timer_.start(milliseconds);
}

void CSCProgressDlg::LayOut()
{
    client_->setGeometry(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
    const int w = client_->width();
    const int h = client_->height();
    const int l = static_cast<int>(h - 0.16 * h - 14);
    bar_->setGeometry(QRect(QPoint(20, l), QPoint(w - 20 - 1, l + 14 - 1)));
    label_->setGeometry(QRect(QPoint(20, 8), QPoint(w - 20 - 1, l - 8 - 1)));
}

void CSCProgressDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor::fromRgb(kBorderColour));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CSCProgressDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CSCProgressDlg::mousePressEvent(QMouseEvent* event)
{
    if (draggable_ && event->button() == Qt::LeftButton && windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}
