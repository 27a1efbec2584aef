#include "engine/server_kinds.h"

const ServerKinds& server_kinds() {
    static const ServerKinds kinds = {
        {"api", "API"},         {"gateway", "중계"},    {"proxy", "프록시"},
        {"session", "세션"},    {"update", "업데이트"}, {"web", "웹"},
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
