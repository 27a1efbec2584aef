#include "app/window_run_view.h"

#include "app/CTarvoCheckToolDlg.h"

void WindowRunView::reset_step_colors() { window_.steps().ResetStepColors(); }

void WindowRunView::set_current_step(int step) { window_.steps().SetCurrentStep(step); }

void WindowRunView::advance_current_step()
{
    CSCStepCtrl& steps = window_.steps();
    steps.SetCurrentStep(steps.GetCurrentStep() + 1);
}

void WindowRunView::set_step_text(int step, const std::string& caption, uint32_t color)
{
    window_.steps().SetStepText(step, QString::fromStdString(caption), color);
    window_.steps().update();
}

void WindowRunView::set_step_fill_color(int step, uint32_t color)
{
    window_.steps().SetStepFillColor(step, color, kKeepColor);
}

void WindowRunView::set_step_outcome(int step, StepOutcome outcome)
{
    window_.steps().SetStepOutcome(
        step, outcome == StepOutcome::kFailed ? CSCStepCtrl::kStepFailed : CSCStepCtrl::kStepStopped);
}

void WindowRunView::clear_pages()
{
    window_.log_page().list().DeleteAllRows();
    window_.result_page().list().DeleteAllRows();
}

void WindowRunView::append_log_row(int row, const std::string& text)
{
    window_.log_page().AddLogRow(row, QString::fromStdString(text));
}

void WindowRunView::complete_log_row(int row, const LogRowCompletion& completion)
{
    window_.log_page().CompleteLogRow(row, completion);
}

void WindowRunView::set_result_rows(const std::vector<std::string>& rows)
{
    window_.result_page().SetResultRows(rows);
}

void WindowRunView::set_result_message(const std::string& text, int points, uint32_t color)
{
    CVtListCtrlEx& list = window_.result_page().list();
    list.SetEmptyText(QString::fromStdString(text), points, color);
    list.viewport()->update();
}

void WindowRunView::restart_progress()
{
    CMacProgressCtrl& bar = window_.progress();
    bar.SetMarquee(false);
    bar.SetPos(0);
    bar.setVisible(true);
}

void WindowRunView::step_progress() { window_.progress().StepIt(); }

void WindowRunView::hide_progress() { window_.progress().setVisible(false); }

void WindowRunView::restart_picture()
{
    CGdiplusBitmap& picture = window_.picture().Image();
    picture.Stop();
    picture.Play();
}

void WindowRunView::stop_picture() { window_.picture().Image().Stop(); }

void WindowRunView::set_start_button(const std::string& text, bool enabled)
{
    window_.start_button().setText(QString::fromStdString(text));
    window_.start_button().setEnabled(enabled);
}

void WindowRunView::enable_save_log_button(bool enabled) { window_.save_log_button().setEnabled(enabled); }

void WindowRunView::show_completion_message(const std::string& text, int auto_close_seconds)
{
    window_.message_box().ShowMessage(QString::fromStdString(text), CSCMessageBox::kOkOnly, auto_close_seconds);
}

void WindowRunView::run_shown(bool completed) { window_.NotifyRunFinished(completed); }
