#include "app/CDiagLogDlg.h"

#include "res/report_texts.h"

namespace {

enum Column { kCategory, kTime, kTarget, kPort, kElapsed, kResult, kRemark };

}  // namespace

CDiagLogDlg::CDiagLogDlg(QWidget* parent)
    : CDiagPage(parent,
                column_spec({{text::kColumnCategory, 56},
                             {text::kColumnTime, 65},
                             {text::kColumnTarget, 200},
                             {text::kColumnPort, 45},
                             {text::kColumnElapsed, 70},
                             {text::kColumnResult, 60},
                             {text::kColumnNote, 70}}),
                QStringLiteral("list log"))
{
    list().SetColumnAlignment(-1, CVtListCtrlEx::kAlignCenter);
    list().SetColumnAlignment(kTarget, CVtListCtrlEx::kAlignLeft);
    list().SetColumnAlignment(kPort, CVtListCtrlEx::kAlignRight);
    list().SetColumnAlignment(kElapsed, CVtListCtrlEx::kAlignRight);
}

void CDiagLogDlg::AddLogRow(int run_row, const QString& text)
{
    const int row = list().AddRow(-1, text, QStringLiteral("|"));
    // The run's number travels with the row through every sort.
    list().SetItemData(row, static_cast<std::uint32_t>(run_row));
    list().ScrollToRow(row);
}

int CDiagLogDlg::ListRowOf(int run_row) const
{
    if (run_row < 0)
        return -1;
    const CVtListCtrlEx& rows = list();
    for (int row = 0; row < rows.GetRowCount(); ++row) {
        if (rows.GetItemData(row) == static_cast<std::uint32_t>(run_row))
            return row;
    }
    return -1;
}

void CDiagLogDlg::CompleteLogRow(int run_row, const LogRowCompletion& completion)
{
    const int row = ListRowOf(run_row);
    if (row < 0)
        return;
    CVtListCtrlEx& rows = list();
    if (!completion.elapsed.empty())
        rows.SetItemText(row, kElapsed, QString::fromStdString(completion.elapsed));
    rows.SetItemText(row, kResult, QString::fromStdString(completion.result));
    rows.SetItemText(row, kRemark, QString::fromStdString(completion.code));
    if (completion.elapsed_color != kKeepColor)
        rows.SetCellTextColor(row, kElapsed, completion.elapsed_color);
    if (completion.row_color != kKeepColor)
        rows.SetCellTextColor(row, -1, completion.row_color);
}
