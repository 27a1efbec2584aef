#include "tools/lab/scenario.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

using Value = rapidjson::Value;

const std::map<std::string, RelayBehaviour> kBehaviours = {
    {"normal", RelayBehaviour::normal},
    {"silent", RelayBehaviour::silent},
    {"never_accept", RelayBehaviour::never_accept},
    {"close_after_public_key", RelayBehaviour::close_after_public_key},
    {"not_hex_key_block", RelayBehaviour::not_hex_key_block},
    {"partial_key_block", RelayBehaviour::partial_key_block},
    {"undecryptable_key_block", RelayBehaviour::undecryptable_key_block},
    {"short_session_text", RelayBehaviour::short_session_text},
    {"silent_after_key", RelayBehaviour::silent_after_key},
    {"trickle_key_block", RelayBehaviour::trickle_key_block},
    {"garbage", RelayBehaviour::garbage},
    {"reset_mid_handshake", RelayBehaviour::reset_mid_handshake},
};

// Reads optional members, collecting the first complaint.
class Reader {
public:
    Reader(const Value& object, std::string where, std::string& error)
        : object(object), where(std::move(where)), error(error) {}

    bool has(const char* name) const { return object.HasMember(name); }

    void integer(const char* name, int& target) {
        if (!has(name)) return;
        if (object[name].IsInt()) {
            target = object[name].GetInt();
        } else {
            complain(name, "a whole number");
        }
    }
    void text(const char* name, std::string& target) {
        if (!has(name)) return;
        if (object[name].IsString()) {
            target.assign(object[name].GetString(), object[name].GetStringLength());
        } else {
            complain(name, "a string");
        }
    }
    void flag(const char* name, bool& target) {
        if (!has(name)) return;
        if (object[name].IsBool()) {
            target = object[name].GetBool();
        } else {
            complain(name, "true or false");
        }
    }
    void complain(const char* name, const char* wanted) {
        if (error.empty()) error = where + "." + name + " must be " + wanted;
    }

private:
    const Value& object;
    std::string where;
    std::string& error;
};

std::string serialised(const Value& value) {
    if (value.IsString()) return std::string(value.GetString(), value.GetStringLength());
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    value.Accept(writer);
    return buffer.GetString();
}

void read_web(const Value& object, WebPlan& web, std::string& error) {
    Reader reader(object, "web", error);
    for (auto [name, port] :
         {std::pair{"http_port", &web.http_port}, std::pair{"https_port", &web.https_port}}) {
        if (!reader.has(name)) continue;
        int value = 0;
        reader.integer(name, value);
        *port = value;
    }
    if (object.HasMember("checklist")) web.checklist = serialised(object["checklist"]);
    reader.integer("http_status", web.http_status);
    reader.integer("https_status", web.https_status);
    reader.text("certificate", web.certificate);
    reader.text("authority_file", web.authority_file);
    if (web.certificate != "self_signed" && web.certificate != "inspection_ca")
        reader.complain("certificate", "\"self_signed\" or \"inspection_ca\"");
}

void read_relay(const Value& object, RelayPlan& relay, std::string& error) {
    Reader reader(object, "relay " + relay.name, error);
    if (object.HasMember("port") && object["port"].IsString() &&
        std::string(object["port"].GetString()) == "low")
        relay.port = kLowRelayPort;
    else
        reader.integer("port", relay.port);
    std::string behaviour = "normal";
    reader.text("behaviour", behaviour);
    const auto found = kBehaviours.find(behaviour);
    if (found == kBehaviours.end()) {
        reader.complain("behaviour", "one of the documented behaviours");
    } else {
        relay.behaviour = found->second;
    }
    std::string letter_case = "upper";
    reader.text("key_block_case", letter_case);
    relay.lower_case = letter_case == "lower";
    reader.integer("reply", relay.reply);
    reader.text("session_text", relay.session_text);
    reader.integer("trickle_ms", relay.trickle_ms);
    reader.integer("garbage_bytes", relay.garbage_bytes);
    if (relay.trickle_ms < 0) reader.complain("trickle_ms", "0 or more");
    if (relay.garbage_bytes < 1) reader.complain("garbage_bytes", "at least 1");
    if (object.HasMember("replies_by_try")) {
        const Value& replies = object["replies_by_try"];
        if (!replies.IsObject()) {
            reader.complain("replies_by_try", "an object of try number to reply code");
            return;
        }
        for (auto it = replies.MemberBegin(); it != replies.MemberEnd(); ++it) {
            if (!it->value.IsInt()) {
                reader.complain("replies_by_try", "an object of try number to reply code");
                return;
            }
            relay.replies_by_try[std::atoi(it->name.GetString())] = it->value.GetInt();
        }
    }
}

