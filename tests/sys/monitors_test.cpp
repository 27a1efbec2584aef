#include "sys/monitors.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

MonitorRecord screen(int left, int width, bool primary, const char* name) {
    return MonitorRecord{{left, 0, left + width, 1080}, {left, 0, left + width, 1040}, primary, name};
}

class Monitors : public ::testing::Test {
protected:
    void TearDown() override {
        set_monitor_provider(nullptr);
        refresh_monitors();
    }
};

}  // namespace

TEST_F(Monitors, PrimaryComesFirst) {
    set_monitor_provider([] {
        return std::vector<MonitorRecord>{screen(-1920, 1920, false, "left"), screen(0, 1920, true, "main"),
                                          screen(1920, 1280, false, "right")};
    });
    refresh_monitors();
    std::vector<MonitorRecord> list = monitors_snapshot();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].device_name, "main");
    EXPECT_EQ(list[1].device_name, "left");
    EXPECT_EQ(list[2].device_name, "right");
    EXPECT_EQ(g_monitors.front().device_name, "main");
}

TEST_F(Monitors, PointLookupRefreshesAndExcludesFarEdges) {
    std::vector<MonitorRecord> screens{screen(0, 1920, true, "main")};
    set_monitor_provider([&screens] { return screens; });
    EXPECT_EQ(monitor_from_point(100, 100), 0);
    EXPECT_EQ(monitor_from_point(1920, 100), -1);
    screens.push_back(screen(1920, 1280, false, "right"));
    EXPECT_EQ(monitor_from_point(1920, 100), 1);
    EXPECT_EQ(monitor_from_point(-1, 0), -1);
}

TEST_F(Monitors, HeadlessHasNone) {
    set_monitor_provider(nullptr);
    EXPECT_EQ(monitor_from_point(0, 0), -1);
    EXPECT_TRUE(monitors_snapshot().empty());
}

TEST_F(Monitors, ConcurrentRefreshesLeaveAConsistentList) {
    set_monitor_provider([] {
        return std::vector<MonitorRecord>{screen(100, 50, false, "b"), screen(0, 100, true, "a")};
    });
    std::thread other([] {
        for (int i = 0; i < 500; ++i) refresh_monitors();
    });
    for (int i = 0; i < 500; ++i) {
        std::vector<MonitorRecord> list = monitors_snapshot();
        ASSERT_TRUE(list.empty() || (list.size() == 2 && list[0].device_name == "a")) << list.size();
        refresh_monitors();
    }
    other.join();
}

TEST(FormatRect, ShowsCornersAndSize) {
    EXPECT_EQ(format_rect(Rect{-1920, 0, 0, 1080}), "(-1920, 0)~(0, 1080) (1920 x 1080)");
}
