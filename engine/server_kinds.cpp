#include "engine/server_kinds.h"

#include "res/engine_texts.h"
#include "res/string_table.h"

const ServerKinds& server_kinds() {
    static const ServerKinds kinds = {
        {"api", load_string(text::kKindApi)},       {"gateway", load_string(text::kKindGateway)},
        {"proxy", load_string(text::kKindProxy)},   {"session", load_string(text::kKindSession)},
        {"update", load_string(text::kKindUpdate)}, {"web", load_string(text::kKindWeb)},
    };
    return kinds;
}

int server_kind_index(const std::string& key) {
    const ServerKinds& kinds = server_kinds();
    for (size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i].first == key) return static_cast<int>(i);
    return -1;
}

bool is_relay_kind(const std::string& key) { return key == "session" || key == "gateway"; }
