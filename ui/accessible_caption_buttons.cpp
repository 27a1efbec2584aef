#include "ui/accessible_caption_buttons.h"

#include "ui/CSCSystemButtons.h"
#include "ui/accessible_part.h"
#include "ui/accessible_strings.h"

namespace {

class AccessibleCaptionButton : public AccessiblePart, public QAccessibleActionInterface {
public:
    AccessibleCaptionButton(CSCSystemButtons* strip, int index) : AccessiblePart(strip), index_(index) {}

    bool isValid() const override { return OwnerAlive() && index_ < Strip()->GetButtonCount(); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return {};
        const QWidget* target = Strip()->TargetWindow();
        return WindowCommandName(Strip()->GetButtonCommand(index_), target != nullptr && target->isMaximized());
    }
    QRect rect() const override { return OnScreen(Strip(), Strip()->GetButtonRect(index_)); }
    QAccessible::Role role() const override { return QAccessible::PushButton; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !Strip()->isVisible();
        state.hotTracked = Strip()->GetHotButton() == index_;
        state.pressed = state.hotTracked && Strip()->IsPressed();
        if (Strip()->GetButtonCommand(index_) == CSCSystemButtons::kCommandKeepOnTop) {
            const QWidget* target = Strip()->TargetWindow();
            state.checkable = true;
            state.checked = target != nullptr && target->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            Strip()->PressButton(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    CSCSystemButtons* Strip() const { return static_cast<CSCSystemButtons*>(Owner()); }
    int Index() const { return index_; }

private:
    int index_;
};

class AccessibleCaptionButtons
    : public AccessibleParts<AccessibleCaptionButton, CSCSystemButtons, &CSCSystemButtons::GetButtonCount> {
public:
    explicit AccessibleCaptionButtons(QWidget* strip) : AccessibleParts(strip, QAccessible::ToolBar) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return AccessibleString(kStrCaptionButtons);
        return AccessibleParts::text(t);
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleCaptionButtons(QWidget* strip)
{
    return new AccessibleCaptionButtons(strip);
}
