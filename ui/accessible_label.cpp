#include "ui/accessible_label.h"

#include "ui/CSCStatic.h"
#include "ui/accessible_part.h"

#include <QAccessibleWidget>

namespace label_accessibility {

void NameChanged(CSCStatic& label)
{
    NotifyAccessibility(&label, QAccessible::NameChanged);
}

}  // namespace label_accessibility

namespace {

class AccessibleLabel : public QAccessibleWidget {
public:
    explicit AccessibleLabel(QWidget* label);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    const CSCStatic& Label() const;
};

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

}  // namespace

QAccessibleInterface* NewAccessibleLabel(QWidget* label)
{
    return new AccessibleLabel(label);
}
