#include "app/window_save_log_observer.h"

#include "app/CTarvoCheckToolDlg.h"
#include "app/reveal_in_file_manager.h"
#include "app/ui_thread_call.h"

void WindowSaveLogObserver::set_window_enabled(bool enabled)
{
    call_on_ui_thread(&window_, [&] { window_.setEnabled(enabled); });
}

void WindowSaveLogObserver::step_progress()
{
    call_on_ui_thread(&window_, [&] { window_.save_log_progress().StepIt(); });
}

void WindowSaveLogObserver::finish_progress()
{
    call_on_ui_thread(&window_, [&] {
        window_.save_log_progress().Bar().SetPos(0);
        window_.save_log_progress().hide();
    });
}

void WindowSaveLogObserver::show_message(const std::string& text)
{
    call_on_ui_thread(&window_, [&] {
        // The box belongs to the disabled window; as a window of its own it can still be answered.
        window_.message_box().setEnabled(true);
        window_.message_box().ShowMessage(QString::fromStdString(text), CSCMessageBox::kOkOnly, 0);
    });
}

void WindowSaveLogObserver::reveal_archive(const std::string& archive_path)
{
    // The file manager is asked from the collection's thread: the window need not wait for it.
    const QString path = QString::fromStdString(archive_path);
    reveal_in_file_manager(path);
    call_on_ui_thread(&window_, [&] { window_.NotifyArchiveRevealed(path); });
}
