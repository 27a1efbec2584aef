#include "sys/monitors.h"

#include <cstdio>
#include <mutex>

std::deque<MonitorRecord> g_monitors;

namespace {

// Guards g_monitors and the provider. The provider itself runs outside the lock: it may have to wait
// for the UI thread, which may at that moment be asking for the list itself.
std::mutex g_monitors_lock;
MonitorProvider g_provider;

}  // namespace

void set_monitor_provider(MonitorProvider provider) {
    std::lock_guard<std::mutex> guard(g_monitors_lock);
    g_provider = std::move(provider);
}

void refresh_monitors() {
    MonitorProvider provider;
    {
        std::lock_guard<std::mutex> guard(g_monitors_lock);
        provider = g_provider;
    }
    std::vector<MonitorRecord> found;
    if (provider) found = provider();

    std::deque<MonitorRecord> ordered;
    for (MonitorRecord& record : found) {
        if (record.primary)
            ordered.push_front(std::move(record));
        else
            ordered.push_back(std::move(record));
    }
    std::lock_guard<std::mutex> guard(g_monitors_lock);
    g_monitors = std::move(ordered);
}

std::vector<MonitorRecord> monitors_snapshot() {
    std::lock_guard<std::mutex> guard(g_monitors_lock);
    return std::vector<MonitorRecord>(g_monitors.begin(), g_monitors.end());
}

int monitor_from_point(int x, int y) {
    refresh_monitors();
    std::vector<MonitorRecord> monitors = monitors_snapshot();
    for (size_t i = 0; i < monitors.size(); ++i) {
        const Rect& r = monitors[i].monitor;
        // Right and bottom edges are outside, as in the Windows point-in-rectangle test.
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

std::string format_rect(const Rect& rect) {
    char buffer[128];
    std::snprintf(buffer, sizeof(buffer), "(%d, %d)~(%d, %d) (%d x %d)", rect.left, rect.top, rect.right,
                  rect.bottom, rect.right - rect.left, rect.bottom - rect.top);
    return buffer;
}
