#pragma once

#include "ui/CSCColorTheme.h"
#include "ui/caption_drag.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

class CGdiButton;
class CSCStatic;
class QEventLoop;

// The program's themed message box: a flat window with a coloured caption strip, the standard button
// sets and icons, a message area sized to the text, and an optional countdown after which the box
// answers OK by itself. Created once and reused for every message.
class CSCMessageBox : public QDialog {
    Q_OBJECT

public:
    // Answer codes, one per button.
    enum Answer {
        kNoAnswer = -1,
        kOk = 1,
        kCancel = 2,
        kAbort = 3,
        kRetry = 4,
        kIgnore = 5,
        kYes = 6,
        kNo = 7,
        kClose = 8,
        kHelp = 9,
        kTryAgain = 10,
        kContinue = 11,
    };
    // Button sets (flags & 0x0F) and icon kinds (flags & 0xF0), as the platform's message box flags.
    static constexpr unsigned kOkOnly = 0x00, kOkCancel = 0x01, kAbortRetryIgnore = 0x02, kYesNoCancel = 0x03,
                              kYesNo = 0x04, kRetryCancel = 0x05, kCancelTryContinue = 0x06;
    static constexpr unsigned kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30,
                              kIconInformation = 0x40;

    static constexpr int kCaptionHeight = 24;
    static constexpr int kButtonWidth = 84;
    static constexpr int kButtonHeight = 28;
    static constexpr int kButtonIdBase = 1147;
    static constexpr int kCloseButtonId = 1149;
    static constexpr int kMinWidth = 320;
    static constexpr int kMaxWidth = 800;
    static constexpr int kMinHeight = 160;

    explicit CSCMessageBox(QWidget* parent = nullptr);
    ~CSCMessageBox() override;

    // Width or height below 0: 440 x 240, sized to each message.
    bool Create(QWidget* parent, const QString& title, int caption_icon_id = 0, bool modal = true, int width = -1,
                int height = -1);
    void SetThemeStyle(int style);
    CSCColorTheme& GetColorTheme() { return theme_; }

    // Shows the box modally and returns the answer code.
    int ShowMessage(const QString& text, unsigned flags = kOkOnly, int countdown_seconds = 0);

    // Lays the box out for a message without showing it; a countdown > 0 is stored.
    void SetMessage(const QString& text, unsigned flags, int countdown_seconds = 0,
                    std::optional<Qt::Alignment> alignment = std::nullopt);

    void SetTitle(const QString& title);
    QString GetTitle() const { return title_; }
    // The caption as painted: "title (seconds)" while a countdown runs.
    QString GetCaptionText() const;
    int GetCountdown() const { return countdown_; }
    int GetResult() const { return result_; }
    void SetAutoSize(bool on) { auto_size_ = on; }
    void SetTextAlignment(Qt::Alignment alignment) { alignment_ = alignment; }

    // Korean or English captions; Create picks them from the interface language.
    void SetKoreanCaptions(bool korean);
    static QString ButtonCaption(int code, bool korean);
    static std::vector<int> ButtonSet(unsigned flags);
    // The countdown's tick (1000 ms); tests shorten it.
    void SetCountdownInterval(int milliseconds) { countdown_timer_.setInterval(milliseconds); }

    // Gives the answer: a modal box returns from ShowMessage, any box reports it.
    void Answer(int code);

    CGdiButton* GetAnswerButton(int code) const;
    CGdiButton* GetCloseButton() const { return close_button_; }
    CSCStatic* GetMessageArea() const { return message_area_; }
    int GetIconIndex() const { return icon_index_; }

signals:
    void Answered(int code);
    void CountdownTicked(int seconds_left);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum IconIndex { kIconIndexError, kIconIndexQuestion, kIconIndexWarning, kIconIndexInformation };

    void CreateButtons();
    void ApplyCloseButtonColors(bool hover);
    void PlaceButtons(const std::vector<int>& codes);
    void CentreOnParent();
    void OnCountdownTick();

    CSCColorTheme theme_;
    QString title_;
    QPixmap caption_icon_;
    QString message_;
    unsigned flags_ = 0;
    int countdown_ = 0;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    int result_ = kNoAnswer;
    bool modal_ = true;
    bool auto_size_ = true;
    bool korean_ = false;
    std::array<QPixmap, 4> icons_;
    int icon_index_ = -1;
    std::array<CGdiButton*, 11> answer_buttons_{};
    CGdiButton* close_button_ = nullptr;
    CSCStatic* message_area_ = nullptr;
    QTimer countdown_timer_;
    QEventLoop* loop_ = nullptr;
    CaptionDrag drag_;
};
