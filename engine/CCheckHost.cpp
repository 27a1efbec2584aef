#include "engine/CCheckHost.h"

#include <chrono>
#include <cstdlib>

#include "engine/check_list.h"
#include "engine/web_server_setting.h"
#include "log/CSCLog.h"
#include "net/CHttpRequest.h"
#include "net/CSessionEventListener.h"
#include "res/engine_texts.h"
#include "res/string_table.h"
#include "sys/account_privilege.h"
#include "sys/exe_facts.h"
#include "sys/number_text.h"
#include "sys/string_printf.h"

namespace {

constexpr int kRelayPortLimit = 8000;
constexpr int kStartExchangeFailed = 202;
constexpr int kKeyExchangeFailed = 112;
constexpr const char* kApiTestPath = "/api/v1.0/quenmora/GetApiTest";

// Wall-clock milliseconds: the time a try takes is mostly spent waiting on the network.
int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A time-out from the environment, within sane limits; `fallback` when unset or unusable.
int environment_time_out(const char* name, int fallback) {
    constexpr long kShortest = 100, kLongest = 600000;
    const char* value = std::getenv(name);
    if (!value || !*value) return fallback;
    char* end = nullptr;
    const long milliseconds = std::strtol(value, &end, 10);
    return *end == '\0' && milliseconds >= kShortest && milliseconds <= kLongest
               ? static_cast<int>(milliseconds)
               : fallback;
}

}  // namespace

CCheckHost::CCheckHost() : user_privilege(get_account_privilege) {
    profile.web_port = default_web_port();
    http_timeout_ms = environment_time_out("CHECKTOOL_HTTP_TIMEOUT_MS", http_timeout_ms);
    relay_timeout_ms = environment_time_out("CHECKTOOL_RELAY_TIMEOUT_MS", relay_timeout_ms);
}

void CCheckHost::set_default_product() {
    message_title = load_string(text::kDefaultMessageTitle);
    profile.web_host = default_web_host();
}

std::string CCheckHost::caption() const {
    return load_string(text::kToolCaption, {profile.product_title, get_file_version("", "FileVersion")});
}

bool CCheckHost::load_check_list(std::string& failure_message) {
    check_groups.clear();
    check_groups.push_back({account_item()});

    CHttpRequest request(profile.web_host, profile.web_port, "download/checklist.json", "GET", true, {}, "",
                         "");
    request.timeout_ms = check_list_timeout_ms;
    request.max_body_bytes = kMaxCheckListBytes;
    request.stop = stop;
    request.Send();
    if (request.status != 200 && !stop.stop_requested()) {
        request.Reset();
        if (request.port == 80)
            request.port = 443;
        else if (request.port == 443)
            request.port = 80;
        request.Send();
    }
    check_list_transport = request.transport;
    if (request.status != 200) {
        failure_message = load_string(text::kCheckListNotDownloaded, {std::to_string(request.status)});
        return false;
    }
    if (request.body_too_large) {
        failure_message = check_list_too_large_message();
        return false;
    }
    ProductProfile loaded = profile;
    CheckGroups groups;
    if (!parse_check_list(request.response, loaded, groups, failure_message)) return false;
    profile = std::move(loaded);
    check_groups = std::move(groups);
    return true;
}

void CCheckHost::close_channel() {
    channel.Close();
}

ResultCode CCheckHost::connect(const std::string& host, int port) {
    channel.Close();
    if (!channel.Create()) {
        g_log->write(CSCLog::error, "CTarvoCheckToolDlg::connect", 329, "failed to create socket (error=%d)",
                     last_socket_error());
        return RESULT_SOCKET_CREATE;
    }
    if (!channel.Connect(host, port)) {
        g_log->write(CSCLog::error, "CTarvoCheckToolDlg::connect", 336,
                     "failed to connect to the server (ip=%s)(port=%d)(error=%d)", host.c_str(), port,
                     last_socket_error());
        return RESULT_CONNECT;
    }
    channel.SetTimeouts(relay_timeout_ms);
    if (!channel.CryptInit()) {
        g_log->write(CSCLog::error, "CTarvoCheckToolDlg::connect", 344,
                     "failed CryptInit() to exchange the keys (ip=%s)(port=%d)(error=%d)", host.c_str(), port,
                     last_socket_error());
        channel.Close();
        if (listener) listener->on_event(kKeyExchangeFailed, 0);
        return RESULT_CRYPT_INIT;
    }
    return RESULT_OK;
}

bool CCheckHost::check_admin_account(CCheckParam* param) {
    param->result = user_privilege() == 2 ? RESULT_OK : RESULT_NOT_ADMIN;
    return param->result.code == 0;
}

