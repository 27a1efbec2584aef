#include "ui/accessible_factory.h"

#include "ui/accessible_caption_buttons.h"
#include "ui/accessible_label.h"
#include "ui/accessible_list_ctrl.h"
#include "ui/accessible_message_box.h"
#include "ui/accessible_step_list.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

// Asked for every class of an object, most derived first: classes not named here fall to their bases
// and to Qt's own interfaces (buttons, progress bars, tabs, dialogs).
QAccessibleInterface* ControlLibraryInterface(const QString& class_name, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (class_name == QLatin1String("CVtListCtrlEx"))
        return NewAccessibleListCtrl(widget);
    if (class_name == QLatin1String("CSCStepCtrl"))
        return NewAccessibleStepList(widget);
    if (class_name == QLatin1String("CSCStatic"))
        return NewAccessibleLabel(widget);
    if (class_name == QLatin1String("CSCSystemButtons"))
        return NewAccessibleCaptionButtons(widget);
    if (class_name == QLatin1String("CSCMessageBox"))
        return NewAccessibleMessageBox(widget);
    if (class_name == QLatin1String("CSCProgressDlg"))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

}  // namespace

void InstallAccessibleFactory()
{
    QAccessible::installFactory(ControlLibraryInterface);  // a second install changes nothing
}
