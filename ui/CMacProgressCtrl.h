#pragma once

#include <QColor>
#include <QProgressBar>
#include <QTimer>

#include <array>
#include <vector>

// A self-drawn progress bar with a marquee mode. The marquee steps on a timer of the window's thread
// (every 10 ms, 6 pixels), so stepping and painting never overlap and nothing outlives the bar.
class CMacProgressCtrl : public QProgressBar {
    Q_OBJECT

public:
    static constexpr int kMarqueeBlockWidth = 120;
    static constexpr int kMarqueeStep = 6;
    static constexpr int kMarqueeIntervalMs = 10;

    explicit CMacProgressCtrl(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetPos(int position);
    int GetPos() const { return value(); }
    void StepIt();
    void SetBarColor(const QColor& colour);
    void SetMarquee(bool on);

    // Plain property setters.
    void SetBarColorOnly(const QColor& colour);
    void SetTrackColor(const QColor& colour) { track_colour_ = colour; update(); }
    void SetBkColor(const QColor& colour) { background_colour_ = colour; update(); }
    void SetStyle(int style) { style_ = style; update(); }
    void SetShaded(bool on) { shaded_ = on; update(); }
    void SetShowText(bool on, int mode = 0) { show_text_ = on; text_mode_ = mode; update(); }
    void SetTextColors(const QColor& first, const QColor& second, bool two_colours = false);
    void SetBorder(bool on, const QColor& colour = QColor(188, 188, 188)) { border_ = on; border_colour_ = colour; update(); }
    void SetSeekable(bool on) { seekable_ = on; }
    void SetAutoHide(bool on) { auto_hide_ = on; }
    void SetMarqueeColors(std::vector<QColor> colours) { marquee_colours_ = std::move(colours); update(); }

    QColor BarColor() const { return bar_colour_; }
    QColor TrackColor() const { return track_colour_; }
    const std::array<QColor, 5>& Shades() const { return shades_; }
    bool IsMarquee() const { return marquee_; }
    int MarqueePosition() const { return marquee_position_; }
    bool MarqueeForward() const { return marquee_forward_; }
    const std::vector<QColor>& MarqueeColors() const { return marquee_colours_; }
    // Where the filled part ends (x, or y with a vertical bar) for the current position.
    int BarEnd() const;

    // One marquee step: move the block, turn at the ends (reversing the colours), repaint.
    void StepMarquee();

signals:
    // The position the user picked with the mouse on a seekable bar.
    void positionPicked(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void ComputeShades();
    void PaintPosition(QPainter& painter);
    void PaintMarquee(QPainter& painter);
    void PaintText(QPainter& painter);
    void PickPosition(const QPoint& point);
    void ApplyAutoHide();

    QColor bar_colour_{0, 255, 0};
    QColor track_colour_;
    QColor background_colour_;
    int style_ = 0;
    bool shaded_ = false;
    std::array<QColor, 5> shades_;
    bool show_text_ = false;
    int text_mode_ = 0;
    QColor text_colour_;
    QColor second_text_colour_{Qt::black};
    bool two_text_colours_ = false;
    bool border_ = false;
    QColor border_colour_{188, 188, 188};
    bool seekable_ = false;
    bool auto_hide_ = false;
    bool marquee_ = false;
    int marquee_position_ = 0;
    bool marquee_forward_ = true;
    std::vector<QColor> marquee_colours_;
    QTimer marquee_timer_;
};
