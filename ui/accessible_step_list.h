#pragma once

#include "ui/accessible_part.h"

#include <QAccessibleWidget>

class CSCStepCtrl;

// What the step list tells screen readers and UI automation as a run moves through its steps.
namespace step_list_accessibility {
void StepsChanged(CSCStepCtrl& steps);
void CaptionChanged(CSCStepCtrl& steps, int index);
void StateChanged(CSCStepCtrl& steps, int index);
}  // namespace step_list_accessibility

// The step list as a list: one item per step, named by its caption, its state (waiting, current,
// passed, failed, stopped) as its description.
class AccessibleStepList : public QAccessibleWidget {
public:
    explicit AccessibleStepList(QWidget* steps);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override { return ChildAtPoint(*this, x, y); }

private:
    mutable AccessiblePartCache items_;
};
