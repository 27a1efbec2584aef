#include "app/pumping_wait.h"

#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int kCheckIntervalMs = 5;

}  // namespace

void wait_pumping_until(const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer check;
    check.setInterval(kCheckIntervalMs);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start();
    loop.exec();
}
