#pragma once

#include <QAccessibleWidget>

// The message box as a dialog named by its title (never by the countdown the caption adds to it),
// its message as its description; its parts are what it shows: the message and the set's buttons.
class AccessibleMessageBox : public QAccessibleWidget {
public:
    explicit AccessibleMessageBox(QWidget* box);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QWidgetList ShownChildren() const;
};
