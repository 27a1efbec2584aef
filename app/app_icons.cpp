#include "app/app_icons.h"

#include <QString>

QIcon app_icon(int id) { return QIcon(QStringLiteral(":/icon/%1").arg(id)); }
