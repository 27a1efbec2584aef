#pragma once

#include <QFont>
#include <QRect>

// Converts a rectangle in dialog units (x, y, width, height) into pixels through the dialog font's
// average character width and height, so the window keeps its designed proportions in any font.
QRect dialog_units_to_pixels(const QFont& dialog_font, int x, int y, int width, int height);
