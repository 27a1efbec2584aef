#pragma once

#include "ui/CSCColorTheme.h"
#include "ui/caption_glyphs.h"

#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <vector>

// The strip of caption buttons in the top-right corner of a frameless window: minimise,
// maximise/restore, close, keep-on-top and help, drawn in the theme's caption colours.
class CSCSystemButtons : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCommandKeepOnTop = 5121;
    static constexpr int kCommandHelp = 5122;
    static constexpr ARGB kCloseHotColor = 0xFFE81123;  // RGB(232, 17, 35)

    explicit CSCSystemButtons(QWidget* parent = nullptr);

    // Remembers the window the buttons act on, removes all buttons and shows the strip on it.
    void CreateButtons(QWidget* parent);
    void AddButton(int command, const QPixmap& image = QPixmap());
    void RemoveAllButtons();
    // Places the buttons left to right and the strip with its right end at right - 1.
    void LayoutButtons();

    int GetButtonCount() const { return static_cast<int>(buttons_.size()); }
    int GetButtonCommand(int index) const;
    QRect GetButtonRect(int index) const;
    bool HasButton(int command) const;
    // Acts as a click on the button does (for the keyboard's and screen readers' sake).
    void PressButton(int index);
    // The window the buttons act on.
    QWidget* TargetWindow() const;

    void SetButtonWidth(int pixels) { button_width_ = pixels; }
    void SetButtonHeight(int pixels) { button_height_ = pixels; }
    int GetButtonHeight() const { return button_height_; }
    void SetGap(int pixels) { gap_ = pixels; }
    void SetTop(int y) { top_ = y; }
    void SetRight(int x) { right_ = x; }

    int GetHotButton() const { return hot_; }
    bool IsPressed() const { return pressed_; }

    CSCColorTheme& GetColorTheme() { return theme_; }
    void SetThemeStyle(int style);

signals:
    // A button was released over itself; the strip has already acted on its window.
    void CommandInvoked(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Button {
        int command;
        QRect rect;
        QPixmap image;
    };

    int ButtonAt(QPoint point) const;
    void Execute(int command);
    void PaintButton(QPainter& painter, const Button& button, bool hot) const;
    void PaintKeepOnTop(QPainter& painter, QPointF centre) const;

    QWidget* target_ = nullptr;
    std::vector<Button> buttons_;
    int button_width_ = 44;
    int button_height_ = 32;
    int gap_ = 0;
    int top_ = 1;
    int right_ = -1;  // -1: the parent's client width - 1
    int hot_ = -1;
    bool pressed_ = false;
    CSCColorTheme theme_;
};
