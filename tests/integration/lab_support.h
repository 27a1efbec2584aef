#pragma once

#include <rapidjson/document.h>

#include <memory>
#include <string>

#include "net/Socket.h"

// Runs the product lab (tools/lab, `product-lab`) for a test.
//
//   ProductLab lab;
//   ASSERT_TRUE(lab.start(R"({"relays": [{"name": "session"}]})")) << lab.error();
//   ... talk to 127.0.0.1 : lab.port("session") ...
//   ASSERT_TRUE(lab.stop());
//   const rapidjson::Value& seen = lab.record()["relay"];
//
// start() writes the scenario (a JSON text, format in tools/lab/README.md) to a fresh temporary
// folder, points its "record" there, starts the lab and reads the line of bound ports. stop() ends
// the lab, waits for it and reads the record of what its servers saw. The destructor stops a lab
// that is still running. No call waits longer than the lab needs to start or stop.
//
// The lab is a Linux program. A Windows test (under Wine) starts it as a Unix process, and the files
// both read are named to the lab by their Unix paths (lab_path()).
class LabProcess;

class ProductLab {
public:
    ProductLab();
    ~ProductLab();
    ProductLab(const ProductLab&) = delete;
    ProductLab& operator=(const ProductLab&) = delete;

    bool start(const std::string& scenario_json);
    // The port bound for a server name ("web_http", "web_https", or a relay's or HTTP server's
    // name); 0 when there is none.
    int port(const std::string& name) const;
    bool stop();

    // After stop(): {"ports": {...}, "http": [requests], "relay": [connections]}.
    const rapidjson::Document& record() const { return seen; }
    const std::string& error() const { return failure; }
    // A folder of this lab's own, removed with it; for files a test needs beside the lab.
    const std::string& folder() const { return work_folder; }

    // The lab executable (of the Linux build; a Unix path).
    static std::string executable();
    // A path of this program's as the lab names it: the same on POSIX, the Unix path under Wine.
    static std::string lab_path(const std::string& path);

private:
    bool fail(const std::string& message);

    std::string work_folder;
    std::unique_ptr<LabProcess> process;
    Socket control;
    rapidjson::Document ports;
    rapidjson::Document seen;
    std::string failure;
};
