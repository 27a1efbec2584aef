#include "bench/diagnosis/demo_product.h"

#include <fstream>
#include <sstream>

namespace {

std::string demo_scenario(const std::string& product_root) {
    std::ifstream in(CHECKTOOL_DEMO_SCENARIO);
    std::stringstream text;
    text << in.rdbuf();
    std::string scenario = text.str();
    const std::string placeholder = "@PRODUCT_ROOT@";
    for (size_t at; (at = scenario.find(placeholder)) != std::string::npos;)
        scenario.replace(at, placeholder.size(), product_root);
    return scenario;
}

}  // namespace

bool start_demo_product(ProductLab& lab, CCheckHost& host, const std::string& product_root,
                        std::string& failure) {
    if (!lab.start(demo_scenario(product_root))) {
        failure = "cannot start the lab: " + lab.error();
        return false;
    }
    host.set_default_product();
    host.profile.web_host = "127.0.0.1";
    host.profile.web_port = lab.port("web_https");
    return host.load_check_list(failure);
}
