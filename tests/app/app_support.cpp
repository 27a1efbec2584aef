#include "tests/app/app_support.h"

#include <QDir>
#include <QEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>


#include "app/CTarvoCheckToolDlg.h"
#include "tests/gui/offscreen_application.h"
#include "tests/integration/lab_support.h"
#include "ui/CSCMessageBox.h"
#include "ui/CSCStatic.h"
#include "ui/ui_init.h"

namespace {

class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override { EnsureAppTestApplication(); }
};

[[maybe_unused]] ::testing::Environment* const g_app_environment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

QTemporaryDir& home_folder()
{
    static QTemporaryDir folder;
    return folder;
}

}  // namespace

const QString& TestHome()
{
    static const QString path = home_folder().path();
    return path;
}

QApplication* EnsureAppTestApplication()
{
    static QApplication* app = [] {
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const QString folder = TestHome() + QLatin1Char('/') + QString::fromLatin1(variable);
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv(variable, folder.toLocal8Bit());
        }
        auto* created = NewOffscreenApplication("app_test");
        InitControlLibrary();
        return created;
    }();
    return app;
}

MessageAnswerer::MessageAnswerer(CSCMessageBox& box, int answer) : box_(&box), answer_(answer)
{
    box.installEventFilter(this);
}

MessageAnswerer::~MessageAnswerer()
{
    if (box_)
        box_->removeEventFilter(this);
}

bool MessageAnswerer::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: the box also sends events while it is being destroyed.
    if (event->type() == QEvent::Show && watched == box_) {
        ++count_;
        last_text_ = box_->GetMessageArea()->GetText();
        last_answerable_ = box_->isEnabled();
        QTimer::singleShot(0, box_, [box = box_, answer = answer_] { box->Answer(answer); });
    }
    return QObject::eventFilter(watched, event);
}

EventHook::EventHook(QObject& target, std::function<void(QEvent*)> hook) : target_(&target), hook_(std::move(hook))
{
    target.installEventFilter(this);
}

EventHook::~EventHook()
{
    if (target_)
        target_->removeEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target_)
        hook_(event);
    return QObject::eventFilter(watched, event);
}

bool OpenAndRunToTheEnd(CTarvoCheckToolDlg& window)
{
    constexpr int kRunTimeoutMs = 60000;
    window.host().user_privilege = [] { return 2; };
    if (!window.OnInitDialog())
        return false;
    window.show();
    QSignalSpy finished(&window, &CTarvoCheckToolDlg::RunFinished);
    QTest::keyClick(&window, Qt::Key_Return);
    return finished.count() > 0 || finished.wait(kRunTimeoutMs);
}

void UseLabWebServer(const ProductLab& lab)
{
    qputenv("CHECKTOOL_WEB_HOST", "127.0.0.1");
    qputenv("CHECKTOOL_WEB_PORT", QByteArray::number(lab.port("web_https")));
}

std::string LabScenario(const std::string& checklist_members, const std::string& servers, const std::string& root)
{
    std::string scenario = R"({"web": {"https_port": 0, "checklist": {"product title": "Quenmora Test", )"
                           R"("product path agent": ")" + root + R"(/Agent", "product path viewer": ")" + root +
                           R"(/Viewer", "agent log path": ")" + root + R"(/Agent/Log")";
    if (!checklist_members.empty())
        scenario += ", " + checklist_members;
    scenario += "}}";
    if (!servers.empty())
        scenario += ", " + servers;
    return scenario + "}";
}
