#include "cli/json_result.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "engine/server_kinds.h"
#include "engine/try_figures.h"

namespace {

using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

void write_text(Writer& w, const char* key, const std::string& value) {
    w.Key(key);
    w.String(value.c_str(), static_cast<rapidjson::SizeType>(value.size()));
}

// Every try, and their spread (null for a check that made none).
void write_tries(Writer& w, const std::vector<CheckTry>& tries) {
    w.Key("tries");
    w.StartArray();
    for (const CheckTry& t : tries) {
        w.StartObject();
        w.Key("elapsed_ms");
        w.Int(t.elapsed_ms);
        w.Key("result");
        w.Int(t.result.code);
        w.EndObject();
    }
    w.EndArray();
    const std::optional<TryFigures> figures = try_figures(tries);
    for (const auto& [key, value] :
         {std::pair{"min_ms", &TryFigures::min_ms}, std::pair{"median_ms", &TryFigures::median_ms},
          std::pair{"max_ms", &TryFigures::max_ms}}) {
        w.Key(key);
        if (figures)
            w.Int((*figures).*value);
        else
            w.Null();
    }
}

void write_item(Writer& w, const RunRow& row) {
    const CCheckItem& item = row.item;
    w.StartObject();
    w.Key("group");
    w.Int(row.group_index);
    w.Key("item");
    w.Int(row.item_index);
    write_text(w, "name", item.name);
    write_text(w, "kind", item.kind_index < 0 ? "account" : server_kinds()[item.kind_index].first);
    write_text(w, "host", item.host);
    w.Key("port");
    w.Int(item.port);
    w.Key("result");
    w.Int(row.record.result.code);
    write_text(w, "message", result_message(row.record.result));
    w.Key("elapsed_ms");
    w.Int(row.record.elapsed_ms);
    write_text(w, "detail", row.record.detail);
    write_tries(w, row.record.tries);
    w.EndObject();
}

}  // namespace

std::string run_result_json(const CCheckHost& host, const DiagnosisRun& run, const std::optional<std::string>& archive) {
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    write_text(w, "product_title", host.profile.product_title);
    write_text(w, "caption", host.caption());
    w.Key("completed");
    w.Bool(run.completed());
    w.Key("failures");
    w.Int(run.failures());
    w.Key("items");
    w.StartArray();
    for (const RunRow& row : run.rows()) write_item(w, row);
    w.EndArray();
    w.Key("archive");
    if (archive)
        w.String(archive->c_str(), static_cast<rapidjson::SizeType>(archive->size()));
    else
        w.Null();
    w.EndObject();
    return buffer.GetString();
}
