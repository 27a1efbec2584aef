#pragma once

#include <QAccessible>

class QWidget;

// The message box as a dialog named by its title (never by the countdown the caption adds to it),
// its message as its description; its parts are what it shows: the message and the set's buttons.
QAccessibleInterface* NewAccessibleMessageBox(QWidget* box);
