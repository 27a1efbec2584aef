#include "tools/lab/scripted_http_server.h"

#include <algorithm>
#include <cctype>
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
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 404:
            return "Not Found";
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

}  // namespace

bool read_http_request(LabConnection& connection, HttpRequestSeen& request) {
    std::string data;
    size_t head_end = std::string::npos;
    char chunk[4096];
    while ((head_end = data.find("\r\n\r\n")) == std::string::npos) {
        if (data.size() > kMaxHeadSize) return false;
        const long received = connection.read_some(chunk, sizeof chunk);
        if (received <= 0) return false;
        data.append(chunk, static_cast<size_t>(received));
    }
    std::istringstream head(data.substr(0, head_end));
    std::string line;
    std::getline(head, line);
    std::istringstream request_line(line);
    request_line >> request.method >> request.path >> request.version;
    size_t body_length = 0;
    while (std::getline(head, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = line.substr(0, colon);
        const std::string value = trimmed(line.substr(colon + 1));
        if (lower(name) == "content-length")
            body_length = std::min<size_t>(std::strtoul(value.c_str(), nullptr, 10), kMaxBodySize);
        request.headers.emplace_back(name, value);
    }
    request.body = data.substr(head_end + 4);
    while (request.body.size() < body_length) {
        const long received =
            connection.read_some(chunk, std::min(sizeof chunk, body_length - request.body.size()));
        if (received <= 0) break;
        request.body.append(chunk, static_cast<size_t>(received));
    }
    return true;
}

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

std::string ScriptedHttpServer::head_for(const HttpStep& step, const std::string& body) const {
    std::string head = "HTTP/1.1 " + std::to_string(step.status) + " " + reason_of(step.status) + "\r\n";
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
    if (!read_http_request(connection, request)) return;
    record.add(request);
    const HttpStep& step = step_for(++requests);
    if (step.delay_ms > 0 && !connection.pause(step.delay_ms)) return;

    const std::string body = (step.byte_order_mark ? "\xEF\xBB\xBF" : "") + step.body;
    if (!step.raw) {
        const std::string head = head_for(step, body);
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
