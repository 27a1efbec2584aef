#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/result_code.h"
#include "net/server_certificate.h"

// One try of a server check: how long it took and how it ended.
struct CheckTry {
    int elapsed_ms = 0;
    ResultCode result = RESULT_OK;

    bool operator==(const CheckTry&) const = default;
};

// The record one executed check fills: created by the run, filled by the item's handler.
struct CCheckParam {
    int group_index = 0;
    int item_index = 0;
    int repeat_count = 1;
    int elapsed_ms = 0;  // sum of the tries' durations, finally divided by repeat_count
    ResultCode result = RESULT_OK;
    // The technical text of the last failed step, for the log and the report: English, in the log's own
    // words, so written beside its log line rather than in res/.
    std::string detail;
    std::vector<CheckTry> tries;  // every try made, in order; the average above hides their spread
    // HTTP checks: the proxy and the server's certificate as the last request met them.
    std::optional<HttpTransportFacts> transport;

    // The record the run makes for one item.
    static CCheckParam for_item(int group, int item) {
        CCheckParam p;
        p.group_index = group;
        p.item_index = item;
        p.repeat_count = 10;
        return p;
    }
};
