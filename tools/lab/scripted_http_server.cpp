#include "tools/lab/scripted_http_server.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <sstream>

#include "tools/lab/port_placeholders.h"

namespace {

constexpr size_t kMaxHeadSize = 64 * 1024;
constexpr size_t kMaxBodySize = 1024 * 1024;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

const char* reason_of(int status) {
    switch (status) {
        case 100:
            return "Continue";
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 429:
            return "Too Many Requests";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

// Sends the text in the step's pieces with the step's pauses between them; `first` is true until
// a piece of the answer has gone. False when the client left or the lab is stopping.
bool send_pieces(LabConnection& connection, const std::string& text, const HttpStep& step, bool& first) {
    const size_t piece =
        step.chunk_size > 0 ? static_cast<size_t>(step.chunk_size) : std::max<size_t>(text.size(), 1);
    for (size_t at = 0; at < text.size(); at += piece) {
        if (!first && step.chunk_delay_ms > 0 && !connection.pause(step.chunk_delay_ms)) return false;
        first = false;
        if (!connection.write_all(text.data() + at, std::min(piece, text.size() - at))) return false;
    }
    return true;
}

struct RequestHead {
    std::string rest;  // what arrived after the head
    long body_length = 0;
    bool expects_continue = false;
};

bool read_http_head(LabConnection& connection, HttpRequestSeen& request, RequestHead& head) {
    std::string data;
    size_t head_end = std::string::npos;
    char chunk[4096];
    while ((head_end = data.find("\r\n\r\n")) == std::string::npos) {
        if (data.size() > kMaxHeadSize) return false;
        const long received = connection.read_some(chunk, sizeof chunk);
        if (received <= 0) return false;
        data.append(chunk, static_cast<size_t>(received));
    }
    std::istringstream lines(data.substr(0, head_end));
    std::string line;
    std::getline(lines, line);
    std::istringstream request_line(line);
    request_line >> request.method >> request.path >> request.version;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = line.substr(0, colon);
        const std::string value = trimmed(line.substr(colon + 1));
        if (lower(name) == "content-length") head.body_length = std::strtol(value.c_str(), nullptr, 10);
        if (lower(name) == "expect" && lower(value) == "100-continue") head.expects_continue = true;
        request.headers.emplace_back(name, value);
    }
    head.rest = data.substr(head_end + 4);
    return true;
}

enum class BodyEnd { complete, lost, reset, stall };

struct DigestFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// Reads the announced body, keeping its first kMaxBodySize bytes and taking the MD5 of all of it,
// until it is complete or the step's reset or stall point comes; `digest` gets the raw MD5.
BodyEnd read_body(LabConnection& connection, HttpRequestSeen& request, RequestHead& head,
                  const HttpStep& step, std::string& digest) {
    std::unique_ptr<EVP_MD_CTX, DigestFree> md5(EVP_MD_CTX_new());
    EVP_DigestInit_ex(md5.get(), EVP_md5(), nullptr);
    const long cut = std::min(step.reset_after_body_bytes < 0 ? LONG_MAX : step.reset_after_body_bytes,
                              step.stall_after_body_bytes < 0 ? LONG_MAX : step.stall_after_body_bytes);
    std::string piece = std::move(head.rest);
    char chunk[64 * 1024];
    BodyEnd end = BodyEnd::complete;
    for (;;) {
        piece.resize(static_cast<size_t>(
            std::min<long>(static_cast<long>(piece.size()), head.body_length - request.body_length)));
        EVP_DigestUpdate(md5.get(), piece.data(), piece.size());
        request.body.append(
            piece, 0, std::min(piece.size(), kMaxBodySize - std::min(kMaxBodySize, request.body.size())));
        request.body_length += static_cast<long>(piece.size());
        if (request.body_length >= cut) {
            end = cut == step.reset_after_body_bytes ? BodyEnd::reset : BodyEnd::stall;
            break;
        }
        if (request.body_length >= head.body_length) break;
        const long wanted =
            std::min<long>(sizeof chunk, std::min(head.body_length, cut) - request.body_length);
        const long received = connection.read_some(chunk, static_cast<size_t>(wanted));
        if (received <= 0) {
            end = BodyEnd::lost;
            break;
        }
        piece.assign(chunk, static_cast<size_t>(received));
    }
    unsigned char raw[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(md5.get(), raw, &size);
    digest.assign(reinterpret_cast<const char*>(raw), size);
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const unsigned char byte : digest) {
        request.body_md5 += kDigits[byte >> 4];
        request.body_md5 += kDigits[byte & 0x0F];
    }
    return end;
}

std::string base64(const std::string& bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    text.resize(static_cast<size_t>(std::max(length, 0)));
    return text;
}

std::string replaced(std::string text, const std::string& what, const std::string& by) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
    return text;
}

}  // namespace

