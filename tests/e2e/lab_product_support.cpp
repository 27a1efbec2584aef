#include "tests/e2e/lab_product_support.h"

#include <fstream>
#include <sstream>

#include "log/CSCLog.h"

std::string lab_check_list(const std::string& servers) {
    std::string text = R"({"product title": "Quenmora Lab", "product path agent": "/opt/lab/agent",
        "product path viewer": "/opt/lab/viewer", "agent log path": "/opt/lab/agent/Log")";
    if (!servers.empty()) text += ", " + servers;
    return text + "}";
}

std::string lab_scenario(const std::string& check_list, const std::string& other_members) {
    std::string text = R"({"web": {"https_port": 0, "checklist": )" + check_list + "}";
    if (!other_members.empty()) text += ", " + other_members;
    return text + "}";
}

bool load_from_lab(CCheckHost& host, const ProductLab& lab, std::string& failure) {
    host.set_default_product();
    host.profile.web_host = "127.0.0.1";
    host.profile.web_port = lab.port("web_https");
    return host.load_check_list(failure);
}

std::string log_since(size_t& offset) {
    // Every test process appends to the same daily file: a record of our own makes its path known.
    g_log->write(CSCLog::plain, "", 0, "test step");
    std::ifstream in(g_log->path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::string fresh = offset < all.size() ? all.substr(offset) : std::string();
    offset = all.size();
    return fresh;
}

std::string forward_slashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

int count_of(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::vector<std::string> cli_with_stderr(const ProductLab& lab, const std::vector<std::string>& flags) {
    const std::string cli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";
#ifdef _WIN32
    std::vector<std::string> args = {cli};
#else
    std::vector<std::string> args = {"/bin/sh", "-c", "exec \"$@\" 2>\"$CHECKTOOL_STDERR\"", "sh", cli};
#endif
    for (const std::string& arg : {std::string("--web-host"), std::string("127.0.0.1"),
                                   std::string("--web-port"), std::to_string(lab.port("web_https"))})
        args.push_back(arg);
    args.insert(args.end(), flags.begin(), flags.end());
    return args;
}
