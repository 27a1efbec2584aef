#pragma once

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "tools/lab/lab_record.h"
#include "tools/lab/scenario.h"

// The product's web server: "download/checklist.json" over HTTP and over HTTPS with a self-signed
// certificate; every other path is 404.
class WebServer {
public:
    WebServer(WebPlan plan, LabRecord& record);
    ~WebServer();
    bool open(std::string& error);
    int http_port() const { return bound_http; }
    int https_port() const { return bound_https; }
    void start();
    void stop();

private:
    void serve(httplib::Server& server, const char* name, int status);
    bool bind(httplib::Server& server, int port, int& bound, std::string& error);
    struct Loop {
        std::thread thread;
        std::atomic<bool> ended{false};
    };
    static void start_loop(httplib::Server& server, Loop& loop);
    static void stop_loop(httplib::Server& server, Loop& loop);

    WebPlan plan;
    LabRecord& record;
    std::unique_ptr<httplib::Server> http;
    std::unique_ptr<httplib::SSLServer> https;
    int bound_http = 0;
    int bound_https = 0;
    Loop http_loop;
    Loop https_loop;
};
