#include "engine/diagnosis_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "tests/engine/recording_run_events.h"
#include "tests/regex_matchers.h"

using regex_matchers::MatchesRegex;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Groups whose every item is answered by the account check, so that a run needs no network: the
// privilege source decides each item's outcome.
CheckGroups account_groups(std::vector<std::pair<std::string, int>> shape) {
    CheckGroups groups;
    for (const auto& [name, count] : shape) {
        CheckGroup group;
        for (int i = 0; i < count; ++i) {
            CCheckItem item = account_item();
            item.name = name;
            group.push_back(item);
        }
        groups.push_back(group);
    }
    return groups;
}

}  // namespace

TEST(DiagnosisRun, CompletedRunWithAFailure) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 2}});
    int calls = 0;
    host.user_privilege = [&] { return ++calls == 1 ? 2 : 1; };
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_TRUE(run.completed());
    EXPECT_EQ(run.failures(), 2);
    EXPECT_THAT(events.events, ElementsAre("run started, 2 groups", "check 0.0 started", "check 0.0 Ok", "group 0 passed",
                                           "check 1.0 started", "check 1.0 Fail", "check 1.1 started",
                                           "check 1.1 Fail", "group 1 failed", "run completed"));
    ASSERT_EQ(events.log_rows.size(), 3u);
    EXPECT_THAT(events.log_rows[0], MatchesRegex("계정\\|[0-9]{2}:[0-9]{2}:[0-9]{2}\\|관리자 계정\\|\\|0ms\\|Ok\\|"));
    EXPECT_THAT(events.log_rows[1], HasSubstr("|Fail|90002"));
    ASSERT_TRUE(events.end);
    ASSERT_EQ(events.end->failures.size(), 2u);
    EXPECT_EQ(events.end->failures[0].number, 1);
    EXPECT_EQ(events.end->failures[1].record.result, RESULT_NOT_ADMIN);
    EXPECT_FALSE(events.end->cancelled);
    EXPECT_EQ(run.rows().size(), 3u);
    EXPECT_TRUE(run.finished());
}

TEST(DiagnosisRun, StopDuringTheSecondItemOfAThreeItemGroup) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 3}, {"웹 서버", 1}});
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    int calls = 0;
    host.user_privilege = [&] {
        if (++calls == 3) run.request_stop();  // while the group's second item is being checked
        return 2;
    };
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_FALSE(run.completed());
    EXPECT_EQ(calls, 3) << "the stop takes effect between items";
    EXPECT_THAT(events.events, ElementsAre("run started, 3 groups", "check 0.0 started", "check 0.0 Ok", "group 0 passed",
                                           "check 1.0 started", "check 1.0 Ok", "check 1.1 started", "check 1.1 Ok",
                                           "run stopped"))
        << "the stopped group does not finish, later groups never start";
    ASSERT_TRUE(events.end && events.end->cancelled);
    EXPECT_EQ(events.end->cancelled->group_index, 1);
    EXPECT_EQ(events.end->cancelled->item_index, 1);
    ASSERT_EQ(events.log_rows.size(), 3u);
    EXPECT_THAT(events.log_rows[2], HasSubstr("|Fail|90001"));
    EXPECT_EQ(run.rows().back().record.result, RESULT_CANCELLED);
}

TEST(DiagnosisRun, AFastDoubleStartStartsOneWorker) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}});
    std::mutex m;
    std::condition_variable cv;
    bool inside = false, release = false;
    host.user_privilege = [&] {
        std::unique_lock lock(m);
        inside = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
        return 2;
    };
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    ASSERT_TRUE(run.start());
    EXPECT_FALSE(run.start());
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return inside; });
        EXPECT_FALSE(run.start());
        release = true;
        cv.notify_all();
    }
    run.wait();
    EXPECT_EQ(std::count(events.events.begin(), events.events.end(), "run completed"), 1);
    EXPECT_TRUE(run.start()) << "a new run may start once the last one is over";
    run.wait();
}

// A stop is honoured wherever it lands: between two groups, or before the worker has shown anything.
TEST(DiagnosisRun, AStopBetweenTwoGroupsEndsTheRunAsStopped) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 2}});
    host.user_privilege = [] { return 2; };
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    events.on_event = [&](const std::string& event) {
        if (event == "group 0 passed") run.request_stop();
    };
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_FALSE(run.completed());
    EXPECT_EQ(events.events.back(), "run stopped");
    ASSERT_TRUE(events.end && events.end->cancelled);
    EXPECT_EQ(events.end->cancelled->group_index, 0) << "the later group was never checked";
    ASSERT_EQ(events.log_rows.size(), 1u);
    EXPECT_THAT(events.log_rows[0], HasSubstr("|Fail|90001"));
}

TEST(DiagnosisRun, AStopBeforeTheWorkerGetsGoingIsNeverLost) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 2}});
    int checks = 0;
    host.user_privilege = [&] {
        ++checks;
        return 2;
    };
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    events.on_event = [&](const std::string& event) {
        if (event == "run started, 2 groups") run.request_stop();  // the worker's first event
    };
    ASSERT_TRUE(run.start());
    run.wait();
    EXPECT_EQ(checks, 0);
    EXPECT_FALSE(run.completed());
    EXPECT_THAT(events.events, ElementsAre("run started, 2 groups", "run stopped"));
    ASSERT_TRUE(events.end);
    EXPECT_FALSE(events.end->cancelled) << "no check to mark";

    // The owner sees a started run as running at once, so that its next press is a stop. The account
    // check holds the worker until then, so that a quick worker cannot end the run first.
    events.on_event = nullptr;
    std::promise<void> looked;
    std::shared_future<void> looked_at = looked.get_future().share();
    host.user_privilege = [looked_at] {
        looked_at.wait();
        return 2;
    };
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(run.running());
    run.request_stop();
    EXPECT_FALSE(run.running());
    looked.set_value();
    run.wait();
    EXPECT_TRUE(run.finished());
}
