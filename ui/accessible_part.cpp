#include "ui/accessible_part.h"

#include <QWindow>

QWindow* AccessiblePart::window() const
{
    return owner_.isNull() ? nullptr : owner_->window()->windowHandle();
}

QRect AccessiblePart::OnScreen(const QWidget* widget, const QRect& local)
{
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

void AccessiblePartCache::Forget()
{
    for (QAccessible::Id id : std::as_const(ids_))
        QAccessible::deleteAccessibleInterface(id);
    ids_.clear();
}

QAccessibleInterface* ChildAtPoint(const QAccessibleInterface& parent, int x, int y)
{
    for (int index = 0; index < parent.childCount(); ++index) {
        QAccessibleInterface* child = parent.child(index);
        if (child != nullptr && child->rect().contains(x, y))
            return child;
    }
    return nullptr;
}

namespace {

AccessibilityWatcher g_watcher = nullptr;

}  // namespace

bool AccessibilityListening()
{
    return g_watcher != nullptr || QAccessible::isActive();
}

void NotifyAccessibility(QAccessibleEvent& event)
{
    if (g_watcher != nullptr)
        g_watcher(event);
    QAccessible::updateAccessibility(&event);
}

void NotifyAccessibility(QObject* object, QAccessible::Event type, int child)
{
    if (!AccessibilityListening())
        return;
    QAccessibleEvent event(object, type);
    event.setChild(child);
    NotifyAccessibility(event);
}

void WatchAccessibility(AccessibilityWatcher watcher)
{
    g_watcher = watcher;
}
