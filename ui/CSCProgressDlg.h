#pragma once

#include "ui/CMacProgressCtrl.h"
#include "ui/CSCColorTheme.h"
#include "ui/CSCStatic.h"

#include <QTimer>
#include <QWidget>

// A small popup with a thin border, a centred message and a progress bar, shown while the tool
// collects system information and logs.
class CSCProgressDlg : public QWidget {
    Q_OBJECT

public:
    explicit CSCProgressDlg(QWidget* owner = nullptr);

    // Places the popup at (left, top)-(right, bottom) in the owner's screen coordinates (or the
    // screen's, without an owner), lays out the label and the bar and puts the text in the label.
    bool Create(QWidget* owner, const QString& text, int left, int top, int right, int bottom);
    void SetColor(ARGB colour);
    void StepIt() { bar_->StepIt(); }
    // Hides the window once the given time has passed.
    void HideAfter(int milliseconds);
    void SetDraggable(bool on) { draggable_ = on; }

    CSCStatic& Label() { return *label_; }
    CMacProgressCtrl& Bar() { return *bar_; }
    // The area inside the border, in which the label and the bar are laid out.
    QWidget& Client() { return *client_; }
    ARGB BackColor() const { return back_colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void LayOut();

    QWidget* client_;
    CSCStatic* label_;
    CMacProgressCtrl* bar_;
    ARGB back_colour_;
    bool draggable_ = false;
    QTimer hide_timer_;
};
