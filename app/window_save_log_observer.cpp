#include "app/window_save_log_observer.h"

#include "app/CTarvoCheckToolDlg.h"
#include "app/collection_progress.h"
#include "app/reveal_in_file_manager.h"
#include "app/ui_thread_call.h"

#include <chrono>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kBusyBoxRetry{50};

}  // namespace

void WindowSaveLogObserver::set_window_enabled(bool enabled)
{
    call_on_ui_thread(&window_, [&] { window_.BlockInput(!enabled); });
}

void WindowSaveLogObserver::step_progress()
{
    call_on_ui_thread(&window_, [&] {
        CMacProgressCtrl& bar = window_.save_log_progress().Bar();
        bar.SetPos(step_end_position(bar.GetPos()));
    });
}

void WindowSaveLogObserver::pack_progress(uint64_t done, uint64_t total)
{
    call_on_ui_thread(&window_, [&] {
        CMacProgressCtrl& bar = window_.save_log_progress().Bar();
        bar.SetPos(packing_position(bar.GetPos(), done, total));
    });
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
    // The box may be holding the window's closing question. The message waits for its turn instead of
    // being lost, and it waits here, on the collection's thread: the window's thread stays free to
    // finish the question, whose event loop a box opened on top of it would hold open.
    const QString message = QString::fromStdString(text);
    for (;;) {
        int answer = CSCMessageBox::kNoAnswer;
        call_on_ui_thread(&window_, [&] {
            answer = window_.message_box().ShowMessage(message, CSCMessageBox::kOkOnly, 0);
        });
        if (answer != CSCMessageBox::kNoAnswer)
            return;
        std::this_thread::sleep_for(kBusyBoxRetry);
    }
}

void WindowSaveLogObserver::reveal_archive(const std::string& archive_path)
{
    // The file manager is asked from the collection's thread: the window need not wait for it.
    const QString path = QString::fromStdString(archive_path);
    reveal_in_file_manager(path);
    call_on_ui_thread(&window_, [&] { window_.NotifyArchiveRevealed(path); });
}
