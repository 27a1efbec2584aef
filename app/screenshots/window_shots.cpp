#include "app/screenshots/window_shots.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <cstdio>

#include "app/CTarvoCheckToolDlg.h"
#include "app/screenshots/frozen_view.h"

namespace {

// Draws a window of its own that shows over the main window at its place.
void draw_over(QPixmap& shot, const QWidget& window, QWidget& over) {
    if (!over.isVisible() || !over.isWindow()) return;
    QPainter painter(&shot);
    painter.drawPixmap(over.frameGeometry().topLeft() - window.frameGeometry().topLeft(), over.grab());
}

}  // namespace

Shots::Shots(const QString& folder) : folder_(folder) {
    folder_.mkpath(QStringLiteral("."));
}

void Shots::Take(const QString& name, const QPixmap& picture) {
    const QString path = folder_.filePath(name + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(path)) {
        Fail(QStringLiteral("could not write %1").arg(path));
        return;
    }
    std::printf("wrote %s\n", qPrintable(path));
}

bool Shots::Fail(const QString& message) {
    std::fprintf(stderr, "checktool-screenshots: %s\n", qPrintable(message));
    ok_ = false;
    return false;
}

QPixmap GrabWindow(CTarvoCheckToolDlg& window, const QMap<QString, QString>& stand_in_ports) {
    FreezeLogRows(window.log_page().list(), stand_in_ports);
    if (!window.isVisible()) return window.message_box().grab();
    QPixmap shot = window.grab();
    draw_over(shot, window, window.save_log_progress());
    draw_over(shot, window, window.message_box());
    return shot;
}

BoxAnswerer::BoxAnswerer(CTarvoCheckToolDlg& window, Shots& shots, QMap<QString, QString> stand_in_ports)
    : window_(window),
      shots_(shots),
      stand_in_ports_(std::move(stand_in_ports)),
      answer_(CSCMessageBox::kOk) {
    window_.message_box().installEventFilter(this);
}

BoxAnswerer::~BoxAnswerer() {
    window_.message_box().removeEventFilter(this);
}

void BoxAnswerer::Expect(const QString& name, int answer) {
    expected_name_ = name;
    answer_ = answer;
}

bool BoxAnswerer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched == &window_.message_box()) {
        // Once the box is laid out and its modal loop runs.
        QTimer::singleShot(0, this, [this] {
            if (!expected_name_.isEmpty()) shots_.Take(expected_name_, GrabWindow(window_, stand_in_ports_));
            expected_name_.clear();
            window_.message_box().Answer(answer_);
            answer_ = CSCMessageBox::kOk;
        });
    }
    return QObject::eventFilter(watched, event);
}

StateWatch::StateWatch(std::function<bool()> condition, std::function<void()> action)
    : condition_(std::move(condition)), action_(std::move(action)) {
    QCoreApplication::instance()->installEventFilter(this);
}

StateWatch::~StateWatch() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool StateWatch::eventFilter(QObject* watched, QEvent* event) {
    // Taking the picture dispatches events of its own.
    if (!fired_ && !acting_ && condition_()) {
        acting_ = true;
        action_();
        acting_ = false;
        fired_ = true;
    }
    return QObject::eventFilter(watched, event);
}
