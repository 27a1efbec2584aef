#include "engine/check_list.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/CCheckHost.h"
#include "engine/server_kinds.h"
#include "json/json_document.h"
#include "res/engine_texts.h"
#include "res/string_table.h"
#include "sys/folders.h"
#include "sys/fs_path.h"
#include "sys/native_path.h"
#include "sys/text_convert.h"

namespace {

// The decimal value of the text's leading digits (blanks and a sign may come first); 0 when there
// are none.
int leading_number(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 0x7FFFFFFF) return 0;  // a port beyond any range is as unusable as none
    }
    return static_cast<int>(negative ? -value : value);
}

// The whole file when it is a readable regular file within the size limit; else why not.
bool read_check_list_file(const std::string& path, std::string& text, std::string& why_not) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(fs_path(path), ec);
    if (!std::filesystem::is_regular_file(status)) {
        why_not = load_string(std::filesystem::exists(status) ? text::kFileNotRegular : text::kFileNotFound);
        return false;
    }
    std::ifstream in(fs_path(path), std::ios::binary);
    text.assign(kMaxCheckListFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (!in && !in.eof()) {
        why_not = load_string(text::kFileNotReadable);
        return false;
    }
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxCheckListFileBytes) {
        why_not = load_string(text::kFileLargerThan, {std::to_string(kMaxCheckListFileBytes)});
        return false;
    }
    return true;
}

}  // namespace

ServerEntry parse_server_entry(const std::string& entry) {
    ServerEntry out;
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) {
        out.port = leading_number(entry);
    } else {
        out.host = entry.substr(0, colon);
        out.port = leading_number(entry.substr(colon + 1));
    }
    if (out.port <= 0) {
        out.host = entry;
        if (entry.compare(0, 7, "http://") == 0)
            out.port = 80;
        else if (entry.compare(0, 8, "https://") == 0)
            out.port = 443;
    }
    return out;
}

CCheckItem account_item() {
    CCheckItem item;
    item.name = load_string(text::kAccountItemName);
    item.port = 0;
    item.kind_index = -1;
    item.relay_flag = true;
    item.handler = &CCheckHost::check_admin_account;
    return item;
}

std::string check_list_too_large_message() {
    return load_string(text::kCheckListTooLarge, {std::to_string(kMaxCheckListBytes / (1024 * 1024))});
}

bool parse_check_list(const std::string& json_text, ProductProfile& profile, CheckGroups& groups,
                      std::string& failure_message) {
    groups.clear();
    groups.push_back({account_item()});
    if (json_text.size() > kMaxCheckListBytes) {
        failure_message = check_list_too_large_message();
        return false;
    }

    // Lists saved on Windows may carry a byte-order mark, or be UTF-16 (Notepad, PowerShell 5's ">").
    rapidjson::Document document;
    if (!JsonParse(document, text_as_utf8(json_text))) {
        failure_message = load_string(text::kCheckListNotJson);
        return false;
    }

    auto path = [&](const char* key) {
        return native_separators(expand_user_documents(JsonMemberText(document, key, "")));
    };
    profile.product_title = JsonMemberText(document, "product title", "");
    profile.product_path_agent = path("product path agent");
    profile.product_path_agent_web = path("product path agent web");
    profile.product_path_viewer = path("product path viewer");
    profile.agent_log_path = path("agent log path");
    profile.viewer_log_path = path("viewer log path");

    const struct {
        const std::string& value;
        int message;
    } required[] = {
        {profile.product_title, text::kProductTitleEmpty},
        {profile.product_path_agent, text::kAgentPathEmpty},
        {profile.product_path_viewer, text::kViewerPathEmpty},
        {profile.agent_log_path, text::kAgentLogPathEmpty},
    };
    for (const auto& r : required) {
        if (r.value.empty()) {
            failure_message = load_string(r.message);
            return false;
        }
    }
    profile.family = choose_product_family(profile.product_title);

    const ServerKinds& kinds = server_kinds();
    for (size_t k = 0; k < kinds.size(); ++k) {
        const rapidjson::Value& servers = JsonMember(document, kinds[k].first.c_str());
        if (!servers.IsArray()) continue;
        CheckGroup group;
        for (const rapidjson::Value& element : servers.GetArray()) {
            if (!element.IsString()) continue;
            const ServerEntry entry = parse_server_entry(JsonValueText(element));
            if (!entry.usable()) continue;
            CCheckItem item;
            item.name = load_string(text::kServerItemName, {kinds[k].second});
            item.host = entry.host;
            item.port = entry.port;
            item.kind_index = static_cast<int>(k);
            item.relay_flag = is_relay_kind(kinds[k].first);
            item.handler = &CCheckHost::check_server;
            group.push_back(std::move(item));
        }
        if (!group.empty()) groups.push_back(std::move(group));
    }
    return true;
}

bool load_check_list_file(CCheckHost& host, const std::string& path, std::string& failure_message) {
    std::string text, why_not;
    if (!read_check_list_file(path, text, why_not)) {
        failure_message = load_string(text::kCheckListFileNotLoaded, {path, why_not});
        return false;
    }
    ProductProfile loaded = host.profile;
    CheckGroups groups;
    if (!parse_check_list(text, loaded, groups, failure_message)) return false;
    host.profile = std::move(loaded);
    host.check_groups = std::move(groups);
    return true;
}
