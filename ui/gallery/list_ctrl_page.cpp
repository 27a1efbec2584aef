// The list control as the result pages use it: the diagnosis log with coloured times, a failed row,
// a selected row and a sorted column; beside it an empty list showing its message.
#include "ui/CHeaderCtrlEx.h"
#include "ui/CVtListCtrlEx.h"
#include "ui/ui_fonts.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace {

CVtListCtrlEx* MakeResultList(QWidget* parent, const QString& columns)
{
    auto* list = new CVtListCtrlEx(parent);
    list->SetColumns(columns);
    list->SetFontSize(9);
    list->SetHeaderHeight(26);
    list->SetRowHeight(26);
    list->SetColumnAlignment(-1, CVtListCtrlEx::kAlignCenter);
    list->SetColumnAlignment(2, CVtListCtrlEx::kAlignLeft);
    list->SetThemeColor(CSCColorTheme::kText, 0xFF404040);
    list->SetThemeColor(CSCColorTheme::kAlternateBack,
                        AdjustColor(list->GetColorTheme().slot(CSCColorTheme::kBack), -10));
    list->EnableAlternateRows(true);
    list->SetAutoFillColumn(list->GetColumnCount() - 1);  // the rows reach the list's right edge
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette frame = list->palette();
    frame.setColor(QPalette::WindowText, QColor(0xA9, 0xA9, 0xA9));
    list->setPalette(frame);
    return list;
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(DefaultFont(9, true));
    return label;
}

}  // namespace

QWidget* MakeListCtrlPage()
{
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    page->setPalette(QPalette(Qt::white));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);

    layout->addWidget(Caption(QStringLiteral("진단 로그 — per-cell colours, a failed row, selection, sorted by 시각"), page));
    CVtListCtrlEx* log =
        MakeResultList(page, QStringLiteral("구분,56;진단 시각,65;진단 대상,200;포트,45;시간,70;결과,60;비고,70"));
    log->SetColumnAlignment(3, CVtListCtrlEx::kAlignRight);
    log->SetColumnAlignment(4, CVtListCtrlEx::kAlignRight);
    log->AddRowsFromText(QStringLiteral("관리자|09:41:02|관리자 계정||12ms|Ok|\n"
                                        "API|09:41:03|10****3|443|38ms|Ok|\n"
                                        "게이트웨이|09:41:05|10******40|7002|74ms|Ok|\n"
                                        "세션|09:41:08|172*****11|7001|212ms|Ok|\n"
                                        "프록시|09:41:11|10****8|8080|3012ms|Fail|90103\n"
                                        "업데이트|09:41:15|update.example|80|415ms|Ok|\n"
                                        "웹|09:41:17|www.example|443|49ms|Ok|"),
                         QStringLiteral("|"), true);
    const ARGB time_colours[] = {0xFF007F00, 0xFF007F00, 0xFF20A5DA, 0xFF507FFF, 0, 0xFF00008B, 0xFF007F00};
    for (int row = 0; row < log->GetRowCount(); ++row) {
        if (time_colours[row] != 0)
            log->SetCellTextColor(row, 4, time_colours[row]);
    }
    log->SetCellTextColor(4, -1, 0xFFB22222);
    log->SortByColumn(1, false);
    log->SortByColumn(1, false);  // second click: ascending
    log->SelectRow(2);
    log->setMinimumSize(590, 230);
    layout->addWidget(log);

    layout->addWidget(Caption(QStringLiteral("진단 결과 — empty list with its message"), page));
    CVtListCtrlEx* result = MakeResultList(page, QStringLiteral("결과,56;구분,100;내용,400"));
    result->SetEmptyText(QStringLiteral("진단 실패 항목이 없습니다."), 9, 0xFF696969);
    result->setMinimumSize(590, 120);
    layout->addWidget(result);

    layout->addWidget(Caption(QStringLiteral("에러 코드 — header not clickable (dividers still drag)"), page));
    CVtListCtrlEx* codes = MakeResultList(page, QStringLiteral("에러 코드,80;설명,400"));
    codes->SetColumnAlignment(-1, CVtListCtrlEx::kAlignLeft);
    codes->SetColumnAlignment(0, CVtListCtrlEx::kAlignCenter);
    codes->EnableSort(false);
    codes->EnableHeaderClick(false);
    codes->AddRowsFromText(QStringLiteral("0|진단 성공\n90001|사용자에 의해 진단이 취소되었습니다.\n"
                                          "12002|The operation timed out"),
                           QStringLiteral("|"), true);
    codes->setMinimumSize(590, 110);
    layout->addWidget(codes);
    return page;
}
