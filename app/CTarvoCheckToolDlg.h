#pragma once

#include <QBasicTimer>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "app/CDiagErrorCodeDlg.h"
#include "app/CDiagLogDlg.h"
#include "app/CDiagResultDlg.h"
#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "app/input_blocker.h"
#include "app/run_presenter.h"
#include "app/ui_thread_run_events.h"
#include "app/window_run_view.h"
#include "app/window_save_log_observer.h"
#include "engine/archive_upload.h"
#include "engine/save_log.h"
#include "ui/CEnTabCtrl.h"
#include "ui/CGdiButton.h"
#include "ui/CMacProgressCtrl.h"
#include "ui/CSCMessageBox.h"
#include "ui/CSCProgressDlg.h"
#include "ui/CSCStatic.h"
#include "ui/CSCStepCtrl.h"
#include "ui/CSCThemeDlg.h"

// The tool's only window: loads the check list when it opens, starts and stops diagnosis runs,
// starts the log collection, and shows progress and results. Runs and collections work on threads
// of their own and never touch the controls: a run's events reach its presenter on this window's
// thread, and the collection's observer carries out each call here while the worker waits.
class CTarvoCheckToolDlg : public CSCThemeDlg {
    Q_OBJECT

public:
    explicit CTarvoCheckToolDlg(QWidget* parent = nullptr);
    ~CTarvoCheckToolDlg() override;

    // Sets up the controls and loads the check list. False when loading failed: the reason has been
    // shown and the window must close without ever being shown.
    bool OnInitDialog();
    // Initialises the window and, when the check list loaded, shows it until it closes.
    int DoModal();

    // Starts a run when idle, stops the running one otherwise (the start button and Enter).
    void OnStartStop();
    // Collects the logs into an archive behind the progress window (the save-log button).
    void OnSaveLog();
    void OnAbout();
    // A later copy of the tool asked for this window.
    void BringToFront();

    // The close request (Escape, the close button): stops a run, then asks before closing.
    void reject() override;

    CCheckHost& host() { return host_; }
    const DiagnosisRun& run() const { return run_; }
    CSCMessageBox& message_box() { return message_box_; }
    CEnTabCtrl& tabs() { return tabs_; }
    CDiagLogDlg& log_page() { return *log_page_; }
    CDiagResultDlg& result_page() { return *result_page_; }
    CDiagErrorCodeDlg& error_code_page() { return *error_code_page_; }
    CSCStepCtrl& steps() { return steps_; }
    CSCStatic& picture() { return picture_; }
    CGdiButton& start_button() { return start_button_; }
    CGdiButton& save_log_button() { return save_log_button_; }
    CMacProgressCtrl& progress() { return progress_; }
    CSCProgressDlg& save_log_progress() { return save_log_progress_; }
    bool collecting() const { return save_log_worker_.running(); }
    // Where "로그 저장" sends each archive it writes (checktool --upload); none by default.
    void SetArchiveUpload(const ArchiveUploadOptions& options) { archive_upload_ = options; }
    // Where the logs are gathered before packing; empty (the default) is the user's own folder.
    void SetCollectionFolder(const std::string& folder) { collection_folder_ = folder; }
    // While the logs are collected the window takes no input, yet looks and stays enabled.
    void BlockInput(bool blocked) { input_blocker_.SetBlocked(blocked); }
    bool InputBlocked() const { return input_blocker_.IsBlocked(); }

    // Run and collection outcome, for the presenter and the observer (called on this window's thread).
    void NotifyRunFinished(bool completed) { emit RunFinished(completed); }
    void NotifyArchiveRevealed(const QString& path) { emit ArchiveRevealed(path); }

signals:
    // The window shows the run's end; its worker touches nothing of the window's any more.
    void RunFinished(bool completed);
    // The collection has put its archive here and asked the file manager to show it.
    void ArchiveRevealed(const QString& path);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void SetUpFrame();
    void SetUpControls();
    void PlaceControls();
    void ApplyProduct();
    void ShowSystemMenu(const QPoint& global_pos);
    // Stops the run and returns once its worker has ended and been joined.
    void StopRun();
    // Waits, dispatching events, until no worker can touch the window any more.
    void WaitForWorkers();

    CCheckHost host_;
    WindowRunView run_view_{*this};
    RunPresenter run_presenter_{run_view_};
    UiThreadRunEvents run_events_{run_presenter_};
    WindowSaveLogObserver save_log_observer_{*this};
    DiagnosisRun run_;
    SaveLogWorker save_log_worker_;
    std::string collection_folder_;
    ArchiveUploadOptions archive_upload_;

    CEnTabCtrl tabs_;
    CDiagLogDlg* log_page_;
    CDiagResultDlg* result_page_;
    CDiagErrorCodeDlg* error_code_page_;
    CGdiButton start_button_;
    CGdiButton save_log_button_;
    CMacProgressCtrl progress_;
    CSCStatic steps_caption_;
    CSCStepCtrl steps_;
    CSCStatic picture_;
    CSCProgressDlg save_log_progress_;
    CSCMessageBox message_box_;
    InputBlocker input_blocker_{*this};
    QBasicTimer frame_repaint_timer_;
    bool close_requested_ = false;
};
