#pragma once

#include <QAccessible>

class CSCStatic;
class QWidget;

namespace label_accessibility {
// The label's text, or what its picture shows, changed.
void NameChanged(CSCStatic& label);
}  // namespace label_accessibility

// A label as static text named by its text; a label showing a picture as a graphic, or an animation,
// named by what the picture shows while it plays or stands still. What it draws has no parts.
QAccessibleInterface* NewAccessibleLabel(QWidget* label);
