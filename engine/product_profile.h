#pragma once

#include <cstdint>
#include <string>

// Which member of the product family a check list describes, chosen from its title.
struct ProductFamily {
    std::string name;      // "Quenmora 3.0 SE", "Quenmora", …, "other"
    int style = 11;        // colour style of the themed frame
    uint32_t accent = 0;   // product colour (ARGB): caption background of the style
    int icon_id = 166;     // icon resource; the application icon when no family matches
};

// The first family whose test text occurs in the lower-cased title decides.
ProductFamily choose_product_family(const std::string& title);

// What the check list says about the product, and where its web server is.
struct ProductProfile {
    std::string product_title;
    std::string product_path_agent;
    std::string product_path_agent_web;
    std::string product_path_viewer;
    std::string agent_log_path;
    std::string viewer_log_path;
    std::string web_host;
    int web_port = 80;
    ProductFamily family;
};
