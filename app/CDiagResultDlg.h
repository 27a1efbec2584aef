#pragma once

#include <string>
#include <vector>

#include "app/diag_page.h"

// The diagnosis-result page: one row per failed check after a run, or a message while it has none.
class CDiagResultDlg : public CDiagPage {
    Q_OBJECT

public:
    explicit CDiagResultDlg(QWidget* parent = nullptr);

    // Rows "Fail|category|content"; replaces what the page showed.
    void SetResultRows(const std::vector<std::string>& rows);
};
