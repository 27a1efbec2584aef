// The themed frame in every product style, with the caption buttons; the close button of the last
// frame is shown hot. The frames are shown inside the page here.
#include "ui/CSCSystemButtons.h"
#include "ui/CSCThemeDlg.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>

namespace {

CSCThemeDlg* EmbeddedFrame(QWidget* page, int style, bool bold)
{
    auto* frame = new CSCThemeDlg(page);
    frame->setWindowFlags(Qt::Widget);
    frame->setFixedSize(560, 96);
    frame->SetBoldTitle(bold);
    CSCSystemButtons* buttons = frame->GetSystemButtons();
    buttons->RemoveAllButtons();
    buttons->AddButton(CSCSystemButtons::kCommandKeepOnTop);
    buttons->AddButton(CSCSystemButtons::kCommandHelp);
    buttons->AddButton(kCommandMinimize);
    buttons->AddButton(kCommandMaximize);
    buttons->AddButton(kCommandClose);
    frame->SetThemeStyle(style);
    auto* body = new QLabel(QStringLiteral("Client area of style %1").arg(style), frame);
    body->setGeometry(16, 48, 400, 30);
    return frame;
}

void MakeHot(CSCSystemButtons* buttons, int index)
{
    const QPointF point = buttons->GetButtonRect(index).center();
    QMouseEvent move(QEvent::MouseMove, point, buttons->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(buttons, &move);
}

}  // namespace

QWidget* MakeThemeDlgPage()
{
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    page->setPalette(QPalette(QColor(0xF0, 0xF0, 0xF0)));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);
    CSCThemeDlg* last = nullptr;
    for (int style : {6, 7, 8, 9, 10, 0}) {
        last = EmbeddedFrame(page, style, style == 8);
        layout->addWidget(last);
    }
    last->setWindowTitle(QStringLiteral("Check Tool — style 0, caption icon, close button hot"));
    last->SetCaptionIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(20, 20));
    MakeHot(last->GetSystemButtons(), 4);
    return page;
}
