#include "ui/accessible_message_box.h"

#include "ui/CSCMessageBox.h"
#include "ui/CSCStatic.h"
#include "ui/accessible_strings.h"

#include <QAccessibleWidget>

namespace {

class AccessibleMessageBox : public QAccessibleWidget {
public:
    explicit AccessibleMessageBox(QWidget* box);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QWidgetList ShownChildren() const;
};

AccessibleMessageBox::AccessibleMessageBox(QWidget* box) : QAccessibleWidget(box, QAccessible::Dialog) {}

QString AccessibleMessageBox::text(QAccessible::Text t) const
{
    const auto* box = static_cast<const CSCMessageBox*>(widget());
    switch (t) {
    case QAccessible::Name: return box->GetTitle();
    case QAccessible::Description: {
        QString description = box->GetMessageArea()->GetText();
        // Said once, when the box is read; the caption's second-by-second count is not announced.
        if (box->GetCountdown() > 0 && box->isVisible())
            description += u'\n' + AccessibleString(kStrClosesInSeconds).arg(box->GetCountdown());
        return description;
    }
    default: return QAccessibleWidget::text(t);
    }
}

// The box keeps all eleven answer buttons and shows a set of them.
QWidgetList AccessibleMessageBox::ShownChildren() const
{
    QWidgetList shown;
    for (QObject* child : widget()->children()) {
        auto* part = qobject_cast<QWidget*>(child);
        if (part != nullptr && !part->isWindow() && !part->isHidden())
            shown.append(part);
    }
    return shown;
}

int AccessibleMessageBox::childCount() const
{
    return static_cast<int>(ShownChildren().size());
}

QAccessibleInterface* AccessibleMessageBox::child(int index) const
{
    const QWidgetList shown = ShownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index)) : nullptr;
}

int AccessibleMessageBox::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr)
        return -1;
    return static_cast<int>(ShownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
}

}  // namespace

QAccessibleInterface* NewAccessibleMessageBox(QWidget* box)
{
    return new AccessibleMessageBox(box);
}
