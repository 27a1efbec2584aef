#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "tests/integration/nginx_server.h"
#include "tests/integration/shell_quoted.h"

namespace {

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// A port nobody listens on now; nginx binds it a moment later.
int free_port() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const bool bound = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    close(probe);
    return bound ? ntohs(address.sin_port) : 0;
}

// Run by root, nginx's workers would become "nobody" and could not write into this folder.
std::string user_line() {
    if (geteuid() != 0) return {};
    const passwd* user = getpwuid(geteuid());
    const group* user_group = getgrgid(getegid());
    return user && user_group ? std::string("user ") + user->pw_name + " " + user_group->gr_name + ";\n"
                              : std::string();
}

}  // namespace

NginxServer::NginxServer() {
    std::random_device random;
    folder = (std::filesystem::temp_directory_path() /
              ("nginx_" + std::to_string(random()) + std::to_string(random())))
                 .string();
    for (const char* sub : {"www", "temp", "logs"}) std::filesystem::create_directories(folder + "/" + sub);
}

NginxServer::~NginxServer() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool NginxServer::make_certificates() {
    const std::string f = shell_quoted(folder);
    const std::string key = "-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes ";
    std::ofstream(folder + "/server.ext") << "subjectAltName=IP:127.0.0.1\n";
    if (run("openssl req -x509 " + key + "-keyout " + f + "/ca.key -out " + f +
            "/ca.pem -days 2 -subj '/CN=Upload Test CA'") &&
        run("openssl req " + key + "-keyout " + f + "/server.key -out " + f +
            "/server.csr -subj /CN=127.0.0.1") &&
        run("openssl x509 -req -in " + f + "/server.csr -CA " + f + "/ca.pem -CAkey " + f +
            "/ca.key -CAcreateserial -out " + f + "/server.pem -days 2 -extfile " + f + "/server.ext"))
        return true;
    failure = "openssl could not make the test certificates (is the openssl program installed?)";
    return false;
}

bool NginxServer::run_nginx() {
    bound_port = free_port();
    std::ofstream(folder + "/nginx.conf")
        << "daemon off;\n"
        << user_line() << "worker_processes 1;\npid " << folder << "/nginx.pid;\n"
        << "error_log stderr notice;\nevents { worker_connections 64; }\nhttp {\n  access_log off;\n"
        << "  client_body_temp_path " << folder << "/temp;\n  proxy_temp_path " << folder << "/temp;\n"
        << "  fastcgi_temp_path " << folder << "/temp;\n  uwsgi_temp_path " << folder << "/temp;\n"
        << "  scgi_temp_path " << folder << "/temp;\n  server {\n    listen 127.0.0.1:" << bound_port
        << " ssl;\n"
        << "    ssl_certificate " << folder << "/server.pem;\n    ssl_certificate_key " << folder
        << "/server.key;\n"
        << "    root " << folder << "/www;\n    client_max_body_size 0;\n    dav_methods PUT;\n"
        << "    create_full_put_path on;\n  }\n}\n";
    output = popen(("nginx -p " + shell_quoted(folder) + " -c " + shell_quoted(folder + "/nginx.conf") +
                    " -e stderr 2>&1")
                       .c_str(),
                   "r");
    if (!output) {
        failure = "cannot run nginx";
        return false;
    }
    // It says so once it listens and its worker runs; it ends (and so does its output) when it cannot.
    std::string said;
    char line[1024];
    while (std::fgets(line, sizeof line, output)) {
        said += line;
        if (said.find("start worker process") != std::string::npos) return true;
    }
    pclose(output);
    output = nullptr;
    failure = "nginx did not start: " + said;
    return false;
}

bool NginxServer::start() {
    if (!make_certificates()) return false;
    // The port found free may be taken before nginx binds it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (run_nginx()) return true;
    }
    return false;
}

void NginxServer::stop() {
    if (!output) return;
    run("nginx -p " + shell_quoted(folder) + " -c " + shell_quoted(folder + "/nginx.conf") +
        " -e stderr -s stop");
    pclose(output);
    output = nullptr;
}
