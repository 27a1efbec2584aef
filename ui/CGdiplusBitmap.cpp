#include "ui/CGdiplusBitmap.h"

#include "ui/draw_helpers.h"
#include "ui/gif_frame_delays.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// Pictures whose frames carry no delay play at ten frames a second.
constexpr int kDefaultDelayHundredths = 10;
constexpr int kPausedPollMs = 500;

QBrush CheckerboardBrush()
{
    QImage tile(32, 32, QImage::Format_RGB32);
    tile.fill(QColor(255, 255, 255));
    QPainter painter(&tile);
    painter.fillRect(16, 0, 16, 16, QColor(200, 200, 200));
    painter.fillRect(0, 16, 16, 16, QColor(200, 200, 200));
    painter.end();
    return QBrush(tile);
}

std::vector<int> DelaysOf(const QByteArray& bytes, const QByteArray& format, int frame_count)
{
    std::vector<int> delays;
    if (format == "gif") {
        if (auto read = ReadGifFrameDelays(bytes))
            delays = std::move(*read);
    } else {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, format);
        while (reader.canRead() && reader.read().isNull() == false)
            delays.push_back(reader.nextImageDelay() / 10);
    }
    delays.resize(static_cast<std::size_t>(frame_count), 0);
    for (int& delay : delays) {
        if (delay <= 0)
            delay = kDefaultDelayHundredths;
    }
    return delays;
}

}  // namespace

AnimationSurface::AnimationSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void AnimationSurface::SetFrame(const QImage& frame, ARGB background, bool fill_background, bool flip_vertically)
{
    frame_ = frame;
    background_ = background;
    fill_background_ = fill_background;
    flip_vertically_ = flip_vertically;
    update();
}

void AnimationSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (fill_background_) {
        if (background_ == kArgbNone)
            painter.fillRect(rect(), CheckerboardBrush());
        else
            painter.fillRect(rect(), ToPlatformColor(background_));
    }
    if (!frame_.isNull())
        painter.drawImage(rect(), flip_vertically_ ? frame_.mirrored(false, true) : frame_);
}

CGdiplusBitmap::CGdiplusBitmap() : clock_(std::make_unique<SteadyAnimationClock>()) {}

CGdiplusBitmap::~CGdiplusBitmap()
{
    Release();
    delete surface_.data();
}

bool CGdiplusBitmap::LoadFromResource(const QString& type, int id)
{
    Release();
    if (id == 0)
        return false;
    const QString lower = type.toLower();
    const bool encoded = lower == QLatin1String("png") || lower == QLatin1String("jpg") || lower == QLatin1String("gif");
    QFile file(QStringLiteral(":/%1/%2").arg(encoded ? lower : QStringLiteral("bitmap")).arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return LoadFromData(file.readAll(), QStringLiteral("resource_image.") + lower);
}

bool CGdiplusBitmap::LoadFromData(const QByteArray& bytes, const QString& name)
{
    Release();
    auto device = std::make_unique<QBuffer>();
    device->setData(bytes);
    device->open(QIODevice::ReadOnly);
    auto reader = std::make_unique<QImageReader>(device.get());
    const QByteArray format = reader->format();
    const int frame_count = std::max(reader->imageCount(), 1);
    const QImage first = reader->read();
    if (first.isNull())
        return false;

    name_ = name;
    if (frame_count > 1) {
        encoded_ = bytes;
        encoded_device_ = std::move(device);
        reader_ = std::move(reader);
        decoded_index_ = 0;
    }
    image_ = first;
    Refresh(first.size(), frame_count, frame_count > 1 ? DelaysOf(bytes, format, frame_count) : std::vector<int>{});
    return true;
}

void CGdiplusBitmap::Refresh(const QSize& size, int frame_count, std::vector<int> delays)
{
    width_ = size.width();
    height_ = size.height();
    frame_count_ = frame_count;
    delays_ = std::move(delays);
    std::lock_guard lock(state_mutex_);
    current_frame_ = 0;
    running_ = false;
}

void CGdiplusBitmap::Release()
{
    if (image_.isNull() && !thread_.joinable())
        return;
    StopAnimationThread();
    {
        std::lock_guard lock(state_mutex_);
        ++generation_;  // frames still queued for the window belong to the old picture
        current_frame_ = 0;
        paused_ = false;
    }
    image_ = QImage();
    reader_.reset();
    encoded_device_.reset();
    encoded_.clear();
    decoded_index_ = -1;
    delays_.clear();
    width_ = height_ = frame_count_ = 0;
    name_.clear();
    if (surface_)
        surface_->SetFrame(QImage(), background_, false, false);
}

void CGdiplusBitmap::SetBackground(ARGB colour)
{
    background_ = colour;
    if (IsAnimated() || !IsValid())
        return;
    QImage composed(image_.size(), QImage::Format_ARGB32);
    composed.fill(ToQColorWithAlpha(colour));
    QPainter painter(&composed);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = composed;
}

void CGdiplusBitmap::Resize(int width, int height)
{
    if ((width <= 0 && height <= 0) || !IsValid() || IsAnimated())
        return;
    if (width <= 0)
        width = static_cast<int>(width_ / (static_cast<double>(height_) / height));
    if (height <= 0)
        height = static_cast<int>(height_ / (static_cast<double>(width_) / width));
    if (width <= 0 || height <= 0)
        return;
    image_ = image_.convertToFormat(QImage::Format_ARGB32)
                 .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Refresh(image_.size(), 1, {});
}

void CGdiplusBitmap::StartAnimation(QWidget* window, int left, int top, int right, int bottom)
{
    if (!IsValid())
        return;
    const int w = right - left > 0 ? right - left : width_;
    const int h = bottom - top > 0 ? bottom - top : height_;
    QRect fitted = AspectFitRect(width_, height_, QRect(left, top, w, h));
    if (!IsAnimated() || window == nullptr)
        return;
    if (fitted.width() == 0)
        fitted.setWidth(width_);
    if (fitted.height() == 0)
        fitted.setHeight(height_);
    if (target_window_ != window) {
        delete surface_.data();
        target_window_ = window;
        surface_ = new AnimationSurface(window);
    }
    target_rect_ = fitted;
    surface_->setGeometry(target_rect_);
    surface_->show();
    if (!animation_enabled)
        return;
    {
        std::lock_guard lock(state_mutex_);
        paused_ = true;
        if (running_)
            return;
    }
    LaunchThread(true);
}

void CGdiplusBitmap::SetTargetSize(int width, int height)
{
    target_rect_.setSize(QSize(width, height));
    if (surface_)
        surface_->setGeometry(target_rect_);
}

void CGdiplusBitmap::Play()
{
    if (!animation_enabled || !IsAnimated())
        return;
    {
        std::unique_lock lock(state_mutex_);
        if (running_) {
            if (paused_) {
                paused_ = false;
                lock.unlock();
                clock_->Wake();  // resume now rather than at the end of the paused wait
                ReportPlaying();
            }
            return;
        }
    }
    // The thread was ended (StopAnimationThread) or never started: a new one plays, whatever pause
    // the old one was left in.
    LaunchThread(false);
    ReportPlaying();
}

void CGdiplusBitmap::ReportPlaying()
{
    const bool playing = is_playing();
    if (playing != reported_playing_) {
        reported_playing_ = playing;
        emit playingChanged(playing);
    }
}

void CGdiplusBitmap::LaunchThread(bool paused)
{
    // A thread that ended by itself is joined before its successor starts.
    if (thread_.joinable())
        thread_.join();
    {
        std::lock_guard lock(state_mutex_);
        running_ = true;
        paused_ = paused;
        current_frame_ = 0;
    }
    SelectFrame(0);
    thread_ = std::thread(&CGdiplusBitmap::RunAnimation, this, generation_, delays_);
}

void CGdiplusBitmap::Stop()
{
    if (frame_count_ < 2)
        return;
    {
        std::lock_guard lock(state_mutex_);
        current_frame_ = 0;
        paused_ = true;
    }
    ShowFrame(generation_, 0, false);
    InvalidateTarget();
    ReportPlaying();
}

void CGdiplusBitmap::StopAnimationThread()
{
    {
        std::lock_guard lock(state_mutex_);
        running_ = false;
    }
    if (thread_.joinable()) {
        clock_->Wake();
        thread_.join();
    }
    InvalidateTarget();
    ReportPlaying();
}

void CGdiplusBitmap::Draw(QPainter& painter, const QRect& rect) const
{
    if (!IsValid())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, image_);
    painter.restore();
}

