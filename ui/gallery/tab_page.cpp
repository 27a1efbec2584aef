// The result pages' tab strip: look flags 31 on white, and the toolkit's own look for comparison.
#include "ui/CEnTabCtrl.h"
#include "ui/gallery/page_layout.h"

#include <QLabel>

namespace {

CEnTabCtrl* ResultTabs(int selected)
{
    auto* tabs = new CEnTabCtrl;
    tabs->SetBkgndColor(QColor(255, 255, 255));
    tabs->SetItemSize(QSize(160, 24));
    tabs->SetMinTabWidth(100);
    for (const char* title : {"진단 로그", "진단 결과", "에러 코드"}) {
        auto* body = new QLabel(QStringLiteral("  %1").arg(QString::fromUtf8(title)));
        body->setAutoFillBackground(true);
        QPalette palette = body->palette();
        palette.setColor(QPalette::Window, Qt::white);
        body->setPalette(palette);
        tabs->addTab(body, QString::fromUtf8(title));
    }
    tabs->setCurrentIndex(selected);
    tabs->setFixedSize(560, 90);
    return tabs;
}

}  // namespace

QWidget* MakeTabPage()
{
    // The look is shared by every tab control of the process, as the main window sets it.
    CEnTabCtrl::EnableCustomLook(31);
    QWidget* page = NewWhitePage();
    GalleryPageLayout layout(page, QStringLiteral("CEnTabCtrl"));
    layout.AddRow(QStringLiteral("look 31, first selected"), ResultTabs(0));
    layout.AddRow(QStringLiteral("look 31, second selected"), ResultTabs(1));
    layout.AddRow(QStringLiteral("look 31, last selected"), ResultTabs(2));
    layout.AddStretch();
    page->resize(760, 380);
    return page;
}
