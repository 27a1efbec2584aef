#pragma once

#include <QDir>
#include <QMap>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <functional>

class CTarvoCheckToolDlg;

// Where the pictures go, and whether every one of them was taken.
class Shots {
public:
    explicit Shots(const QString& folder);
    // Saves the picture as NAME.png; a picture that cannot be saved is told and counts as a failure.
    void Take(const QString& name, const QPixmap& picture);
    // Tells what went wrong; always false, for returning.
    bool Fail(const QString& message);
    bool ok() const { return ok_; }

private:
    QDir folder_;
    bool ok_ = true;
};

// The window as a user sees it: its rows frozen (see FreezeLogRows), with the windows that show over
// it (the message box, the collection's progress window) drawn where they are. The message box
// alone while the window is hidden.
QPixmap GrabWindow(CTarvoCheckToolDlg& window, const QMap<QString, QString>& stand_in_ports);

// Answers every message of the window's box as a user would; the next one after Expect() is first
// taken as a picture under the expected name.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer(CTarvoCheckToolDlg& window, Shots& shots, QMap<QString, QString> stand_in_ports);
    ~BoxAnswerer() override;

    void Expect(const QString& name, int answer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CTarvoCheckToolDlg& window_;
    Shots& shots_;
    QMap<QString, QString> stand_in_ports_;
    QString expected_name_;
    int answer_;
};

// Runs an action once, at the first event after a condition has become true: the state is then
// exactly what the last dispatched event left, whatever a worker thread does meanwhile.
class StateWatch : public QObject {
public:
    StateWatch(std::function<bool()> condition, std::function<void()> action);
    ~StateWatch() override;

    bool fired() const { return fired_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> condition_;
    std::function<void()> action_;
    bool fired_ = false;
    bool acting_ = false;
};
