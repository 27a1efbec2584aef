#include "ui/ui_init.h"

#include "ui/accessible_factory.h"
#include "ui/screen_monitors.h"
#include "ui/ui_fonts.h"

#include <QApplication>

void InitControlLibrary()
{
    QApplication::setFont(DefaultFont());
    RegisterScreenMonitors();
    InstallAccessibleFactory();
}
