#include "app/CDiagLogDlg.h"

namespace {

enum Column { kCategory, kTime, kTarget, kPort, kElapsed, kResult, kRemark };

}  // namespace

CDiagLogDlg::CDiagLogDlg(QWidget* parent)
    : CDiagPage(parent, QStringLiteral("구분,56;진단 시각,65;진단 대상,200;포트,45;시간,70;결과,60;비고,70"),
                QStringLiteral("list log"))
{
    list().SetColumnAlignment(-1, CVtListCtrlEx::kAlignCenter);
    list().SetColumnAlignment(kTarget, CVtListCtrlEx::kAlignLeft);
    list().SetColumnAlignment(kPort, CVtListCtrlEx::kAlignRight);
    list().SetColumnAlignment(kElapsed, CVtListCtrlEx::kAlignRight);
}

int CDiagLogDlg::AddLogRow(const QString& text)
{
    const int row = list().AddRow(-1, text, QStringLiteral("|"));
    list().ScrollToRow(row);
    return row;
}

void CDiagLogDlg::CompleteLogRow(int row, const LogRowCompletion& completion)
{
    CVtListCtrlEx& rows = list();
    if (row < 0)
        row = rows.GetRowCount() - 1;
    if (row < 0 || row >= rows.GetRowCount())
        return;
    if (!completion.elapsed.empty())
        rows.SetItemText(row, kElapsed, QString::fromStdString(completion.elapsed));
    rows.SetItemText(row, kResult, QString::fromStdString(completion.result));
    rows.SetItemText(row, kRemark, QString::fromStdString(completion.code));
    if (completion.elapsed_color != kKeepColor)
        rows.SetCellTextColor(row, kElapsed, completion.elapsed_color);
    if (completion.row_color != kKeepColor)
        rows.SetCellTextColor(row, -1, completion.row_color);
}
