#pragma once

#include <functional>
#include <stop_token>
#include <string>

#include "engine/check_item.h"
#include "engine/check_param.h"
#include "engine/product_profile.h"
#include "engine/result_code.h"
#include "net/blastsock.h"

class CSessionEventListener;

// The diagnosis engine's one object: the product profile and check groups from the check list, the
// relay channel, and the check handlers. It needs no window; the window and the command line each
// own one.
class CCheckHost {
public:
    CCheckHost();

    // Sets the built-in web server (environment overrides first) before a load.
    void set_default_product();
    // Downloads and reads the check list. On failure returns false with the message to show.
    bool load_check_list(std::string& failure_message);
    // The window caption: product title and the tool's version.
    std::string caption() const;

    // Opens the relay channel to a server and performs the key exchange.
    ResultCode connect(const std::string& host, int port);
    void close_channel();

    // Check handlers (see CCheckItem::Handler).
    bool check_server(CCheckParam* param);
    bool check_admin_account(CCheckParam* param);

    ProductProfile profile;
    CheckGroups check_groups;
    blastsock channel;
    CSessionEventListener* listener = nullptr;
    std::string message_title;  // the title of the tool's message box
    // The proxy and the web server's certificate as the last check-list attempt met them.
    HttpTransportFacts check_list_transport;

    // Where the account's privilege level comes from (2 = administrator); replaceable in tests.
    std::function<int()> user_privilege;
    // Time-outs in milliseconds: of one HTTP try of a server check, of each message of the relay
    // exchange, and of one attempt at the check list. Each request and each message ends within its
    // bound however a peer paces its bytes (see CHttpRequest and Socket). The first two can be set
    // from the environment (CHECKTOOL_HTTP_TIMEOUT_MS, CHECKTOOL_RELAY_TIMEOUT_MS) for staging and
    // tests.
    int http_timeout_ms = 30000;
    int relay_timeout_ms = 5000;
    int check_list_timeout_ms = 5000;
    // A stop request cuts short the check-list download and an HTTP check in progress (12017), for a
    // front end that is ending the program.
    std::stop_token stop;

private:
    bool check_plain_connection(const CCheckItem& item, CCheckParam* param, int attempt, int attempts);
    bool check_relay(const CCheckItem& item, CCheckParam* param, int attempt, int attempts);
    // Returns false when the checks must stop (an HTTP failure ends the check at once).
    bool check_http(const CCheckItem& item, CCheckParam* param, int attempt, int attempts);
};
