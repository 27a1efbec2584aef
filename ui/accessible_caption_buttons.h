#pragma once

#include "ui/accessible_part.h"

#include <QAccessibleWidget>

// The caption buttons as a tool bar of push buttons, each named by its command and pressed as a click
// presses it.
class AccessibleCaptionButtons : public QAccessibleWidget {
public:
    explicit AccessibleCaptionButtons(QWidget* strip);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override { return ChildAtPoint(*this, x, y); }

private:
    mutable AccessiblePartCache buttons_;
};
