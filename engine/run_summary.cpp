#include "engine/run_summary.h"

#include "engine/result_meaning.h"
#include "engine/run_report_rows.h"
#include "engine/try_figures.h"
#include "report/check_colors.h"

std::vector<SummaryCheck> summary_checks(const std::vector<RunRow>& rows) {
    const ReportRowTable cells = run_report_rows(rows);
    std::vector<SummaryCheck> checks;
    for (size_t r = 0; r < rows.size(); ++r) {
        const RunRow& row = rows[r];
        const CCheckParam& record = row.record;
        SummaryCheck check;
        check.name = row.item.name;
        for (int c = 0; c < cells.column_count(); ++c)
            check.cells.push_back(cells.cell_text(static_cast<int>(r), c));
        const CheckColors colors = check_colors(record.result.code, record.elapsed_ms);
        check.row_color = colors.row;
        check.elapsed_color = colors.elapsed;
        check.code = record.result.code;
        check.failed = check.code != 0;
        check.message = result_code_message(record.result.code, record.result.message_id);
        if (check.failed) check.meaning = usual_meaning(check.code);
        check.detail = record.detail;
        for (const CheckTry& t : record.tries) {
            const bool ok = t.result.code == 0;
            check.tries.push_back({t.elapsed_ms, ok, try_color(t.elapsed_ms, ok)});
        }
        check.figures = try_figures(record.tries);
        if (record.transport) {
            check.proxy = record.transport->proxy;
            if (const auto& certificate = record.transport->certificate)
                check.tls = SummaryTls{certificate->subject,   certificate->issuer, certificate->not_before,
                                       certificate->not_after, certificate->sha256, certificate->verified};
        }
        checks.push_back(std::move(check));
    }
    return checks;
}
