#pragma once

#include <QAccessible>

class QWidget;

// The caption buttons as a tool bar of push buttons, each named by its command and pressed as a click
// presses it.
QAccessibleInterface* NewAccessibleCaptionButtons(QWidget* strip);
