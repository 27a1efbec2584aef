#include "cli/json_result.h"

#include <cmath>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "engine/server_kinds.h"
#include "engine/try_figures.h"
#include "net/proxy_list.h"
#include "sys/account_privilege.h"

// The JSON's field names, and values such as "account", stay here: the scripts that read it rely on them.
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

// "tls" and "proxy" of an HTTP exchange: null both when no request was made, "tls" null also when
// no certificate was presented.
void write_transport(Writer& w, const char* tls_key, const char* proxy_key,
                     const std::optional<HttpTransportFacts>& transport) {
    w.Key(tls_key);
    if (transport && transport->certificate) {
        const ServerCertificate& certificate = *transport->certificate;
        w.StartObject();
        write_text(w, "subject", certificate.subject);
        write_text(w, "issuer", certificate.issuer);
        write_text(w, "not_before", certificate.not_before);
        write_text(w, "not_after", certificate.not_after);
        write_text(w, "sha256", certificate.sha256);
        w.Key("verified");
        if (certificate.verified)
            w.Bool(*certificate.verified);
        else
            w.Null();
        write_text(w, "verify_error", certificate.verify_error);
        w.EndObject();
    } else {
        w.Null();
    }
    w.Key(proxy_key);
    if (transport) {
        w.StartObject();
        w.Key("used");
        if (transport->proxy ==
            kProxyAutoConfig)  // a setup script chose; whether it said a proxy is not known
            w.Null();
        else
            w.Bool(!transport->proxy.empty());
        write_text(w, "address", transport->proxy);
        w.EndObject();
    } else {
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
    write_transport(w, "tls", "proxy", row.record.transport);
    w.EndObject();
}

// Text, or null when it is empty.
void write_text_or_null(Writer& w, const char* key, const std::string& value) {
    if (value.empty()) {
        w.Key(key);
        w.Null();
    } else {
        write_text(w, key, value);
    }
}

// not_packed and packed_unredacted: files named with a reason.
template <typename File>
void write_files(Writer& w, const char* key, const std::vector<File>& files) {
    w.Key(key);
    w.StartArray();
    for (const File& file : files) {
        w.StartObject();
        write_text(w, "name", file.name);
        write_text(w, "reason", file.reason);
        w.EndObject();
    }
    w.EndArray();
}

// "upload": where it went (the host only), the last answer's status (0 when none came), the bytes sent,
// the seconds taken, "md5" or "none", and why it failed (null when it did not); null without an upload.
void write_upload(Writer& w, const std::optional<UploadResult>& upload) {
    w.Key("upload");
    if (!upload) {
        w.Null();
        return;
    }
    w.StartObject();
    write_text(w, "host", upload->host);
    w.Key("status");
    w.Int(upload->status);
    w.Key("bytes");
    w.Int64(upload->bytes);
    w.Key("seconds");
    w.Double(std::round(upload->seconds * 1000) / 1000);
    write_text(w, "verified", upload->verified);
    write_text_or_null(w, "error", upload->message);
    w.EndObject();
}

}  // namespace

std::string run_result_json(const CCheckHost& host, const DiagnosisRun& run,
                            const std::optional<CollectedLogs>& logs, const std::optional<UploadResult>& upload,
                            const std::string& check_list_source) {
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.StartObject();
    write_text(w, "product_title", host.profile.product_title);
    write_text(w, "caption", host.caption());
    write_text(w, "check_list_source", check_list_source);
    w.Key("completed");
    w.Bool(run.completed());
    w.Key("failures");
    w.Int(run.failures());
    // Beside the account check: an administrator's account may still run the tool unelevated.
    w.Key("elevated");
    if (const std::optional<bool> elevated = process_elevated())
        w.Bool(*elevated);
    else
        w.Null();
    write_transport(w, "checklist_tls", "checklist_proxy", host.check_list_transport);
    w.Key("items");
    w.StartArray();
    for (const RunRow& row : run.rows()) write_item(w, row);
    w.EndArray();
    const CollectedLogs none;
    const CollectedLogs& written = logs ? *logs : none;
    write_text_or_null(w, "archive", written.archive_path);
    write_text_or_null(w, "archive_sha256", written.archive_sha256);
    write_text_or_null(w, "redaction_map", written.redaction_map_path);
    write_files(w, "not_packed", written.not_packed);
    write_files(w, "packed_unredacted", written.packed_unredacted);
    write_upload(w, upload);
    w.EndObject();
    return buffer.GetString();
}
