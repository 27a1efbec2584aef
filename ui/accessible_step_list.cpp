#include "ui/accessible_step_list.h"

#include "ui/CSCStepCtrl.h"
#include "ui/accessible_part.h"
#include "ui/accessible_strings.h"

namespace {

QString StateText(CSCStepCtrl::StepState state)
{
    switch (state) {
    case CSCStepCtrl::kStepCurrent: return AccessibleString(kStrStepCurrent);
    case CSCStepCtrl::kStepPassed: return AccessibleString(kStrStepPassed);
    case CSCStepCtrl::kStepFailed: return AccessibleString(kStrStepFailed);
    case CSCStepCtrl::kStepStopped: return AccessibleString(kStrStepStopped);
    default: return AccessibleString(kStrStepWaiting);
    }
}

class AccessibleStepItem : public AccessiblePart {
public:
    AccessibleStepItem(CSCStepCtrl* steps, int index) : AccessiblePart(steps), index_(index) {}

    bool isValid() const override { return OwnerAlive() && index_ < Steps()->GetStepCount(); }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return Steps()->StepText(index_);
        case QAccessible::Description: return StateText(Steps()->GetStepState(index_));
        default: return {};
        }
    }
    QRect rect() const override { return OnScreen(Steps(), Steps()->StepRect(index_)); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !Steps()->isVisible();
        return state;
    }

    CSCStepCtrl* Steps() const { return static_cast<CSCStepCtrl*>(Owner()); }
    int Index() const { return index_; }

private:
    int index_;
};

}  // namespace

namespace step_list_accessibility {

void StepsChanged(CSCStepCtrl& steps)
{
    NotifyAccessibility(&steps, QAccessible::ObjectReorder);
}

void CaptionChanged(CSCStepCtrl& steps, int index)
{
    NotifyAccessibility(&steps, QAccessible::NameChanged, index);
}

void StateChanged(CSCStepCtrl& steps, int index)
{
    NotifyAccessibility(&steps, QAccessible::DescriptionChanged, index);
}

}  // namespace step_list_accessibility

QAccessibleInterface* NewAccessibleStepList(QWidget* steps)
{
    return new AccessibleParts<AccessibleStepItem, CSCStepCtrl, &CSCStepCtrl::GetStepCount>(steps, QAccessible::List);
}
