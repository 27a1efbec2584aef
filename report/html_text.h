#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text from outside (titles, host names, file names, command output) made safe for an HTML page's
// element content and its double- or single-quoted attribute values: & < > " ' become character
// references; bytes that are not well-formed UTF-8 and control characters other than tab and line
// ends become U+FFFD, so the page stays valid UTF-8 whatever the text held.
std::string html_escape(std::string_view text);

// "#rrggbb" of an ARGB colour; empty for a colour whose alpha is 0 (the default colour).
std::string css_color(uint32_t argb);
