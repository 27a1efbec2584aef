#include "app/CTarvoCheckToolApp.h"

#include <clocale>

#include "app/CTarvoCheckToolDlg.h"
#include "log/CSCLog.h"
#include "ui/ui_init.h"

CTarvoCheckToolApp::Outcome CTarvoCheckToolApp::InitInstance(const ArchiveUploadOptions& upload)
{
    if (!instance_.Acquire())
        return Outcome::kOtherCopyRuns;

    InitControlLibrary();
    std::setlocale(LC_ALL, "");
    g_log->show_function = false;
    g_log->write_start_log();

    CTarvoCheckToolDlg dialog;
    dialog.SetArchiveUpload(upload);
    QObject::connect(&instance_, &SingleInstance::ActivationRequested, &dialog, &CTarvoCheckToolDlg::BringToFront);
    dialog.DoModal();
    return Outcome::kRan;
}
