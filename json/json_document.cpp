#include "json/json_document.h"

namespace {

const rapidjson::Value& null_value() {
    static const rapidjson::Value kNull;
    return kNull;
}

}  // namespace

bool JsonParse(rapidjson::Document& document, const std::string& text) {
    // The same grammar as the default flags; only the way through nested values differs.
    document.Parse<rapidjson::kParseIterativeFlag>(text.c_str());
    return !document.HasParseError();
}

bool JsonHasMember(const rapidjson::Document& document, const char* key) {
    return document.IsObject() && document.FindMember(key) != document.MemberEnd();
}

const rapidjson::Value& JsonMember(const rapidjson::Document& document, const char* key) {
    if (!document.IsObject()) return null_value();
    auto it = document.FindMember(key);
    return it == document.MemberEnd() ? null_value() : it->value;
}

std::string JsonMemberText(const rapidjson::Document& document, const char* key,
                           const std::string& fallback) {
    if (!JsonHasMember(document, key)) return fallback;
    return JsonValueText(JsonMember(document, key));
}

std::string JsonValueText(const rapidjson::Value& value) {
    return value.IsString() ? std::string(value.GetString()) : std::string();
}
