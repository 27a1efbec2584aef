#include "ui/ui_init.h"

#include "ui/ui_fonts.h"

#include <QApplication>

// Resource initialisers live in the global namespace.
static void RegisterResources()
{
    Q_INIT_RESOURCE(checktool);
}

void InitControlLibrary()
{
    RegisterResources();
    QApplication::setFont(DefaultFont());
}
