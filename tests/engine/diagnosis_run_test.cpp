#include "engine/diagnosis_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "engine/CCheckHost.h"
#include "engine/check_list.h"
#include "tests/engine/recording_observer.h"
#include "tests/regex_matchers.h"

using regex_matchers::MatchesRegex;
using ::testing::Contains;
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
    host.user_privilege = [] { return 1; };
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_TRUE(run.completed());
    EXPECT_EQ(run.failures(), 3);
    EXPECT_EQ(observer.step_texts[0], "계정 권한 체크 실패");
    EXPECT_EQ(observer.step_texts[1], "세션 서버 체크 실패 (2/2)");
    EXPECT_EQ(observer.step_colors[1], kStepFailedColor);
    ASSERT_EQ(observer.log_rows.size(), 3u);
    EXPECT_THAT(observer.log_rows[0],
                MatchesRegex("계정\\|[0-9]{2}:[0-9]{2}:[0-9]{2}\\|관리자 계정\\|\\|0ms\\|Fail\\|90002"));
    EXPECT_EQ(observer.completion_messages, 1);
    EXPECT_TRUE(observer.save_log_enabled);
    EXPECT_EQ(observer.result_message, "");
    EXPECT_THAT(observer.result_rows, Contains("Fail|계정|관리자 권한의 계정이 아닙니다."));
    EXPECT_EQ(observer.events.back(), "finished completed");
    EXPECT_TRUE(run.finished());
}

TEST(DiagnosisRun, PassingRunShowsTheNoFailuresMessage) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}});
    host.user_privilege = [] { return 2; };
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
    ASSERT_TRUE(run.start());
    run.wait();
    EXPECT_EQ(observer.step_texts[0], "계정 권한 체크 완료");
    EXPECT_EQ(observer.result_message, "진단 실패 항목이 없습니다.");
    EXPECT_THAT(observer.events, Contains("completion 10"));
    EXPECT_THAT(observer.events, Contains("step progress"));
    EXPECT_THAT(observer.events, Contains("start button 진단 시작 enabled"));
}

TEST(DiagnosisRun, StopDuringTheSecondItemOfAThreeItemGroup) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 3}, {"웹 서버", 1}});
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
    int calls = 0;
    host.user_privilege = [&] {
        if (++calls == 3) run.request_stop();  // while the group's second item is being checked
        return 2;
    };
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_FALSE(run.completed());
    EXPECT_EQ(calls, 3) << "the stop takes effect between items";
    EXPECT_EQ(observer.step_texts[1], "세션 서버 체크 중지 (2/3)");
    EXPECT_EQ(observer.step_colors[1], kStepStoppedColor);
    EXPECT_EQ(observer.step_texts[2], "웹 서버 체크") << "later groups keep their idle caption";
    ASSERT_EQ(observer.log_rows.size(), 3u);
    EXPECT_THAT(observer.log_rows[2], HasSubstr("|Fail|90001"));
    EXPECT_EQ(observer.completion_messages, 0);
    EXPECT_FALSE(observer.save_log_enabled);
    EXPECT_EQ(observer.result_message, "사용자에 의해 진단이 취소되었습니다.");
    EXPECT_EQ(run.rows().back().record.result, RESULT_CANCELLED);
    EXPECT_EQ(observer.events.back(), "finished stopped");
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
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
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
    EXPECT_EQ(observer.completion_messages, 1);
    EXPECT_TRUE(run.start()) << "a new run may start once the last one is over";
    run.wait();
}

// A stop is honoured wherever it lands: between two groups, or before the worker has shown anything.
TEST(DiagnosisRun, AStopBetweenTwoGroupsEndsTheRunAsStopped) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 2}});
    host.user_privilege = [] { return 2; };
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
    observer.on_event = [&](const std::string& event) {
        if (event == "step 0 계정 권한 체크 완료") run.request_stop();
    };
    ASSERT_TRUE(run.start());
    run.wait();

    EXPECT_FALSE(run.completed());
    EXPECT_EQ(observer.completion_messages, 0);
    EXPECT_FALSE(observer.save_log_enabled);
    EXPECT_EQ(observer.result_message, "사용자에 의해 진단이 취소되었습니다.");
    EXPECT_EQ(observer.step_texts[0], "계정 권한 체크 중지");
    EXPECT_EQ(observer.step_colors[0], kStepStoppedColor);
    EXPECT_EQ(observer.step_texts[1], "세션 서버 체크") << "the later group was never checked";
    ASSERT_EQ(observer.log_rows.size(), 1u);
    EXPECT_THAT(observer.log_rows[0], HasSubstr("|Fail|90001"));
    EXPECT_EQ(observer.events.back(), "finished stopped");
}

TEST(DiagnosisRun, AStopBeforeTheWorkerGetsGoingIsNeverLost) {
    CCheckHost host;
    host.check_groups = account_groups({{"계정 권한", 1}, {"세션 서버", 2}});
    int checks = 0;
    host.user_privilege = [&] {
        ++checks;
        return 2;
    };
    RecordingObserver observer;
    DiagnosisRun run(host, observer);
    observer.on_event = [&](const std::string& event) {
        if (event == "reset colors") run.request_stop();  // the worker's first display change
    };
    ASSERT_TRUE(run.start());
    run.wait();
    EXPECT_EQ(checks, 0);
    EXPECT_FALSE(run.completed());
    EXPECT_TRUE(observer.log_rows.empty());
    EXPECT_EQ(observer.result_message, "사용자에 의해 진단이 취소되었습니다.");
    EXPECT_EQ(observer.events.back(), "finished stopped");

    // The owner sees a started run as running at once, so that its next press is a stop. The account
    // check holds the worker until then, so that a quick worker cannot end the run first.
    observer.on_event = nullptr;
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
