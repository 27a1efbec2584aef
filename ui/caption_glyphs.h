#pragma once

#include <QColor>
#include <QPointF>

class QPainter;

// The window commands whose glyphs the caption buttons draw.
inline constexpr int kCommandMinimize = 0xF020;
inline constexpr int kCommandMaximize = 0xF030;
inline constexpr int kCommandClose = 0xF060;

// Draws the minimise, maximise (or, for a maximised window, restore) or close glyph around the centre
// with a 1.5-pixel pen; the restore glyph's front square is filled with the given colour.
void DrawCaptionGlyph(QPainter& painter, int command, QPointF centre, const QColor& pen, bool window_maximized,
                      const QColor& restore_fill);
