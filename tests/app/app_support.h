#pragma once

#include <QApplication>

#include "ui/CSCMessageBox.h"
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>

class CTarvoCheckToolDlg;
class ProductLab;

// The binary's QApplication. Before it exists the settings, data and runtime folders are pointed at a
// fresh temporary folder, so the user's settings never reach a test and a test leaves nothing behind.
QApplication* EnsureAppTestApplication();
// That temporary folder.
const QString& TestHome();

// Answers every message the box shows with the given code, remembering the last text and how many
// messages there were. The answer is given from the box's own event loop, as a user would.
class MessageAnswerer : public QObject {
public:
    MessageAnswerer(CSCMessageBox& box, int answer);
    ~MessageAnswerer() override;

    void SetAnswer(int answer) { answer_ = answer; }
    int Count() const { return count_; }
    const QString& LastText() const { return last_text_; }
    // Whether the last message could take the user's answer (a disabled box could not).
    bool LastAnswerable() const { return last_answerable_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<CSCMessageBox> box_;  // the box may go with its window first
    int answer_;
    int count_ = 0;
    QString last_text_;
    bool last_answerable_ = false;
};

// Calls a function with every event an object receives, before the object sees it; the object
// still gets the event.
class EventHook : public QObject {
public:
    EventHook(QObject& target, std::function<void(QEvent*)> hook);
    ~EventHook() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> target_;
    std::function<void(QEvent*)> hook_;
};

// Opens the window for an account that passes the administrator check, starts a run with Enter and
// waits at most a minute for it to end; false when it could not open or the run did not end.
bool OpenAndRunToTheEnd(CTarvoCheckToolDlg& window);

// Points the window at the lab's web server (HTTPS port) for the next load of its check list.
void UseLabWebServer(const ProductLab& lab);

// Check-list members and lab servers: one API server, and two web servers of which the second is down.
inline const std::string kWebDownMembers =
    R"("api": ["127.0.0.1:{api}"], "web": ["127.0.0.1:{web}", "127.0.0.1:{down}"])";
inline const std::string kWebDownServers =
    R"("http": [{"name": "api", "steps": [{"status": 200}]}, {"name": "web", "steps": [{"status": 200}]},)"
    R"( {"name": "down", "steps": [{"status": 503}]}])";

// A check-list scenario for the lab: `checklist_members` is the JSON text of the check list's server
// members (without braces), `servers` the text of the lab's "relays" and "http" members; the product's
// folders lie below `root`.
std::string LabScenario(const std::string& checklist_members, const std::string& servers,
                        const std::string& root = "/nonexistent");
