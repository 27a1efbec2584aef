#pragma once

#include "app/diag_page.h"
#include "engine/run_view.h"

// The diagnosis-log page: one row per executed check, completed with its time and result.
class CDiagLogDlg : public CDiagPage {
    Q_OBJECT

public:
    explicit CDiagLogDlg(QWidget* parent = nullptr);

    // Appends a row (cells joined by "|"), scrolls it into view and returns its index.
    int AddLogRow(const QString& text);
    // Writes a finished check's time, result and code into its row; a negative row means the last.
    void CompleteLogRow(int row, const LogRowCompletion& completion);
};
