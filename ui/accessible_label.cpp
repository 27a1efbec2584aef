#include "ui/accessible_label.h"

#include "ui/CSCStatic.h"
#include "ui/accessible_part.h"

namespace label_accessibility {

void NameChanged(CSCStatic& label)
{
    NotifyAccessibility(&label, QAccessible::NameChanged);
}

}  // namespace label_accessibility

AccessibleLabel::AccessibleLabel(QWidget* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

const CSCStatic& AccessibleLabel::Label() const
{
    return *static_cast<const CSCStatic*>(widget());
}

QAccessible::Role AccessibleLabel::role() const
{
    const CGdiplusBitmap& image = Label().Image();
    if (image.IsAnimated())
        return QAccessible::Animation;
    return image.IsValid() ? QAccessible::Graphic : QAccessible::StaticText;
}

QString AccessibleLabel::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (const QString shown = Label().ImageName(); !shown.isEmpty())
        return shown;
    if (const QString name = widget()->accessibleName(); !name.isEmpty())
        return name;
    return Label().GetText();
}

QAccessible::State AccessibleLabel::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.animated = Label().Image().is_playing();
    return state;
}
