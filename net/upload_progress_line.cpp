#include "net/upload_progress_line.h"

#include "net/upload_progress_text.h"

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

UploadProgressLine::UploadProgressLine(std::function<void(const std::string&)> write)
    : write(std::move(write)), redrawing([this](std::stop_token stop) { redraw_while_open(stop); }) {}

void UploadProgressLine::update(std::int64_t sent_now, std::int64_t total_now) {
    std::lock_guard<std::mutex> guard(lock);
    const auto now = Clock::now();
    if (!open) {
        open = true;
        start = now;
        drawn = {};
    }
    sent = sent_now;
    total = total_now;
    if (sent == total || now - drawn >= kRedrawEvery) draw();
}

void UploadProgressLine::end() {
    std::lock_guard<std::mutex> guard(lock);
    if (!open) return;
    draw();
    write("\n");
    open = false;
}

void UploadProgressLine::draw() {
    drawn = Clock::now();
    // Erased to the line's end: the new text may be shorter than the last.
    write("\r" + upload_progress_text(sent, total, std::chrono::duration<double>(drawn - start).count()) +
          "\x1b[K");
}

void UploadProgressLine::redraw_while_open(std::stop_token stop) {
    std::unique_lock<std::mutex> guard(lock);
    while (!woken.wait_for(guard, stop, kRedrawEvery, [] { return false; }) && !stop.stop_requested())
        if (open && Clock::now() - drawn >= kRedrawEvery) draw();
}
