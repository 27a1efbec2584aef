// checktool-screenshots: opens the main window on the product named by CHECKTOOL_WEB_HOST and
// CHECKTOOL_WEB_PORT (the product lab), runs a diagnosis and saves what a user sees on the way:
//   checktool-screenshots OUTPUT_FOLDER
// writes app-loaded.png, app-running.png, app-completed.png, app-result.png and app-error-codes.png.
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

#include "app/CTarvoCheckToolDlg.h"
#include "app/pumping_wait.h"
#include "ui/ui_init.h"
#include "ui/wait_pumping.h"

namespace {

constexpr int kSettleMs = 400;

// The window with the message box over it, when one shows.
QPixmap grab_window(CTarvoCheckToolDlg& window)
{
    QPixmap shot = window.grab();
    CSCMessageBox& box = window.message_box();
    if (box.isVisible()) {
        QPainter painter(&shot);
        painter.drawPixmap(box.frameGeometry().topLeft() - window.frameGeometry().topLeft(), box.grab());
    }
    return shot;
}

// Waits for the window to settle first unless the moment itself matters (a run in progress).
bool save(CTarvoCheckToolDlg& window, const QDir& folder, const char* name, bool settle = true)
{
    if (settle)
        wait_pumping(kSettleMs);
    const QString path = folder.filePath(QString::fromLatin1(name));
    const bool ok = grab_window(window).save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// Takes the completion message's picture while it shows, then answers it as the user would.
class CompletionAnswerer : public QObject {
public:
    CompletionAnswerer(CTarvoCheckToolDlg& window, const QDir& folder) : window_(window), folder_(folder) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            QTimer::singleShot(0, this, [this] {
                save(window_, folder_, "app-completed.png", false);
                window_.message_box().Answer(CSCMessageBox::kOk);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CTarvoCheckToolDlg& window_;
    QDir folder_;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: checktool-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    InitControlLibrary();
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    CTarvoCheckToolDlg window;
    if (!window.OnInitDialog())
        return 1;
    window.show();
    bool ok = save(window, folder, "app-loaded.png");

    CompletionAnswerer answerer(window, folder);
    window.message_box().installEventFilter(&answerer);
    bool finished = false;
    QObject::connect(&window, &CTarvoCheckToolDlg::RunFinished, [&] { finished = true; });
    window.OnStartStop();
    wait_pumping_until([&] { return finished || window.log_page().list().GetRowCount() >= 4; });
    ok = save(window, folder, "app-running.png", false) && ok;
    wait_pumping_until([&] { return finished; });

    window.tabs().setCurrentIndex(1);
    ok = save(window, folder, "app-result.png") && ok;
    window.tabs().setCurrentIndex(2);
    ok = save(window, folder, "app-error-codes.png") && ok;
    window.tabs().setCurrentIndex(0);
    return ok ? 0 : 1;
}
