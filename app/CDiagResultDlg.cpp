#include "app/CDiagResultDlg.h"

#include "app/run_look.h"
#include "res/report_texts.h"
#include "res/window_texts.h"

CDiagResultDlg::CDiagResultDlg(QWidget* parent)
    : CDiagPage(parent,
                column_spec({{text::kColumnResult, 56}, {text::kColumnCategory, 100}, {text::kColumnContent, 400}}),
                QStringLiteral("list result"))
{
    list().SetColumnAlignment(-1, CVtListCtrlEx::kAlignCenter);
    list().SetColumnAlignment(2, CVtListCtrlEx::kAlignLeft);
}

void CDiagResultDlg::SetResultRows(const std::vector<std::string>& rows)
{
    CVtListCtrlEx& out = list();
    out.DeleteAllRows();
    for (const std::string& row : rows) {
        const int index = out.AddRow(-1, QString::fromStdString(row), QStringLiteral("|"), -1, false, false);
        out.SetCellTextColor(index, 0, kStepFailedColor);
    }
    out.viewport()->update();
}
