#pragma once

#include <optional>
#include <string>

#include "engine/result_code.h"
#include "net/server_certificate.h"

// The record one executed check fills: created by the run, filled by the item's handler.
struct CCheckParam {
    int group_index = 0;
    int item_index = 0;
    int repeat_count = 1;
    int elapsed_ms = 0;  // sum of the tries' durations, finally divided by repeat_count
    ResultCode result = RESULT_OK;
    std::string detail;  // technical text of the last failed step, for the log and the report
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
