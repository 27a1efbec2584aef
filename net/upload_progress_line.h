#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The one line a terminal rewrites in place while an upload runs (upload_progress_text). Counts come
// in bursts and then may stop altogether (a stalled server): the line is redrawn at most every tenth
// of a second, and on a clock of its own, so that it never keeps showing an old count, nor a rate
// and time left that a stall has made untrue.
class UploadProgressLine {
public:
    // `write` takes the text for the terminal, control characters included; it is called from this
    // object's own thread too, never from two at once.
    explicit UploadProgressLine(std::function<void(const std::string&)> write);
    UploadProgressLine(const UploadProgressLine&) = delete;
    UploadProgressLine& operator=(const UploadProgressLine&) = delete;

    // The newest count. The first after end() starts a new line, timed from then (an attempt after a
    // failed one counts from 0 again).
    void update(std::int64_t sent, std::int64_t total);
    // Draws the newest count and ends the line, before other text goes to the terminal.
    void end();

private:
    using Clock = std::chrono::steady_clock;
    void draw();
    void redraw_while_open(std::stop_token stop);

    const std::function<void(const std::string&)> write;
    std::mutex lock;
    std::condition_variable_any woken;
    bool open = false;
    std::int64_t sent = 0;
    std::int64_t total = 0;
    Clock::time_point start{};
    Clock::time_point drawn{};
    // Last, so that it stops before what it reads goes away.
    std::jthread redrawing;
};
