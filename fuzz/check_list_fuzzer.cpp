// Check-list text as the web server might send it: JSON parsing, the profile, the groups and the
// server-entry rule must take anything without crashing. Ports are taken as written (a port past 16
// bits is refused when connecting), but never as zero or negative.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/check_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProductProfile profile;
    CheckGroups groups;
    std::string failure;
    if (parse_check_list(text, profile, groups, failure)) {
        for (const CheckGroup& group : groups)
            for (const CCheckItem& item : group)
                if (item.kind_index >= 0 && (item.host.empty() || item.port <= 0)) std::abort();
    } else if (failure.empty()) {
        std::abort();  // a refusal always says why
    }
    const ServerEntry entry = parse_server_entry(text);
    if (entry.usable() && (entry.port <= 0 || entry.host.empty())) std::abort();
    return 0;
}
