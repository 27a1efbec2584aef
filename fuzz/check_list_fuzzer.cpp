// Check-list text as the web server might send it: JSON parsing, the profile, the groups and the
// server-entry rule must take anything without crashing, and a list they accept must be usable.
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
                if (item.port < 0 || item.port > 65535) std::abort();
    } else if (failure.empty()) {
        std::abort();  // a refusal always says why
    }
    const ServerEntry entry = parse_server_entry(text);
    if (entry.usable() && (entry.port > 65535 || entry.host.empty())) std::abort();
    return 0;
}
