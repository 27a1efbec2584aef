#include "app/reveal_in_file_manager.h"

#include <QGuiApplication>

namespace {

bool has_display()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

}  // namespace

void reveal_in_file_manager(const QString& path)
{
    if (path.isEmpty() || !has_display())
        return;
    show_in_file_manager(path);
}
