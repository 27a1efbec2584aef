// product-lab: the product's servers, simulated on 127.0.0.1 for tests and the demo.
//
//   product-lab [--control] SCENARIO.json
//
// Prints the bound ports as one JSON line on standard output, then runs until SIGTERM or SIGINT,
// or until standard input closes. With --control it also listens on a "control" port and stops
// when the first connection to it closes (standard input is then ignored), for callers that cannot
// keep a pipe to its input. On stopping it writes the record the scenario asks for.
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "tools/lab/lab_record.h"
#include "tools/lab/port_placeholders.h"
#include "tools/lab/relay_server.h"
#include "tools/lab/scenario.h"
#include "tools/lab/scripted_http_server.h"
#include "tools/lab/stop_request.h"
#include "tools/lab/tcp_listener.h"
#include "tools/lab/web_server.h"

namespace {

std::string ports_line(const std::map<std::string, int>& ports) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    for (const auto& [name, port] : ports) {
        writer.Key(name.c_str());
        writer.Int(port);
    }
    writer.EndObject();
    return buffer.GetString();
}

int fail(const std::string& message) {
    std::fprintf(stderr, "product-lab: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool with_control = false;
    const char* scenario_path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--control") == 0) {
            with_control = true;
        } else {
            scenario_path = argv[i];
        }
    }
    if (!scenario_path) {
        std::fprintf(stderr, "usage: product-lab [--control] SCENARIO.json\n");
        return 2;
    }
    prepare_stop_signals();

    Scenario scenario;
    std::string error;
    if (!load_scenario(scenario_path, scenario, error)) return fail(error);

    LabRecord record;
    std::map<std::string, int> ports;
    std::optional<WebServer> web;
    std::vector<std::unique_ptr<RelayServer>> relays;
    std::vector<std::unique_ptr<ScriptedHttpServer>> http_servers;
    TcpListener control;

    for (const RelayPlan& plan : scenario.relays) {
        auto& relay = relays.emplace_back(std::make_unique<RelayServer>(plan, record));
        if (!relay->open(error)) return fail(error);
        ports[plan.name] = relay->port();
    }
    for (const HttpPlan& plan : scenario.http) {
        auto& server = http_servers.emplace_back(std::make_unique<ScriptedHttpServer>(plan, record, ports));
        if (!server->open(error)) return fail(error);
        ports[plan.name] = server->port();
    }
    // The web server comes last: its check list may name the ports bound above.
    if (scenario.web) {
        scenario.web->checklist = with_ports(scenario.web->checklist, ports);
        web.emplace(*scenario.web, record);
        if (!web->open(error)) return fail(error);
        if (scenario.web->http_port) ports["web_http"] = web->http_port();
        if (scenario.web->https_port) ports["web_https"] = web->https_port();
    }
    if (with_control) {
        if (!control.open(0, 1, error)) return fail("control: " + error);
        ports["control"] = control.port();
    }

    if (web) web->start();
    for (auto& relay : relays) relay->start();
    for (auto& server : http_servers) server->start();
    std::printf("%s\n", ports_line(ports).c_str());
    std::fflush(stdout);

    if (with_control) {
        control.start([](LabConnection& connection) {
            connection.wait_until_closed();
            request_stop();
        });
    } else {
        watch_standard_input();
    }
    wait_for_stop();

    control.stop();
    if (web) web->stop();
    for (auto& relay : relays) relay->stop();
    for (auto& server : http_servers) server->stop();
    if (!scenario.record_path.empty() && !record.write(scenario.record_path, ports)) {
        return fail("cannot write the record to " + scenario.record_path);
    }
    return 0;
}
