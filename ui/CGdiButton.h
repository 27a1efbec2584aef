#pragma once

#include "ui/CGdiplusBitmap.h"
#include "ui/CSCColorTheme.h"
#include "ui/caption_glyphs.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

// A self-drawn push button (or check box / radio button) with four colour states, rounded corners,
// optional border and hover tracking.
class CGdiButton : public QAbstractButton {
    Q_OBJECT

public:
    enum Kind { PushButton, CheckBox, RadioButton };
    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
    // The platform's window commands whose glyphs the button can show instead of text.
    static constexpr int kGlyphNone = -1;
    static constexpr int kGlyphMinimize = kCommandMinimize;
    static constexpr int kGlyphMaximize = kCommandMaximize;
    static constexpr int kGlyphClose = kCommandClose;
    // Text icon alignment bits.
    static constexpr int kIconCentre = 1;
    static constexpr int kIconRight = 2;
    static constexpr int kIconMiddle = 4;
    static constexpr int kIconBottom = 8;

    explicit CGdiButton(QWidget* parent = nullptr);
    CGdiButton(const QString& text, QWidget* parent = nullptr);

    void SetTextColor(ARGB colour);
    void SetBackColor(ARGB colour);
    void SetTransparent(ARGB parent_colour);

    void SetKind(Kind kind, bool push_like = false);
    void SetCornerRadius(int radius);
    void Set3dEdge(bool on);
    void SetFlat(bool on);
    void SetBorder(bool on, ARGB colour = 0xFF696969, int width = 1);
    void SetHoverTracking(bool on);
    void SetHoverBorder(bool on, ARGB colour = 0xFF8080FF, int width = 1);
    void SetFocusFrame(bool on, ARGB colour = 0xFF696969, int width = 1);
    void SetSystemGlyph(int command);
    bool SetTextIcon(const QString& type, int id, int alignment = kIconCentre, double height_factor = 0.6, int gap = 2);
    bool SetBackImage(const QString& type, int id);
    void SetChecked(int state);
    void SetBlink(bool on, int shown_ms = 1200, int hidden_ms = 400);
    void SetAutoRepeat(bool on, int period_ms = 500);

    State CurrentState() const;
    bool IsHovering() const { return hovering_; }
    int Checked() const { return checked_; }
    int CornerRadius() const { return corner_radius_; }
    bool IsTransparent() const { return transparent_; }
    ARGB ParentColor() const { return parent_colour_; }
    const std::vector<ARGB>& TextColors() const { return text_colours_; }
    const std::vector<ARGB>& BackColors() const { return back_colours_; }

    QSize sizeHint() const override;

signals:
    void hoverStarted();  // the pointer started hovering
    void hoverEnded();    // the pointer left
    void leftPressed();   // the left button (or space) went down
    void leftReleased();  // the left button (or space) went up over the button

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void nextCheckState() override;

private:
    void PaintBackground(QPainter& painter, State state);
    void PaintCheckMark(QPainter& painter);
    void PaintGlyph(QPainter& painter, QColor colour, State state);
    void PaintFrames(QPainter& painter);
    void PaintText(QPainter& painter, QColor colour);
    void SetHovering(bool on);
    void ToggleBlink();

    Kind kind_ = PushButton;
    bool push_like_ = false;
    std::vector<ARGB> text_colours_;
    std::vector<ARGB> back_colours_;
    bool transparent_ = false;
    ARGB parent_colour_ = kArgbNone;
    int corner_radius_ = 0;
    bool edge_3d_ = true;
    bool flat_ = false;
    struct Frame {
        bool on = false;
        ARGB colour = 0xFF696969;
        int width = 1;
    };
    Frame border_;
    bool hover_tracking_ = false;
    bool hovering_ = false;
    Frame hover_border_{false, 0xFF8080FF, 1};
    Frame focus_frame_;
    int system_glyph_ = kGlyphNone;
    std::unique_ptr<CGdiplusBitmap> text_icon_;
    int icon_alignment_ = kIconCentre;
    double icon_height_factor_ = 0.6;
    int icon_gap_ = 2;
    std::unique_ptr<CGdiplusBitmap> back_image_;
    int checked_ = 0;
    QTimer blink_timer_;
    bool blink_shown_ = true;
    int blink_shown_ms_ = 1200;
    int blink_hidden_ms_ = 400;
    bool window_focus_ = false;  // the focus widget of its window, active or not
    bool lost_focus_when_disabled_ = false;
    QPointer<QWidget> focus_taker_;
};