void CGdiplusBitmap::SetClock(std::unique_ptr<AnimationClock> clock)
{
    if (clock == nullptr || thread_.joinable())
        return;
    clock_ = std::move(clock);
}

int CGdiplusBitmap::current_frame() const
{
    std::lock_guard lock(state_mutex_);
    return current_frame_;
}

bool CGdiplusBitmap::is_running() const
{
    std::lock_guard lock(state_mutex_);
    return running_;
}

bool CGdiplusBitmap::is_paused() const
{
    std::lock_guard lock(state_mutex_);
    return paused_;
}

bool CGdiplusBitmap::is_playing() const
{
    std::lock_guard lock(state_mutex_);
    return running_ && !paused_;
}

void CGdiplusBitmap::SelectFrame(int index)
{
    if (reader_ == nullptr || index < 0 || index >= frame_count_ || index == decoded_index_)
        return;
    if (index < decoded_index_) {
        // GIF frames build on their predecessors: go back to the start and decode forward.
        encoded_device_->seek(0);
        reader_ = std::make_unique<QImageReader>(encoded_device_.get());
        decoded_index_ = -1;
    }
    while (decoded_index_ < index) {
        const QImage next = reader_->read();
        if (next.isNull())
            break;
        image_ = next;
        ++decoded_index_;
    }
}

void CGdiplusBitmap::ShowFrame(unsigned generation, int index, bool notify)
{
    if (generation != generation_ || !IsAnimated())
        return;
    SelectFrame(index);
    if (surface_)
        surface_->SetFrame(image_, background_, fill_background, flip_vertically);
    if (notify)
        emit frameDrawn(index, frame_count_);
}

void CGdiplusBitmap::InvalidateTarget()
{
    if (target_window_)
        target_window_->update(target_rect_);
}

void CGdiplusBitmap::RunAnimation(unsigned generation, std::vector<int> delays)
{
    const int count = static_cast<int>(delays.size());
    if (count < 2)
        return;
    std::int64_t t0 = clock_->NowMs();
    std::unique_lock lock(state_mutex_);
    while (running_) {
        const int frame = current_frame_;
        const bool paused = paused_;
        lock.unlock();
        // The window's thread draws the frame; the notification follows the drawing there.
        QMetaObject::invokeMethod(
            this, [this, generation, frame, paused] { ShowFrame(generation, frame, !paused); }, Qt::QueuedConnection);
        if (paused) {
            clock_->WaitMs(kPausedPollMs);
            lock.lock();
            continue;
        }
        lock.lock();
        if (!running_ || paused_)
            continue;
        current_frame_ = (current_frame_ + 1) % count;
        const std::int64_t delay = delays[static_cast<std::size_t>(current_frame_)] * 10LL;
        lock.unlock();
        const std::int64_t elapsed = clock_->NowMs() - t0;
        if (elapsed < delay)
            clock_->WaitMs(delay - elapsed);
        t0 = clock_->NowMs();
        lock.lock();
    }
}
