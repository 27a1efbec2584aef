#pragma once

#include "ui/CSCColorTheme.h"

#include <QColor>
#include <QPainterPath>
#include <QRect>

#include <vector>

class QPainter;
class QWidget;

// Rounded background: quarter-circle corners in b x b boxes, b = min(radius, half the smaller side).
// With radius <= 0 the plain rectangle. Coordinates sit on pixel centres, so one-pixel lines and
// anti-aliased edges land on whole pixels.
QPainterPath RoundedFillShape(const QRect& rect, int radius);

// Rounded frame: the fill construction with the corner value 2 * radius.
QPainterPath RoundedOutlineShape(const QRect& rect, int radius);

// Draws the outline shape with a one-pixel pen; a width n > 1 adds n - 1 outlines nested inward.
void DrawRoundedOutline(QPainter& painter, const QRect& rect, int radius, ARGB colour, int width);

// A rectangle of the picture's aspect ratio centred in the given one (left, top, right, bottom);
// empty when the target or the picture is empty.
QRect AspectFitRect(int picture_width, int picture_height, const QRect& target);

// Horizontal gradient through the colours, in equal parts; one colour gets button face appended.
void FillHorizontalGradient(QPainter& painter, const QRect& rect, std::vector<QColor> colours);

// The negative font height (pixels) of a point size on the widget's screen.
int font_height(const QWidget* widget, int points);

// The raised (or, when sunken, pressed) three-dimensional edge of a square button.
void Draw3dEdge(QPainter& painter, const QRect& rect, bool sunken);
