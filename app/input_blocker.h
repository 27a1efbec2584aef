#pragma once

#include <QObject>

class QWidget;

// Keeps the user's input away from one window and every control inside it, without disabling them:
// a disabled window would grey out, and with it every window it owns (the progress window, the
// message box). Windows of their own stay answerable; closing the window is a request, not input,
// and still reaches it.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget& window) : window_(window) {}
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    void SetBlocked(bool blocked);
    bool IsBlocked() const { return blocked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool blocked_ = false;
};
