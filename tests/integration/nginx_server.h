#pragma once

#include <cstdio>
#include <string>

// nginx (Debian's package) on 127.0.0.1 over TLS, storing what is PUT to it, for tests and benchmarks of
// the upload. start() makes a test authority and a certificate for 127.0.0.1 signed by it with the
// openssl program, then runs nginx in the foreground with its own prefix, configuration and temporary
// folders in a fresh folder, on a free port; the destructor stops it and removes the folder. POSIX only.
class NginxServer {
public:
    NginxServer();
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    bool start();
    int port() const { return bound_port; }
    // The test authority's certificate (PEM): what a client must trust to talk to this server.
    std::string authority_file() const { return folder + "/ca.pem"; }
    // A folder of this server's own beside what it stores, removed with it.
    const std::string& work_folder() const { return folder; }
    // Where a PUT to `path` ("/dir/name") is stored.
    std::string stored_file(const std::string& path) const { return folder + "/www" + path; }
    const std::string& error() const { return failure; }

private:
    bool make_certificates();
    bool run_nginx();
    void stop();

    std::string folder;
    int bound_port = 0;
    std::FILE* output = nullptr;  // nginx's standard error, read until it is ready
    std::string failure;
};