void read_step(const Value& object, HttpStep& step, const std::string& where, std::string& error) {
    Reader reader(object, where, error);
    reader.integer("status", step.status);
    reader.text("body", step.body);
    reader.flag("byte_order_mark", step.byte_order_mark);
    if (object.HasMember("content_length")) {
        step.content_length = object["content_length"].IsInt()
                                  ? std::to_string(object["content_length"].GetInt())
                                  : serialised(object["content_length"]);
    }
    reader.text("location", step.location);
    reader.text("content_type", step.content_type);
    reader.integer("delay_ms", step.delay_ms);
    reader.integer("chunk_size", step.chunk_size);
    reader.integer("chunk_delay_ms", step.chunk_delay_ms);
    if (reader.has("raw")) {
        std::string raw;
        reader.text("raw", raw);
        step.raw = raw;
    }
    reader.flag("endless", step.endless);
    reader.flag("stall_after_head", step.stall_after_head);
    reader.integer("reset_after_body_bytes", step.reset_after_body_bytes);
    reader.integer("stall_after_body_bytes", step.stall_after_body_bytes);
    if (object.HasMember("headers")) {
        const Value& headers = object["headers"];
        if (!headers.IsObject()) {
            reader.complain("headers", "an object of field name to text");
        } else {
            for (auto it = headers.MemberBegin(); it != headers.MemberEnd(); ++it) {
                if (!it->value.IsString()) {
                    reader.complain("headers", "an object of field name to text");
                    break;
                }
                step.headers.emplace_back(it->name.GetString(), it->value.GetString());
            }
        }
    }
    reader.integer("repeat", step.repeat);
    if (step.repeat < 1) reader.complain("repeat", "at least 1");
    if (step.endless && step.body.empty() && (!step.raw || step.raw->empty()))
        reader.complain("endless", "given with a body or raw text to repeat");
}

void read_http(const Value& object, HttpPlan& http, std::string& error) {
    Reader reader(object, "http " + http.name, error);
    reader.integer("port", http.port);
    if (!object.HasMember("steps")) {
        http.steps.emplace_back();
        return;
    }
    if (!object["steps"].IsArray() || object["steps"].Empty()) {
        reader.complain("steps", "a non-empty array");
        return;
    }
    for (const Value& step : object["steps"].GetArray()) {
        if (!step.IsObject()) {
            reader.complain("steps", "an array of objects");
            return;
        }
        read_step(step, http.steps.emplace_back(), "http " + http.name + " step", error);
    }
}

// Servers are named in the bound-ports line, so names must be unique and present.
bool name_of(const Value& object, const char* kind, std::set<std::string>& taken, std::string& name,
             std::string& error) {
    if (!object.IsObject() || !object.HasMember("name") || !object["name"].IsString()) {
        error = std::string("every ") + kind + " needs a \"name\"";
        return false;
    }
    name = object["name"].GetString();
    if (!taken.insert(name).second) {
        error = "the name \"" + name + "\" is used twice";
        return false;
    }
    return true;
}

}  // namespace

bool load_scenario(const std::string& path, Scenario& scenario, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    rapidjson::Document document;
    document.Parse(text.str().c_str());
    if (document.HasParseError() || !document.IsObject()) {
        error = path + ": " +
                (document.HasParseError() ? rapidjson::GetParseError_En(document.GetParseError())
                                          : "the scenario must be an object");
        return false;
    }
    Reader top(document, "scenario", error);
    top.text("record", scenario.record_path);
    std::set<std::string> names = {"web_http", "web_https", "control"};
    if (document.HasMember("web")) {
        if (!document["web"].IsObject()) {
            error = "web must be an object";
            return false;
        }
        read_web(document["web"], scenario.web.emplace(), error);
    }
    for (const char* kind : {"relays", "http"}) {
        if (!document.HasMember(kind)) continue;
        if (!document[kind].IsArray()) {
            error = std::string(kind) + " must be an array";
            return false;
        }
        for (const Value& entry : document[kind].GetArray()) {
            std::string name;
            if (!name_of(entry, kind, names, name, error)) return false;
            if (std::string(kind) == "relays") {
                RelayPlan& relay = scenario.relays.emplace_back();
                relay.name = name;
                read_relay(entry, relay, error);
            } else {
                HttpPlan& http = scenario.http.emplace_back();
                http.name = name;
                read_http(entry, http, error);
            }
        }
    }
    return error.empty();
}
