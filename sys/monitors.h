#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct MonitorRecord {
    Rect monitor;
    Rect work_area;
    bool primary = false;
    std::string device_name;
};

// The display monitors, primary first, as of the last refresh_monitors. Read it through
// monitors_snapshot(): a refresh on another thread may be replacing it.
extern std::deque<MonitorRecord> g_monitors;

// The UI hands the core its screens through a provider; without one (headless) there are no monitors.
using MonitorProvider = std::function<std::vector<MonitorRecord>()>;
void set_monitor_provider(MonitorProvider provider);

// Refills g_monitors from the provider. The list is replaced in one step under a lock, so refreshes on
// different threads never interleave; the provider is called outside that lock.
void refresh_monitors();
std::vector<MonitorRecord> monitors_snapshot();

// Refreshes, then gives the index of the first monitor containing the point, or -1.
int monitor_from_point(int x, int y);

// "(left, top)~(right, bottom) (width x height)"
std::string format_rect(const Rect& rect);
