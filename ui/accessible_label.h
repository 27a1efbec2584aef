#pragma once

#include <QAccessibleWidget>

class CSCStatic;

namespace label_accessibility {
// The label's text, or what its picture shows, changed.
void NameChanged(CSCStatic& label);
}  // namespace label_accessibility

// A label as static text named by its text; a label showing a picture as a graphic, or an animation,
// named by what the picture shows while it plays or stands still. What it draws has no parts.
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
