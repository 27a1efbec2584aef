// The step list as the main window shows it before, during and after a run, and horizontally.
#include "ui/CSCStepCtrl.h"
#include "ui/gallery/page_layout.h"

#include <QHBoxLayout>

namespace {

constexpr ARGB kProduct = 0xFF6184B4;
const char* const kGroups[] = {"관리자 계정", "API 서버", "게이트웨이 서버", "세션 서버", "업데이트 서버"};

CSCStepCtrl* MainWindowSteps(ARGB product = kProduct)
{
    auto* steps = new CSCStepCtrl;
    steps->setFixedSize(210, 200);
    steps->SetHorizontal(false);
    steps->SetMargins(0, 2, 0, 2);
    steps->SetBackColor(0xFFFFFFFF);
    steps->SetCurrentStep(-1);
    steps->SetStepCount(5);
    steps->SetStepFillColor(-1, product);
    steps->SetStepTextColor(product);
    for (int j = 0; j < 5; ++j)
        steps->SetStepText(j, QString::fromUtf8(kGroups[j]) + QStringLiteral(" 체크"));
    return steps;
}

QString Group(int j)
{
    return QString::fromUtf8(kGroups[j]);
}

}  // namespace

QWidget* MakeStepPage()
{
    QWidget* page = NewWhitePage();
    GalleryPageLayout layout(page, QStringLiteral("CSCStepCtrl"));

    auto* row = new QWidget;
    auto* columns = new QHBoxLayout(row);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(24);

    columns->addWidget(MainWindowSteps());  // loaded, before the first run

    CSCStepCtrl* running = MainWindowSteps();
    running->ResetStepColors();
    for (int j = 0; j < 5; ++j)
        running->SetStepText(j, Group(j) + QStringLiteral(" 체크"));
    running->SetStepText(0, Group(0) + QStringLiteral(" 체크 완료"));
    running->SetStepText(1, Group(1) + QStringLiteral(" 체크 완료 (2/2)"));
    running->SetCurrentStep(2);
    running->SetStepText(2, Group(2) + QStringLiteral(" 체크중 (1/3)"));
    columns->addWidget(running);

    CSCStepCtrl* finished = MainWindowSteps();
    finished->ResetStepColors();
    finished->SetStepText(0, Group(0) + QStringLiteral(" 체크 완료"));
    finished->SetStepText(1, Group(1) + QStringLiteral(" 체크 완료 (2/2)"));
    finished->SetStepFillColor(2, 0xFFB22222);
    finished->SetStepText(2, Group(2) + QStringLiteral(" 체크 실패 (3/3)"), 0xFFB22222);
    finished->SetStepText(3, Group(3) + QStringLiteral(" 체크 중지 (1/2)"), 0xFFA0522D);
    finished->SetStepText(4, Group(4) + QStringLiteral(" 체크"));
    finished->SetCurrentStep(5);
    columns->addWidget(finished);
    layout.AddRow(QStringLiteral("loaded / running / finished"), row);

    // An unknown product's light grey: the rings keep it, the captions take a readable shade of it.
    layout.AddRow(QStringLiteral("unknown product (0xFFD3D3D3)"), MainWindowSteps(0xFFD3D3D3));

    auto* horizontal = new CSCStepCtrl;
    horizontal->setFixedSize(560, 60);
    horizontal->SetMargins(32, 8, 32, 8);
    horizontal->SetStepCount(5);
    horizontal->SetBackColor(0xFFFFFFFF);
    for (int j = 0; j < 5; ++j)
        horizontal->SetStepText(j, QStringLiteral("단계 %1").arg(j + 1));
    horizontal->SetCurrentStep(2);
    layout.AddRow(QStringLiteral("horizontal, defaults"), horizontal);

    auto* squares = new CSCStepCtrl;
    squares->setFixedSize(560, 60);
    squares->SetMargins(32, 8, 32, 8);
    squares->SetStepCount(4);
    squares->SetShape(CSCStepCtrl::kSquare);
    squares->SetBackColor(0xFFFFFFFF);
    for (int j = 0; j < 4; ++j)
        squares->SetStepText(j, QStringLiteral("사각형 %1").arg(j + 1));
    squares->SetCurrentStep(1);
    layout.AddRow(QStringLiteral("square shape"), squares);

    layout.AddStretch();
    page->resize(900, 460);
    return page;
}
