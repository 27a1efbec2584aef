#pragma once

#include <map>
#include <string>

// Replaces every "{name}" in the text by the port bound for the server of that name, so that a
// scenario can point at servers whose ports are only known once they are bound.
std::string with_ports(std::string text, const std::map<std::string, int>& ports);
