#include "ui/wait_pumping.h"

#include <QEventLoop>
#include <QTimer>

void wait_pumping(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
