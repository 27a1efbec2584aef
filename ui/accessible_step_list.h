#pragma once

#include <QAccessible>

class CSCStepCtrl;
class QWidget;

// What the step list tells screen readers and UI automation as a run moves through its steps.
namespace step_list_accessibility {
void StepsChanged(CSCStepCtrl& steps);
void CaptionChanged(CSCStepCtrl& steps, int index);
void StateChanged(CSCStepCtrl& steps, int index);
}  // namespace step_list_accessibility

// The step list as a list: one item per step, named by its caption, its state (waiting, current,
// passed, failed, stopped) as its description.
QAccessibleInterface* NewAccessibleStepList(QWidget* steps);
