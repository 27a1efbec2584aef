#include "app/input_blocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        // Entering counts too, so that no button lights up as if it could be pressed; leaving passes,
        // so that one lit before the block goes dark.
        case QEvent::Enter:
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputBlocker::~InputBlocker() {
    SetBlocked(false);
}

void InputBlocker::SetBlocked(bool blocked) {
    if (blocked == blocked_ || QCoreApplication::instance() == nullptr) return;
    blocked_ = blocked;
    // Only while blocking does the filter see the application's events.
    if (blocked)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()) || !watched->isWidgetType()) return false;
    return static_cast<QWidget*>(watched)->window() == &window_;
}
