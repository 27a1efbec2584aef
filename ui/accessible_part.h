#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>

// A part of a self-drawn widget that assistive technology sees as an object of its own (a cell, a
// step, a caption button): no children, no object, standing for a place in its widget.
class AccessiblePart : public QAccessibleInterface {
public:
    explicit AccessiblePart(QWidget* owner) : owner_(owner) {}

    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner_); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

    QWidget* Owner() const { return owner_; }

protected:
    bool OwnerAlive() const { return !owner_.isNull(); }
    // A rectangle of one of the owner's widgets in screen coordinates, as assistive technology wants it.
    static QRect OnScreen(const QWidget* widget, const QRect& local);

private:
    QPointer<QWidget> owner_;
};

// The parts of one widget, made on demand and kept by child index until forgotten.
class AccessiblePartCache {
public:
    AccessiblePartCache() = default;
    AccessiblePartCache(const AccessiblePartCache&) = delete;
    AccessiblePartCache& operator=(const AccessiblePartCache&) = delete;
    ~AccessiblePartCache() { Forget(); }

    template <typename Make>
    QAccessibleInterface* Get(int index, Make make)
    {
        if (const auto found = ids_.constFind(index); found != ids_.constEnd())
            return QAccessible::accessibleInterface(*found);
        QAccessibleInterface* part = make();
        ids_.insert(index, QAccessible::registerAccessibleInterface(part));
        return part;
    }
    void Forget();

private:
    QHash<int, QAccessible::Id> ids_;
};

// The child of the parent whose rectangle holds the point (screen coordinates), or null.
QAccessibleInterface* ChildAtPoint(const QAccessibleInterface& parent, int x, int y);

// A self-drawn widget whose children are its parts, made on demand: Owner::Count() says how many, and
// Part(owner, index) is one, with Index().
template <typename Part, typename Owner, int (Owner::*Count)() const>
class AccessibleParts : public QAccessibleWidget {
public:
    AccessibleParts(QWidget* owner, QAccessible::Role role) : QAccessibleWidget(owner, role) {}

    int childCount() const override { return (static_cast<const Owner*>(widget())->*Count)(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto* owner = static_cast<Owner*>(widget());
        return parts_.Get(index, [&] { return new Part(owner, index); });
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* part = dynamic_cast<const Part*>(child);
        return part != nullptr && part->Owner() == widget() && part->isValid() ? part->Index() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override { return ChildAtPoint(*this, x, y); }

private:
    mutable AccessiblePartCache parts_;
};

// Whether anyone listens to the controls' events: a screen reader or UI automation client (through
// Qt's bridge to the platform), or a watcher.
bool AccessibilityListening();
// Tells assistive technology that something happened to the object (or, with a child index, to that
// part of it), when anyone listens.
void NotifyAccessibility(QObject* object, QAccessible::Event type, int child = -1);
void NotifyAccessibility(QAccessibleEvent& event);

// Sees every event the controls raise, whether or not Qt passes it on to a platform (it does only
// while a screen reader or UI automation client listens): how tests hear the controls. Null stops it.
using AccessibilityWatcher = void (*)(QAccessibleEvent& event);
void WatchAccessibility(AccessibilityWatcher watcher);