bool CCheckHost::check_server(CCheckParam* param) {
    const CCheckItem item = check_groups[param->group_index][param->item_index];
    const std::string masked = MaskAddress(item.host);
    const int attempts = param->repeat_count;
    for (int t = 1; t <= attempts; ++t) {
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 835,
                     "%s:%d checking... retry_count : %d/%d", masked.c_str(), item.port, t, attempts);
        const int64_t start = now_ms();
        param->result = RESULT_OK;
        if (item.relay_flag && item.port > kRelayPortLimit) {
            check_plain_connection(item, param, t, attempts);
        } else if (item.relay_flag) {
            check_relay(item, param, t, attempts);
        } else if (!check_http(item, param, t, attempts)) {
            // An HTTP failure ends the check; its try does not count in the average but is kept.
            param->tries.push_back({static_cast<int>(now_ms() - start), param->result});
            break;
        }
        const int took = static_cast<int>(now_ms() - start);
        param->elapsed_ms += took;
        param->tries.push_back({took, param->result});
    }
    if (attempts > 0) param->elapsed_ms /= attempts;
    return param->result.code == 0;
}

bool CCheckHost::check_plain_connection(const CCheckItem& item, CCheckParam* param, int t, int n) {
    Socket socket;
    if (!socket.Create()) {
        param->result = RESULT_SOCKET_CREATE;
        param->detail = string_printf("socket create() fail for connection test to %s. retry_count : %d/%d",
                                      item.name.c_str(), t, n);
        return false;
    }
    param->detail = string_printf("socket create() ok for connection test to %s:%d. retry_count : %d/%d",
                                  item.host.c_str(), item.port, t, n);
    if (!socket.ConnectPlain(item.host, item.port)) {
        param->result = RESULT_CONNECT;
        param->detail = string_printf("socket Connect() fail for connection test to %s. retry_count : %d/%d",
                                      item.name.c_str(), t, n);
        return false;
    }
    socket.Close();
    return true;
}

bool CCheckHost::check_relay(const CCheckItem& item, CCheckParam* param, int t, int n) {
    if (connect(item.host, item.port) != RESULT_OK) {
        param->result = RESULT_CONNECT;
        param->detail = string_printf("%s connect fail. retry_count : %d/%d", item.name.c_str(), t, n);
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 895, "%s", param->detail.c_str());
        return false;
    }
    g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 883,
                 "%s connect() ok. retry_count : %d/%d", item.name.c_str(), t, n);
    // A gateway only has to take the key exchange; its connection stays open until the next connect.
    if (item.name.find(load_string(text::kKindGateway)) != std::string::npos) return true;

    uint16_t reply = 0;
    if (!channel.SendCommand(NMS_C_START)) {
        param->result = RESULT_SEND_START;
        param->detail =
            string_printf("send NMS_C_START. error : %d. retry_count : %d/%d", last_socket_error(), t, n);
    } else {
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 910, "send NMS_C_START");
        if (!channel.ReceiveCommand(reply)) {
            param->result = RESULT_RECV_START;
            param->detail = string_printf("recv NMS_C_START_OK. error : %d. retry_count : %d/%d",
                                          last_socket_error(), t, n);
        } else if (reply != NMS_C_START_OK) {
            param->result = RESULT_BAD_REPLY;
            param->detail = string_printf(
                "TMS protocol error : could not recv NMS_C_START_OK (command : %d). retry_count : %d/%d",
                static_cast<int>(static_cast<int16_t>(reply)), t, n);
        } else {
            channel.Close();
            g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 928, "recv NMS_C_START_OK");
            return true;
        }
    }
    channel.Close();
    if (listener) listener->on_event(kStartExchangeFailed, 0);
    return false;
}

bool CCheckHost::check_http(const CCheckItem& item, CCheckParam* param, int t, int n) {
    const std::string path = item.host.find("netapi") != std::string::npos ? kApiTestPath : "";
    CHttpRequest request(item.host, item.port, path, "GET", item.port == 443, {}, "", "");
    request.timeout_ms = http_timeout_ms;
    request.stop = stop;
    request.Send();
    param->transport = request.transport;
    if (request.status == 200) {
        g_log->write(CSCLog::plain, "CTarvoCheckToolDlg::check_server", 954,
                     "%s:%d response ok. retry_count : %d/%d", item.host.c_str(), item.port, t, n);
        return true;
    }
    // A reply whose status could not be read is a failure, not a success with code 0.
    param->result = request.status == 0 ? RESULT_BAD_REPLY : ResultCode{request.status, 0};
    if (request.status != 0) g_result_codes.register_code(request.status, 0);
    param->detail = request.response;
    return false;
}
