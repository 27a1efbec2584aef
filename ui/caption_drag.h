#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a frameless window while the left button is held on its caption: through the window system
// where it can (so snapping and multi-monitor moves work), by hand where it cannot (offscreen).
class CaptionDrag {
public:
    void Begin(QWidget* window, const QMouseEvent* press);
    // True when the move was handled (the window followed the pointer).
    bool Follow(QWidget* window, const QMouseEvent* move) const;
    void End() { by_hand_ = false; }

private:
    bool by_hand_ = false;
    QPoint offset_;
};
