#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/check_item.h"
#include "engine/check_param.h"

// One check of a run: which item, its place in the run, the first cells of its log row, and, once
// it has finished, the record its handler filled.
struct RunRow {
    int number = 0;  // 0, 1, … in the order the checks started
    int group_index = 0;
    int item_index = 0;
    CCheckItem item;
    std::string text;  // category, time of day, masked target and port, joined by "|"
    CCheckParam record;
};

// How a run ended.
struct RunEnd {
    bool completed = false;          // every item was checked; false: stopped
    std::vector<RunRow> failures;    // the checks whose record tells a failure (a cancelled one too), in run order
    std::optional<RunRow> cancelled;  // a stopped run's last check, its record now cancelled
};

// What a diagnosis run reports, in the order it happens, on its worker thread. A front end overrides
// the events it shows. The run goes on when a call returns; after run_finished it makes no further
// call and uses nothing of its owner's.
class RunEvents {
public:
    virtual ~RunEvents() = default;

    virtual void run_started(const CheckGroups& /*groups*/) {}
    virtual void check_started(const RunRow& /*check*/) {}
    virtual void check_finished(const RunRow& /*check*/) {}
    // Every item of the group was checked; passed when none failed.
    virtual void group_finished(int /*group*/, bool /*passed*/) {}
    virtual void run_finished(const RunEnd& /*end*/) {}
};
