// Progress bars by position, style and marquee, and the log-collection progress window.
#include "ui/CMacProgressCtrl.h"
#include "ui/CSCProgressDlg.h"
#include "ui/gallery/page_layout.h"

namespace {

CMacProgressCtrl* Bar(int position, int maximum = 11)
{
    auto* bar = new CMacProgressCtrl;
    bar->setFixedSize(278, 14);
    bar->SetRange(0, maximum);
    bar->SetPos(position);
    return bar;
}

}  // namespace

QWidget* MakeProgressPage()
{
    QWidget* page = NewWhitePage();
    GalleryPageLayout layout(page, QStringLiteral("CMacProgressCtrl, CSCProgressDlg"));

    layout.Add(QStringLiteral("defaults, 3 of 11"), Bar(3));
    layout.Add(QStringLiteral("SetBarColor(royal blue), 7 of 11"), Bar(7))->SetBarColor(QColor(65, 105, 225));
    layout.Add(QStringLiteral("product colour, complete"), Bar(11))->SetBarColor(QColor(0x61, 0x84, 0xB4));

    CMacProgressCtrl* text = layout.Add(QStringLiteral("text, two colours"), Bar(5));
    text->setFixedSize(278, 20);
    text->SetBarColor(QColor(65, 105, 225));
    text->SetShowText(true);
    text->SetTextColors(Qt::white, Qt::black, true);
    text->SetBorder(true);

    CMacProgressCtrl* count = layout.Add(QStringLiteral("position / range, shaded"), Bar(4));
    count->setFixedSize(278, 20);
    count->SetBarColor(QColor(0x20, 0xB2, 0xAE));
    count->SetShaded(true);
    count->SetShowText(true, 1);

    CMacProgressCtrl* line = layout.Add(QStringLiteral("line style"), Bar(6));
    line->SetStyle(1);
    line->SetBkColor(Qt::white);
    line->SetTrackColor(QColor(0xD5, 0xDA, 0xE2));
    line->SetBarColorOnly(QColor(0xD6, 0x81, 0x08));

    CMacProgressCtrl* marquee = layout.Add(QStringLiteral("marquee"), Bar(0));
    marquee->SetMarquee(true);  // keeps moving while the gallery is open
    for (int i = 0; i < 40; ++i)
        marquee->StepMarquee();

    // The window as the main window configures it for log collection, embedded in the page.
    auto* dialog = new CSCProgressDlg;
    dialog->Create(nullptr,
                   QStringLiteral("시스템 정보 및 로그를 수집중입니다.\n\n수집이 완료되면 윈도우 탐색기가 실행되며\n"
                                  "해당 파일을 확인할 수 있습니다."),
                   0, 0, 320, 120);
    dialog->setWindowFlags(Qt::Widget);
    dialog->setFixedSize(320, 120);
    dialog->Label().SetTextColor(0xFF000000);
    dialog->SetColor(0xFFFFFFFF);
    dialog->Bar().SetBarColorOnly(QColor(65, 105, 225));
    dialog->Bar().SetRange(0, 11);
    for (int i = 0; i < 3; ++i)
        dialog->StepIt();
    layout.AddRow(QStringLiteral("progress window"), dialog);

    layout.AddStretch();
    page->resize(640, 520);
    return page;
}
