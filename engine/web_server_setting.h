#pragma once

#include <string>

// The product's web server that serves checklist.json: the build-time setting, unless the
// environment variables CHECKTOOL_WEB_HOST / CHECKTOOL_WEB_PORT say otherwise (staging, the demo).
std::string default_web_host();
int default_web_port();
