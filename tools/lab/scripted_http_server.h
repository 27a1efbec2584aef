#pragma once

#include <atomic>
#include <map>
#include <string>

#include "tools/lab/lab_record.h"
#include "tools/lab/scenario.h"
#include "tools/lab/tcp_listener.h"

// An HTTP server that answers request after request from its plan's steps (the last step repeats),
// byte for byte as scripted: lying lengths, missing lengths, slow or trickling answers included.
// "{name}" in a Location is replaced by the port bound for the server of that name.
class ScriptedHttpServer {
public:
    ScriptedHttpServer(HttpPlan plan, LabRecord& record, const std::map<std::string, int>& ports);
    bool open(std::string& error);
    int port() const { return listener.port(); }
    void start();
    void stop() { listener.stop(); }

private:
    void serve(LabConnection& connection);
    const HttpStep& step_for(int request_number) const;
    // The answer's head; md5_hex and md5_base64 fill the step's placeholders.
    std::string head_for(const HttpStep& step, const std::string& body, const std::string& md5_hex,
                         const std::string& md5_base64) const;

    HttpPlan plan;
    LabRecord& record;
    const std::map<std::string, int>& ports;
    TcpListener listener;
    std::atomic<int> requests{0};
};
