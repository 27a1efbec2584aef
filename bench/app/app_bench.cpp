// Start-up and responsiveness of the main window against the product lab's demo-like product.
//   shown:       from creating the window to its first paint, check-list download included
//   load:        the check-list download alone (a bare check host)
//   shown-load:  what the window adds once the check list has arrived (target: 300 ms)
//   busy:        the longest stretch the window's thread did not get to a 1 ms timer during a run
//                (target: 50 ms)
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CTarvoCheckToolDlg.h"
#include "app/pumping_wait.h"
#include "tests/integration/lab_support.h"
#include "ui/ui_init.h"

namespace {

const char* kScenario = R"({"web": {"https_port": 0, "checklist": {
  "product title": "Quenmora Bench", "product path agent": "/nonexistent/Agent",
  "product path viewer": "/nonexistent/Viewer", "agent log path": "/nonexistent/Agent/Log",
  "api": ["127.0.0.1:{api}"], "gateway": ["127.0.0.1:{gateway}"], "proxy": ["127.0.0.1:{proxy}"],
  "session": ["127.0.0.1:{session}", "127.0.0.1:{session_high}"], "update": ["127.0.0.1:{update}"],
  "web": ["127.0.0.1:{web}", "127.0.0.1:{web_down}"]}},
 "relays": [{"name": "gateway", "port": "low"}, {"name": "session", "port": "low"},
            {"name": "session_high", "port": 0}],
 "http": [{"name": "api", "steps": [{"status": 200}]}, {"name": "proxy", "steps": [{"status": 200}]},
          {"name": "update", "steps": [{"status": 200}]}, {"name": "web", "steps": [{"status": 200}]},
          {"name": "web_down", "steps": [{"status": 503}]}]})";

// Times every event the window's thread handles, to name what kept it busy longest.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth_++ > 0) {  // nested events count with the outer one
            const bool handled = QApplication::notify(receiver, event);
            --depth_;
            return handled;
        }
        QElapsedTimer clock;
        clock.start();
        const int type = event->type();
        const char* name = receiver->metaObject()->className();
        const bool handled = QApplication::notify(receiver, event);
        --depth_;
        if (recording && clock.nsecsElapsed() > worst_ns) {
            worst_ns = clock.nsecsElapsed();
            worst = std::string(name) + " event " + std::to_string(type);
        }
        return handled;
    }

    bool recording = false;
    qint64 worst_ns = 0;
    std::string worst;

private:
    int depth_ = 0;
};

double ms(qint64 nanoseconds) { return static_cast<double>(nanoseconds) / 1e6; }

// Waits until the widget has painted once.
class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

struct Figures {
    std::vector<double> shown, load, busy;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double maximum(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void one_round(Figures& figures, TimedApplication& application)
{
    CCheckHost bare;
    bare.set_default_product();
    std::string failure;
    QElapsedTimer clock;
    clock.start();
    if (!bare.load_check_list(failure)) {
        std::fprintf(stderr, "check list: %s\n", failure.c_str());
        std::exit(1);
    }
    figures.load.push_back(ms(clock.nsecsElapsed()));

    clock.restart();
    CTarvoCheckToolDlg window;
    FirstPaint paint;
    window.installEventFilter(&paint);
    if (!window.OnInitDialog())
        std::exit(1);
    window.show();
    wait_pumping_until([&] { return paint.painted; });
    figures.shown.push_back(ms(clock.nsecsElapsed()));

    // The completion message is answered at once; its own event loop keeps the watchdog running.
    QTimer answer;
    answer.setInterval(1);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (window.message_box().isVisible())
            window.message_box().Answer(CSCMessageBox::kOk);
    });
    answer.start();

    QElapsedTimer since_tick;
    qint64 longest = 0;
    QTimer watchdog;
    watchdog.setTimerType(Qt::PreciseTimer);
    watchdog.setInterval(1);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        longest = std::max(longest, since_tick.nsecsElapsed());
        since_tick.restart();
    });
    bool finished = false;
    QObject::connect(&window, &CTarvoCheckToolDlg::RunFinished, [&] { finished = true; });
    since_tick.start();
    watchdog.start();
    application.recording = true;
    window.OnStartStop();
    wait_pumping_until([&] { return finished; });
    application.recording = false;
    watchdog.stop();
    figures.busy.push_back(ms(longest) - 1.0);  // the timer's own period is not busy time
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication application(argc, argv);
    InitControlLibrary();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    ProductLab lab;
    if (!lab.start(kScenario)) {
        std::fprintf(stderr, "lab: %s\n", lab.error().c_str());
        return 1;
    }
    qputenv("CHECKTOOL_WEB_HOST", "127.0.0.1");
    qputenv("CHECKTOOL_WEB_PORT", QByteArray::number(lab.port("web_https")));

    Figures figures;
    for (int round = 0; round < rounds; ++round)
        one_round(figures, application);

    std::vector<double> added;
    for (size_t i = 0; i < figures.shown.size(); ++i)
        added.push_back(figures.shown[i] - figures.load[i]);
    std::printf("rounds %d (median / worst, ms)\n", rounds);
    std::printf("shown       %8.1f %8.1f\n", median(figures.shown), maximum(figures.shown));
    std::printf("load        %8.1f %8.1f\n", median(figures.load), maximum(figures.load));
    std::printf("shown-load  %8.1f %8.1f   target 300\n", median(added), maximum(added));
    std::printf("busy        %8.1f %8.1f   target 50\n", median(figures.busy), maximum(figures.busy));
    std::printf("longest single event during runs: %.1f ms (%s)\n", ms(application.worst_ns), application.worst.c_str());
    return 0;
}
