#pragma once

#include "ui/CSCColorTheme.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

// A column (or row) of step shapes joined by connector lines, each with a one-line caption.
// Purely a display: no input, no notifications.
class CSCStepCtrl : public QWidget {
    Q_OBJECT

public:
    enum Shape { kCircle = 0, kSquare = 2 };
    // What a step stands for, as a screen reader is told: by its place before, at or after the current
    // step, unless it was marked failed or stopped.
    enum StepState { kStepWaiting, kStepCurrent, kStepPassed, kStepFailed, kStepStopped };

    explicit CSCStepCtrl(QWidget* parent = nullptr);

    void SetStepCount(int count);
    int GetStepCount() const { return static_cast<int>(steps_.size()); }
    void SetCurrentStep(int index);
    int GetCurrentStep() const { return current_; }
    void SetStepText(int index, const QString& caption, ARGB caption_colour = kArgbNone);
    void SetStepFillColor(int index, ARGB colour, ARGB current_colour = kArgbNone);
    void SetStepTextColor(ARGB colour, ARGB current_colour = kArgbNone);
    void SetStepShape(int index, int shape);
    // Clears the step's colour overrides and its failed or stopped mark.
    void ResetStepColors();
    // Marks how a step ended when it did not pass (kStepFailed, kStepStopped); any other state clears
    // the mark. The colours that show it are set apart, as before.
    void SetStepOutcome(int index, StepState outcome);
    StepState GetStepState(int index) const;

    void SetHorizontal(bool horizontal);
    void SetShape(int shape);
    void SetDiameter(int diameter);
    void SetMargins(int left, int top, int right, int bottom);
    void SetCaptionGap(int gap);
    void SetBackColor(ARGB colour);

    QString StepText(int index) const;
    // The box of a step as last laid out (empty before the first paint after a size change).
    QRect StepBox(int index) const;
    // Where the step's shape and caption are drawn, laid out now if need be.
    QRect StepRect(int index) const;
    // Pixels between two neighbouring shapes; 0 for a single step or when the steps do not fit.
    int Gap() const;
    // The fill and caption colours of the step in its current state.
    ARGB FillColorOf(int index) const;
    ARGB CaptionColorOf(int index) const;
    // What the caption's text is drawn in: its caption colour, or a shade of it that stays readable
    // on the background when the colour itself is too faint there (a light product colour on white).
    // Shapes and lines keep the caption and fill colours as they are.
    ARGB CaptionTextColorOf(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Step {
        QRect box;
        QString caption;
        int shape = -1;
        ARGB fill = kArgbNone;
        ARGB caption_colour = kArgbNone;
        StepState outcome = kStepPassed;  // failed or stopped when so marked
    };
    void LayOut(int index, Step& step) const;
    QRect CaptionRect(int index, const QRect& box) const;
    QFont CaptionFont(int index) const;
    std::vector<StepState> States() const;
    // Tells screen readers which steps' states differ from before.
    void NotifyStateChanges(const std::vector<StepState>& before);
    void PaintStep(QPainter& painter, int index, const Step& step) const;

    std::vector<Step> steps_;
    bool horizontal_ = true;
    int current_ = -1;
    int shape_ = kCircle;
    int diameter_ = 18;
    int margin_left_ = 8;
    int margin_top_ = 8;
    int margin_right_ = 8;
    int margin_bottom_ = 8;
    int caption_gap_ = 8;
    ARGB back_colour_;
    ARGB done_caption_ = 0xFF4169E1;
    ARGB done_fill_ = 0xFF4169E1;
    ARGB current_caption_ = 0xFF0000FF;
    ARGB current_fill_ = 0xFF0000FF;
    ARGB later_caption_ = 0xFF808080;
    ARGB later_fill_ = 0xFF808080;
};
