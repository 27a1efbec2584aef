#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What one run of the lab starts, read from the scenario file (format in README.md).

struct WebPlan {
    std::optional<int> http_port;
    std::optional<int> https_port;
    std::string checklist;
    int http_status = 200;
    int https_status = 200;
    // "self_signed", or "inspection_ca": issued by a separate authority whose certificate goes to
    // authority_file when one is named.
    std::string certificate = "self_signed";
    std::string authority_file;
};

enum class RelayBehaviour {
    normal,
    silent,
    never_accept,
    close_after_public_key,
    not_hex_key_block,
    partial_key_block,
    undecryptable_key_block,
    short_session_text,
    silent_after_key,
    // Hostile relays: they try to hold the client, or to drown it.
    trickle_key_block,
    garbage,
    reset_mid_handshake,
};

// A relay's port "low": any free port from 1024 to 8000, where the tool speaks the relay protocol
// (above 8000 it only tests the connection).
inline constexpr int kLowRelayPort = -1;

struct RelayPlan {
    std::string name;
    int port = 0;  // 0: ephemeral; kLowRelayPort: a free port from 1024 to 8000
    RelayBehaviour behaviour = RelayBehaviour::normal;
    bool lower_case = false;
    int reply = 301;
    std::map<int, int> replies_by_try;
    std::string session_text;
    int trickle_ms = 4900;                // trickle_key_block: the pause before every byte
    int garbage_bytes = 4 * 1024 * 1024;  // garbage: how much to send
};

struct HttpStep {
    int status = 200;
    std::string body;
    bool byte_order_mark = false;
    // "exact" (the body's length), "none" (no header, the end is the connection's close), or a
    // number to announce whatever the body really holds.
    std::string content_length = "exact";
    std::string location;
    std::string content_type = "application/json";
    int delay_ms = 0;
    int chunk_size = 0;
    int chunk_delay_ms = 0;
    std::optional<std::string> raw;
    // The body (or the raw text) again and again until the client leaves.
    bool endless = false;
    // The head, then nothing until the client leaves.
    bool stall_after_head = false;
    // Further answer header lines; in a value "{md5}" and "{md5_base64}" stand for the MD5 of the
    // request body received (hexadecimal, Base64).
    std::vector<std::pair<std::string, std::string>> headers;
    // Once this many request body bytes have arrived: reset the connection, or read no more until
    // the lab stops (the client's sending stalls). -1: never.
    int reset_after_body_bytes = -1;
    int stall_after_body_bytes = -1;
    int repeat = 1;
};

struct HttpPlan {
    std::string name;
    int port = 0;
    std::vector<HttpStep> steps;
};

struct Scenario {
    std::string record_path;
    std::optional<WebPlan> web;
    std::vector<RelayPlan> relays;
    std::vector<HttpPlan> http;
};

bool load_scenario(const std::string& path, Scenario& scenario, std::string& error);
