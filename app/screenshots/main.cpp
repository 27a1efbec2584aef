// checktool-screenshots: pictures of the main window in every state a user meets, each against the
// product lab playing a scenario of tools/lab/:
//   checktool-screenshots --lab PRODUCT_LAB --scenarios SCENARIO_FOLDER OUTPUT_FOLDER
// writes app-<state>.png into OUTPUT_FOLDER. The pictures are meant to be the same at every run:
// the window is drawn offscreen in Korean with the tool's own fonts, and what depends on the clock
// (times in rows, the picture's animation frame, the countdown) or on the lab's ports is frozen.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "app/CTarvoCheckToolDlg.h"
#include "app/screenshots/frozen_view.h"
#include "app/screenshots/lab_process.h"
#include "app/screenshots/window_shots.h"
#include "engine/save_log.h"
#include "sys/account_privilege.h"
#include "ui/ui_init.h"
#include "ui/wait_pumping.h"

namespace {

// Long enough for deferred layout and painting to be done before a picture is taken.
constexpr int kSettleMs = 300;
constexpr int kLoadLimitMs = 20000;
constexpr int kRunLimitMs = 60000;
// The countdown of the completion message never ticks while its picture is taken.
constexpr int kFrozenCountdownIntervalMs = 24 * 60 * 60 * 1000;
// The running picture shows this many log rows: the slow proxy's check is then under way.
constexpr int kRowsWhileRunning = 4;
// The collection's picture shows its progress window once this many of its steps are done.
constexpr int kCollectingStep = 5;

struct Options {
    QString lab;
    QString scenarios;
    QString output;
};

std::optional<Options> parse_options(const QStringList& arguments) {
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if ((argument == QStringLiteral("--lab") || argument == QStringLiteral("--scenarios")) &&
            i + 1 < arguments.size()) {
            (argument == QStringLiteral("--lab") ? options.lab : options.scenarios) = arguments[++i];
        } else if (!argument.startsWith(QLatin1Char('-')) && options.output.isEmpty()) {
            options.output = argument;
        } else {
            return std::nullopt;
        }
    }
    if (options.lab.isEmpty() || options.scenarios.isEmpty() || options.output.isEmpty()) return std::nullopt;
    return options;
}

// Dispatches events until the condition holds; false when it does not within the limit.
bool wait_for(const std::function<bool()>& done, int limit_ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.hasExpired(limit_ms)) return false;
        wait_pumping(5);
    }
    return true;
}

// A window on the lab playing one scenario, set up so that its pictures do not depend on the
// clock or on who runs this program.
class Scene {
public:
    Scene(const Options& options, const QString& work_folder, Shots& shots, const QString& scenario)
        : shots_(shots), lab_(options.lab, work_folder), scenario_(scenario) {
        if (!lab_.Start(QDir(options.scenarios).filePath(scenario))) {
            shots_.Fail(lab_.error());
            return;
        }
        qputenv("CHECKTOOL_WEB_HOST", "127.0.0.1");
        qputenv("CHECKTOOL_WEB_PORT", QByteArray::number(lab_.ports().value(QStringLiteral("web_https"))));
        window_ = std::make_unique<CTarvoCheckToolDlg>();
        window_->host().user_privilege = [] { return int{kPrivilegeAdmin}; };
        window_->picture().Image().SetClock(std::make_unique<FrozenAnimationClock>());
        window_->message_box().SetCountdownInterval(kFrozenCountdownIntervalMs);
        answerer_ = std::make_unique<BoxAnswerer>(*window_, shots_, StandInPorts(lab_.ports()));
        QObject::connect(window_.get(), &CTarvoCheckToolDlg::RunFinished, [this] { run_ended_ = true; });
    }

    ~Scene() {
        answerer_.reset();
        window_.reset();
        lab_.Stop();
    }

    bool started() const { return window_ != nullptr; }
    CTarvoCheckToolDlg& window() { return *window_; }
    BoxAnswerer& answerer() { return *answerer_; }

    // Loads the check list and shows the window; false (told) when loading failed.
    bool Open() {
        if (!window_->OnInitDialog()) return false;
        window_->show();
        wait_pumping(kSettleMs);
        return true;
    }

    void Shoot(const QString& name) { shots_.Take(name, GrabWindow(*window_, StandInPorts(lab_.ports()))); }
    void SettleAndShoot(const QString& name) {
        wait_pumping(kSettleMs);
        Shoot(name);
    }
    void ShootTab(int tab, const QString& name) {
        window_->tabs().setCurrentIndex(tab);
        SettleAndShoot(name);
    }

    // Starts a run (its completion message is answered with OK unless told otherwise).
    void StartRun() {
        run_ended_ = false;
        window_->OnStartStop();
    }
    bool WaitForRunEnd() {
        if (wait_for([this] { return run_ended_; }, kRunLimitMs)) return true;
        return shots_.Fail(QStringLiteral("the run of %1 did not end").arg(scenario_));
    }

private:
    Shots& shots_;
    LabProcess lab_;
    QString scenario_;
    std::unique_ptr<CTarvoCheckToolDlg> window_;
    std::unique_ptr<BoxAnswerer> answerer_;
    bool run_ended_ = false;
};

struct Context {
    const Options& options;
    QString work_folder;
    Shots& shots;
};

