#pragma once

#include "app/diag_page.h"
#include "app/run_look.h"

// The diagnosis-log page: one row per executed check, completed with its time and result.
class CDiagLogDlg : public CDiagPage {
    Q_OBJECT

public:
    explicit CDiagLogDlg(QWidget* parent = nullptr);

    // Appends the run's row of that number (cells joined by "|") and scrolls it into view.
    void AddLogRow(int run_row, const QString& text);
    // Writes a finished check's time, result and code into the run's row of that number, wherever
    // sorting has moved it; an unknown number changes nothing.
    void CompleteLogRow(int run_row, const LogRowCompletion& completion);

private:
    int ListRowOf(int run_row) const;
};
