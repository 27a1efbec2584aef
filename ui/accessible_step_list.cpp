#include "ui/accessible_step_list.h"

#include "ui/CSCStepCtrl.h"
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

AccessibleStepList::AccessibleStepList(QWidget* steps) : QAccessibleWidget(steps, QAccessible::List) {}

int AccessibleStepList::childCount() const
{
    return static_cast<const CSCStepCtrl*>(widget())->GetStepCount();
}

QAccessibleInterface* AccessibleStepList::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    auto* steps = static_cast<CSCStepCtrl*>(widget());
    return items_.Get(index, [&] { return new AccessibleStepItem(steps, index); });
}

int AccessibleStepList::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const AccessibleStepItem*>(child);
    return item != nullptr && item->Steps() == widget() && item->isValid() ? item->Index() : -1;
}
