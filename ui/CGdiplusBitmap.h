#pragma once

#include "ui/CSCColorTheme.h"
#include "ui/animation_clock.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QPainter;

// The widget an animation draws into: a child of the target window covering the target rectangle.
class AnimationSurface : public QWidget {
public:
    explicit AnimationSurface(QWidget* parent);
    void SetFrame(const QImage& frame, ARGB background, bool fill_background, bool flip_vertically);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
    ARGB background_ = kArgbNone;
    bool fill_background_ = true;
    bool flip_vertically_ = false;
};

// A picture from the program's resources: still pictures are composited and rescaled, multi-frame
// pictures play on a thread of their own that paces the frames; the frames themselves are decoded
// and drawn on the window's thread.
class CGdiplusBitmap : public QObject {
    Q_OBJECT

public:
    CGdiplusBitmap();
    ~CGdiplusBitmap() override;
    CGdiplusBitmap(const CGdiplusBitmap&) = delete;
    CGdiplusBitmap& operator=(const CGdiplusBitmap&) = delete;

    bool LoadFromResource(const QString& type, int id);
    bool LoadFromResource(int id) { return LoadFromResource(QStringLiteral("PNG"), id); }
    // Decodes a picture held in memory (what LoadFromResource does with the resource's bytes).
    bool LoadFromData(const QByteArray& bytes, const QString& name);
    void Release();

    void SetBackground(ARGB colour);
    void Resize(int width, int height);
    void StartAnimation(QWidget* window, int left = 0, int top = 0, int right = 0, int bottom = 0);
    void SetTargetSize(int width, int height);
    void Play();
    void Stop();
    // Ends the animation thread (the picture stays loaded) and invalidates the target rectangle.
    void StopAnimationThread();
    // Stretches the active frame into the rectangle; an empty picture draws nothing.
    void Draw(QPainter& painter, const QRect& rect) const;

    // Replaces the animation thread's clock; takes effect at the next start of the thread.
    void SetClock(std::unique_ptr<AnimationClock> clock);

    bool IsValid() const { return !image_.isNull() && width_ > 0 && height_ > 0; }
    bool IsAnimated() const { return IsValid() && frame_count_ > 1; }
    int width() const { return width_; }
    int height() const { return height_; }
    int frame_count() const { return frame_count_; }
    const std::vector<int>& frame_delays() const { return delays_; }
    int current_frame() const;
    bool is_running() const;
    bool is_paused() const;
    // The animation thread runs and is not paused.
    bool is_playing() const;
    const QString& name() const { return name_; }
    const QImage& image() const { return image_; }
    QRect target_rect() const { return target_rect_; }
    ARGB background() const { return background_; }

    bool fill_background = true;
    bool animation_enabled = true;
    bool flip_vertically = false;

signals:
    // After each frame drawn while playing: the frame's index and the frame count.
    void frameDrawn(int frame, int frame_count);
    // The picture started or stopped playing (Play, Stop, the end of its thread).
    void playingChanged(bool playing);

private:
    void Refresh(const QSize& size, int frame_count, std::vector<int> delays);
    void SelectFrame(int index);
    void ShowFrame(unsigned generation, int index, bool notify);
    void InvalidateTarget();
    void RunAnimation(unsigned generation, std::vector<int> delays);
    // Starts the animation thread on frame 0, paused or playing.
    void LaunchThread(bool paused);
    void ReportPlaying();

    QImage image_;  // the active frame
    QString name_ = QStringLiteral("untitled");
    int width_ = 0;
    int height_ = 0;
    int frame_count_ = 0;
    std::vector<int> delays_;
    ARGB background_ = kArgbNone;

    // Frames are decoded in order as the animation reaches them.
    QByteArray encoded_;
    std::unique_ptr<QBuffer> encoded_device_;
    std::unique_ptr<QImageReader> reader_;
    int decoded_index_ = -1;

    QPointer<QWidget> target_window_;
    QPointer<AnimationSurface> surface_;
    QRect target_rect_;

    // Shared with the animation thread.
    mutable std::mutex state_mutex_;
    bool running_ = false;
    bool paused_ = false;
    int current_frame_ = 0;
    unsigned generation_ = 0;
    std::unique_ptr<AnimationClock> clock_;
    std::thread thread_;
    bool reported_playing_ = false;  // window's thread only
};