ScriptedHttpServer::ScriptedHttpServer(HttpPlan plan_, LabRecord& record_,
                                       const std::map<std::string, int>& ports_)
    : plan(std::move(plan_)), record(record_), ports(ports_) {}

bool ScriptedHttpServer::open(std::string& error) {
    if (listener.open(plan.port, 16, error)) return true;
    error = "http " + plan.name + ": " + error;
    return false;
}

void ScriptedHttpServer::start() {
    listener.start([this](LabConnection& connection) { serve(connection); });
}

const HttpStep& ScriptedHttpServer::step_for(int request_number) const {
    int first = 1;
    for (const HttpStep& step : plan.steps) {
        if (request_number < first + step.repeat) return step;
        first += step.repeat;
    }
    return plan.steps.back();
}

std::string ScriptedHttpServer::head_for(const HttpStep& step, const std::string& body,
                                         const std::string& md5_hex, const std::string& md5_base64) const {
    std::string head = "HTTP/1.1 " + std::to_string(step.status) + " " + reason_of(step.status) + "\r\n";
    for (const auto& [name, value] : step.headers) {
        head +=
            name + ": " + replaced(replaced(value, "{md5}", md5_hex), "{md5_base64}", md5_base64) + "\r\n";
    }
    head += "Content-Type: " + step.content_type + "\r\n";
    if (step.content_length == "exact") {
        head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    } else if (step.content_length != "none") {
        head += "Content-Length: " + step.content_length + "\r\n";
    }
    if (!step.location.empty()) head += "Location: " + with_ports(step.location, ports) + "\r\n";
    return head + "Connection: close\r\n\r\n";
}

void ScriptedHttpServer::serve(LabConnection& connection) {
    HttpRequestSeen request;
    request.server = plan.name;
    RequestHead request_head;
    if (!read_http_head(connection, request, request_head)) return;
    const HttpStep& step = step_for(++requests);
    if (request_head.expects_continue) {
        const std::string go_on = "HTTP/1.1 100 Continue\r\n\r\n";
        if (!connection.write_all(go_on.data(), go_on.size())) return;
    }
    std::string request_md5;
    const BodyEnd body_end = read_body(connection, request, request_head, step, request_md5);
    record.add(request);
    if (body_end == BodyEnd::reset) connection.reset();
    if (body_end == BodyEnd::stall) connection.pause(INT_MAX);
    if (body_end != BodyEnd::complete) return;
    if (step.delay_ms > 0 && !connection.pause(step.delay_ms)) return;

    const std::string body = (step.byte_order_mark ? "\xEF\xBB\xBF" : "") + step.body;
    if (!step.raw) {
        const std::string head = head_for(step, body, request.body_md5, base64(request_md5));
        if (!connection.write_all(head.data(), head.size())) return;
        if (step.stall_after_head) {
            connection.wait_until_closed();
            return;
        }
    }
    const std::string& payload = step.raw ? *step.raw : body;
    bool first = true;
    do {
        if (!send_pieces(connection, payload, step, first)) return;
    } while (step.endless);
}
