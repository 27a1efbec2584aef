#pragma once

#include <QApplication>
#include <QRgb>
#include <QWidget>

// The binary's single QApplication (created on first use).
QApplication* EnsureApplication();

// The colour of one pixel of the widget as it paints itself now.
QRgb PixelAt(QWidget& widget, int x, int y);
