#include "app/window_run_observer.h"

#include "app/CTarvoCheckToolDlg.h"
#include "app/ui_thread_call.h"

template <typename Call>
void WindowRunObserver::on_window_thread(Call&& call)
{
    call_on_ui_thread(&window_, std::forward<Call>(call));
}

void WindowRunObserver::set_step_text(int step, const std::string& text, uint32_t color)
{
    on_window_thread([&] {
        CSCStepCtrl& steps = window_.steps();
        steps.SetStepText(step, QString::fromStdString(text), color);
        // The run's failed and stopped colours say how the step ended; a screen reader is told in words.
        if (color == kStepFailedColor)
            steps.SetStepOutcome(step, CSCStepCtrl::kStepFailed);
        else if (color == kStepStoppedColor)
            steps.SetStepOutcome(step, CSCStepCtrl::kStepStopped);
        steps.update();
    });
}

void WindowRunObserver::set_step_fill_color(int step, uint32_t color)
{
    on_window_thread([&] { window_.steps().SetStepFillColor(step, color, kKeepColor); });
}

void WindowRunObserver::set_current_step(int step)
{
    on_window_thread([&] { window_.steps().SetCurrentStep(step); });
}

void WindowRunObserver::advance_current_step()
{
    on_window_thread([&] { window_.steps().SetCurrentStep(window_.steps().GetCurrentStep() + 1); });
}

void WindowRunObserver::reset_step_colors()
{
    on_window_thread([&] { window_.steps().ResetStepColors(); });
}

void WindowRunObserver::clear_lists()
{
    on_window_thread([&] {
        window_.log_page().list().DeleteAllRows();
        window_.result_page().list().DeleteAllRows();
    });
}

void WindowRunObserver::append_log_row(int row, const std::string& text)
{
    on_window_thread([&] { window_.log_page().AddLogRow(row, QString::fromStdString(text)); });
}

void WindowRunObserver::complete_log_row(int row, const LogRowCompletion& completion)
{
    on_window_thread([&] { window_.log_page().CompleteLogRow(row, completion); });
}

void WindowRunObserver::set_result_rows(const std::vector<std::string>& rows)
{
    on_window_thread([&] { window_.result_page().SetResultRows(rows); });
}

void WindowRunObserver::set_result_message(const std::string& text, int points, uint32_t color)
{
    on_window_thread([&] {
        CVtListCtrlEx& list = window_.result_page().list();
        list.SetEmptyText(QString::fromStdString(text), points, color);
        list.viewport()->update();
    });
}

void WindowRunObserver::set_progress_marquee(bool on)
{
    on_window_thread([&] { window_.progress().SetMarquee(on); });
}

void WindowRunObserver::set_progress_position(int position)
{
    on_window_thread([&] { window_.progress().SetPos(position); });
}

void WindowRunObserver::step_progress()
{
    on_window_thread([&] { window_.progress().StepIt(); });
}

void WindowRunObserver::show_progress(bool visible)
{
    on_window_thread([&] { window_.progress().setVisible(visible); });
}

void WindowRunObserver::play_picture()
{
    on_window_thread([&] { window_.picture().Image().Play(); });
}

void WindowRunObserver::stop_picture()
{
    on_window_thread([&] { window_.picture().Image().Stop(); });
}

void WindowRunObserver::set_start_button(const std::string& text, bool enabled)
{
    on_window_thread([&] {
        window_.start_button().setText(QString::fromStdString(text));
        window_.start_button().setEnabled(enabled);
    });
}

void WindowRunObserver::enable_start_button(bool enabled)
{
    on_window_thread([&] { window_.start_button().setEnabled(enabled); });
}

void WindowRunObserver::enable_save_log_button(bool enabled)
{
    on_window_thread([&] { window_.save_log_button().setEnabled(enabled); });
}

void WindowRunObserver::show_completion_message(const std::string& text, int auto_close_seconds)
{
    on_window_thread([&] {
        window_.message_box().ShowMessage(QString::fromStdString(text), CSCMessageBox::kOkOnly, auto_close_seconds);
    });
}

void WindowRunObserver::run_finished(bool completed)
{
    on_window_thread([&] { window_.NotifyRunFinished(completed); });
}
