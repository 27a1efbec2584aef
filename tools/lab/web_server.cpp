#include "tools/lab/web_server.h"

#include <chrono>
#include <fstream>

#include "tools/lab/self_signed.h"

namespace {

constexpr char kChecklistPath[] = "/download/checklist.json";
constexpr char kLoopback[] = "127.0.0.1";

}  // namespace

WebServer::WebServer(WebPlan plan_, LabRecord& record_) : plan(std::move(plan_)), record(record_) {}

WebServer::~WebServer() {
    stop();
}

bool WebServer::bind(httplib::Server& server, int port, int& bound, std::string& error) {
    bound =
        port == 0 ? server.bind_to_any_port(kLoopback) : (server.bind_to_port(kLoopback, port) ? port : -1);
    if (bound > 0) return true;
    error = "web: cannot listen on port " + std::to_string(port);
    return false;
}

void WebServer::serve(httplib::Server& server, const char* name, int status) {
    // One request per connection, so that stopping never waits for an idle keep-alive.
    server.set_keep_alive_max_count(1);
    server.set_logger([this, name](const httplib::Request& request, const httplib::Response&) {
        HttpRequestSeen seen;
        seen.server = name;
        seen.method = request.method;
        seen.path = request.path;
        seen.version = request.version;
        for (const auto& [header, value] : request.headers) {
            // httplib adds these itself; they are not what the client sent.
            if (header == "REMOTE_ADDR" || header == "REMOTE_PORT" || header == "LOCAL_ADDR" ||
                header == "LOCAL_PORT")
                continue;
            seen.headers.emplace_back(header, value);
        }
        seen.body = request.body;
        record.add(std::move(seen));
    });
    server.Get(kChecklistPath, [this, status](const httplib::Request&, httplib::Response& response) {
        response.status = status;
        response.set_content(plan.checklist, "application/json");
    });
}

bool WebServer::open(std::string& error) {
    if (plan.http_port) {
        http = std::make_unique<httplib::Server>();
        serve(*http, "web_http", plan.http_status);
        if (!bind(*http, *plan.http_port, bound_http, error)) return false;
    }
    if (plan.https_port) {
        SelfSigned certificate;
        std::string authority_pem;
        const bool inspected = plan.certificate == "inspection_ca";
        if (inspected ? !make_inspection_issued(certificate, authority_pem)
                      : !make_self_signed(certificate)) {
            error = "web: cannot make the certificate";
            return false;
        }
        if (inspected && !plan.authority_file.empty()) {
            std::ofstream file(plan.authority_file, std::ios::binary | std::ios::trunc);
            if (!(file << authority_pem)) {
                error = "web: cannot write " + plan.authority_file;
                return false;
            }
        }
        // The server takes its own references to the certificate and the key.
        https = std::make_unique<httplib::SSLServer>(certificate.certificate.get(), certificate.key.get());
        if (!https->is_valid()) {
            error = "web: the HTTPS server cannot use the certificate";
            return false;
        }
        serve(*https, "web_https", plan.https_status);
        if (!bind(*https, *plan.https_port, bound_https, error)) return false;
    }
    return true;
}

void WebServer::start_loop(httplib::Server& server, Loop& loop) {
    loop.thread = std::thread([&server, &loop] {
        server.listen_after_bind();
        loop.ended = true;
    });
}

void WebServer::stop_loop(httplib::Server& server, Loop& loop) {
    if (!loop.thread.joinable()) return;
    // The server ignores a stop that comes before its loop runs, so ask until the loop has ended.
    while (!loop.ended) {
        server.stop();
        if (!loop.ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    loop.thread.join();
}

void WebServer::start() {
    if (http) start_loop(*http, http_loop);
    if (https) start_loop(*https, https_loop);
}

void WebServer::stop() {
    if (http) stop_loop(*http, http_loop);
    if (https) stop_loop(*https, https_loop);
}
