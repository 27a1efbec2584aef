#include "ui/screen_monitors.h"

#include "sys/monitors.h"
#include "ui/blocking_call.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

namespace {

Rect ToRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

std::vector<MonitorRecord> ReadScreens()
{
    std::vector<MonitorRecord> monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        MonitorRecord record{ToRect(screen->geometry()), ToRect(screen->availableGeometry()), screen == primary,
                             screen->name().toStdString()};
        if (record.primary)
            monitors.insert(monitors.begin(), record);
        else
            monitors.push_back(record);
    }
    return monitors;
}

}  // namespace

void RegisterScreenMonitors()
{
    set_monitor_provider([]() -> std::vector<MonitorRecord> {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr)
            return {};
        if (QThread::currentThread() == app->thread())
            return ReadScreens();
        // Screens belong to the window's thread, which keeps dispatching while it waits for workers.
        std::vector<MonitorRecord> monitors;
        blocking_call(app, [&monitors] { monitors = ReadScreens(); });
        return monitors;
    });
}
