#include "app/CDiagErrorCodeDlg.h"

#include "engine/result_code.h"
#include "res/string_table.h"
#include "res/window_texts.h"
#include "sys/error_text.h"

namespace {

// The system codes the page explains: the operating system's from 100 on, and the HTTP client's.
constexpr int kFirstSystemCode = 100;
constexpr int kLastSystemCode = 12174;

}  // namespace

CDiagErrorCodeDlg::CDiagErrorCodeDlg(QWidget* parent)
    : CDiagPage(parent, column_spec({{text::kErrorCode, 80}, {text::kColumnDescription, 400}}),
                QStringLiteral("list log"))
{
    list().SetColumnAlignment(0, CVtListCtrlEx::kAlignCenter);
    list().EnableSort(false);
    list().EnableHeaderClick(false);
    FillCodes();
}

void CDiagErrorCodeDlg::FillCodes()
{
    QString text;
    for (const auto& [code, message_id] : g_result_codes.snapshot()) {
        const std::string message = message_id > 0 ? load_string(message_id) : std::string();
        text += QStringLiteral("%1|%2\n").arg(code).arg(QString::fromStdString(message));
    }
    list().AddRowsFromText(text.trimmed(), QStringLiteral("|"), true);

    for (const int code : known_error_codes()) {
        if (code < kFirstSystemCode || code > kLastSystemCode)
            continue;
        const std::string message = error_text(code);
        if (message.empty() || is_unknown_error_text(message))
            continue;
        const int row = list().InsertItem(-1, QString::number(code), -1, false, false);
        list().SetItemText(row, 1, QString::fromStdString(message), false);
    }
    list().viewport()->update();
}
