#pragma once

#include "app/diag_page.h"

// The error-code page: the program's result codes, then every system code with a known message, for
// looking up the number a failed check shows. Filled once.
class CDiagErrorCodeDlg : public CDiagPage {
    Q_OBJECT

public:
    explicit CDiagErrorCodeDlg(QWidget* parent = nullptr);

private:
    void FillCodes();
};