// The demo product: loaded, a completed run with one failing server, its pages, the collection.
void shoot_demo(Context& context) {
    Scene scene(context.options, context.work_folder, context.shots, QStringLiteral("demo.json"));
    if (!scene.started() || !scene.Open()) return;
    scene.Shoot(QStringLiteral("app-loaded"));

    scene.answerer().Expect(QStringLiteral("app-completed"), CSCMessageBox::kOk);
    scene.StartRun();
    if (!scene.WaitForRunEnd()) return;
    scene.ShootTab(1, QStringLiteral("app-result-failed"));
    scene.ShootTab(2, QStringLiteral("app-error-codes"));
    scene.ShootTab(0, QStringLiteral("app-completed-log"));

    CTarvoCheckToolDlg& window = scene.window();
    // The collection does not wait for the window; its picture is taken at a fixed step, before the
    // next event after that step is dispatched.
    const auto step_done = [&window] {
        const CMacProgressCtrl& bar = window.save_log_progress().Bar();
        return bar.GetPos() * kSaveLogSteps >= bar.maximum() * kCollectingStep;
    };
    StateWatch collecting(step_done, [&] { scene.Shoot(QStringLiteral("app-collecting")); });
    window.OnSaveLog();
    if (!wait_for([&window] { return !window.collecting(); }, kRunLimitMs))
        context.shots.Fail(QStringLiteral("the log collection did not end"));
    else if (!collecting.fired())
        context.shots.Fail(QStringLiteral("the log collection ended before its picture was taken"));
}

// A run stopped while a slow server is being checked, then the closing question.
void shoot_stop(Context& context) {
    Scene scene(context.options, context.work_folder, context.shots, QStringLiteral("slow-proxy.json"));
    if (!scene.started() || !scene.Open()) return;
    CTarvoCheckToolDlg& window = scene.window();
    scene.StartRun();
    if (!wait_for([&window] { return window.log_page().list().GetRowCount() >= kRowsWhileRunning; },
                  kRunLimitMs))
        return void(context.shots.Fail(QStringLiteral("the slow run never reached its proxy check")));
    scene.SettleAndShoot(QStringLiteral("app-running"));

    // Stopping waits for the current check to end; the picture is taken meanwhile.
    bool stopping_shot = false;
    QTimer::singleShot(kSettleMs, [&] {
        stopping_shot = window.run().running() || !window.run().finished();
        if (stopping_shot) scene.Shoot(QStringLiteral("app-stopping"));
    });
    window.OnStartStop();
    if (!scene.WaitForRunEnd()) return;
    if (!stopping_shot)
        context.shots.Fail(QStringLiteral("the run ended before the stopping picture was taken"));
    scene.SettleAndShoot(QStringLiteral("app-stopped"));

    scene.answerer().Expect(QStringLiteral("app-closing"), CSCMessageBox::kCancel);
    window.reject();
}

// A run in which every check passes: the result page without failures.
void shoot_all_passed(Context& context) {
    Scene scene(context.options, context.work_folder, context.shots, QStringLiteral("all-passed.json"));
    if (!scene.started() || !scene.Open()) return;
    scene.StartRun();
    if (scene.WaitForRunEnd()) scene.ShootTab(1, QStringLiteral("app-result-passed"));
}

// A relay that breaks off the key exchange: its rows fail.
void shoot_failing_relay(Context& context) {
    Scene scene(context.options, context.work_folder, context.shots, QStringLiteral("failing-relay.json"));
    if (!scene.started() || !scene.Open()) return;
    scene.StartRun();
    if (scene.WaitForRunEnd()) scene.SettleAndShoot(QStringLiteral("app-failing-relay"));
}

// A window as it opens on a product of the scenario.
void shoot_loaded(Context& context, const QString& scenario, const QString& name) {
    Scene scene(context.options, context.work_folder, context.shots, scenario);
    if (scene.started() && scene.Open()) scene.Shoot(name);
}

// The check list cannot be loaded: the message shows and the window never does.
void shoot_load_failure(Context& context) {
    Scene scene(context.options, context.work_folder, context.shots, QStringLiteral("load-failure.json"));
    if (!scene.started()) return;
    scene.answerer().Expect(QStringLiteral("app-load-failure"), CSCMessageBox::kOk);
    if (scene.Open()) context.shots.Fail(QStringLiteral("the check list of load-failure.json loaded"));
}

// Settings and scaling of the user who runs this must not change the pictures.
void fix_environment(const QString& home) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "ko_KR.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LANGUAGE");
    for (const char* variable : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                                 "QT_ENABLE_HIGHDPI_SCALING", "QT_STYLE_OVERRIDE"})
        qunsetenv(variable);
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = QDir(home).filePath(QString::fromLatin1(variable));
        QDir().mkpath(folder);
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(variable, folder.toLocal8Bit());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "checktool-screenshots: no temporary folder\n");
        return 1;
    }
    fix_environment(work.filePath(QStringLiteral("home")));
    QApplication application(argc, argv);
    // The application took the C library's locale from LANG. The error-code page shows the system's
    // own error texts, which are Korean only where the machine has the Korean locale: in English on
    // every machine, the pictures are the same everywhere (the window itself keeps the system's).
    std::setlocale(LC_MESSAGES, "C");
    const std::optional<Options> options = parse_options(QApplication::arguments());
    if (!options) {
        std::fprintf(
            stderr,
            "usage: checktool-screenshots --lab PRODUCT_LAB --scenarios SCENARIO_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    InitControlLibrary();
    Shots shots(options->output);
    Context context{*options, work.path(), shots};

    shoot_demo(context);
    shoot_stop(context);
    shoot_all_passed(context);
    shoot_failing_relay(context);
    shoot_loaded(context, QStringLiteral("unknown-product.json"), QStringLiteral("app-unknown-product"));
    shoot_loaded(context, QStringLiteral("long-title.json"), QStringLiteral("app-long-title"));
    shoot_load_failure(context);
    return shots.ok() ? 0 : 1;
}
